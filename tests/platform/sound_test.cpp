// Sound: reading wave files, playing them for as long as they last, stopping them from
// another thread, the wave-out volume, the play log, and the mp3 media player.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/sound.h"
#include "platform/sound/playback.h"
#include "platform/sound/wave_file.h"
#include "tests/platform/support/test_device.h"

namespace fs = std::filesystem;
using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void putId(std::vector<std::uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}

struct WaveSpec {
    int rate = 8000;
    int channels = 1;
    int bits = 16;
    int frames = 800;     // 100 ms at 8 kHz
    int blockAlign = -1;  // -1: the right one
    std::uint16_t tag = 1;
    int oddChunkBefore = 0;  // length of an odd-sized chunk before the format
};

// A wave file of silence with a rising ramp, as a recorder writes one.
std::vector<std::uint8_t> makeWave(const WaveSpec& s) {
    std::vector<std::uint8_t> b;
    b.reserve(64 + static_cast<std::size_t>(s.frames * 4 + s.oddChunkBefore));
    putId(b, "RIFF");
    put32(b, 0);  // filled in below
    putId(b, "WAVE");
    if (s.oddChunkBefore) {
        putId(b, "LIST");
        put32(b, static_cast<std::uint32_t>(s.oddChunkBefore));
        b.insert(b.end(), static_cast<std::size_t>(s.oddChunkBefore), 'x');
        if (s.oddChunkBefore % 2)
            b.push_back(0);
    }
    int frameBytes = s.channels * s.bits / 8;
    putId(b, "fmt ");
    put32(b, 16);
    put16(b, s.tag);
    put16(b, static_cast<std::uint32_t>(s.channels));
    put32(b, static_cast<std::uint32_t>(s.rate));
    put32(b, static_cast<std::uint32_t>(s.rate * frameBytes));
    put16(b, static_cast<std::uint32_t>(s.blockAlign >= 0 ? s.blockAlign : frameBytes));
    put16(b, static_cast<std::uint32_t>(s.bits));
    putId(b, "data");
    put32(b, static_cast<std::uint32_t>(s.frames * frameBytes));
    for (int i = 0; i < s.frames * frameBytes; ++i) b.push_back(static_cast<std::uint8_t>(i));
    std::uint32_t riff = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
    return b;
}

TEST(WaveFileTest, PcmFilesOfEveryKindAreRead) {
    for (int channels : {1, 2}) {
        for (int bits : {8, 16}) {
            auto bytes = makeWave({22050, channels, bits, 2205});
            auto wave = sound::parseWave(bytes);
            ASSERT_TRUE(wave) << channels << " " << bits;
            EXPECT_EQ(wave->format.sampleRate, 22050);
            EXPECT_EQ(wave->format.channels, channels);
            EXPECT_EQ(wave->format.bitsPerSample, bits);
            EXPECT_EQ(wave->frames(), 2205u);
            EXPECT_EQ(wave->durationMs(), 100);
            EXPECT_EQ(sound::toSigned16(*wave).size(), static_cast<std::size_t>(2205 * channels));
        }
    }
    // 8-bit samples are unsigned around 128; 16-bit ones signed little-endian.
    std::vector<std::uint8_t> eight = makeWave({8000, 1, 8, 4});
    auto wave = sound::parseWave(eight);
    ASSERT_TRUE(wave);
    EXPECT_EQ(sound::toSigned16(*wave),
              (std::vector<std::int16_t>{-32768, -32512, -32256, -32000}));
    // A chunk of odd length is padded to an even one before the next.
    EXPECT_TRUE(sound::parseWave(makeWave({8000, 1, 16, 10, -1, 1, 5})));
}

TEST(WaveFileTest, DamagedOrUnplayableFilesAreRefused) {
    auto refused = [](const WaveSpec& spec) { return !sound::parseWave(makeWave(spec)); };
    EXPECT_TRUE(refused({8000, 3, 16}));             // three channels
    EXPECT_TRUE(refused({8000, 0, 16}));             // none
    EXPECT_TRUE(refused({8000, 1, 24}));             // 24-bit samples
    EXPECT_TRUE(refused({8000, 1, 16, 10, 4}));      // block size disagrees with the format
    EXPECT_TRUE(refused({8000, 1, 16, 10, -1, 2}));  // compressed (ADPCM)
    EXPECT_TRUE(refused({999, 1, 16}));
    EXPECT_TRUE(refused({192001, 1, 16}));

    auto good = makeWave({});
    ASSERT_TRUE(sound::parseWave(good));
    // The data chunk claims more bytes than there are.
    auto cut = good;
    cut.resize(cut.size() - 10);
    EXPECT_FALSE(sound::parseWave(cut));
    // The RIFF size claims more than the file holds, or too little to hold anything.
    auto riff = good;
    riff[4] = 0xFF, riff[5] = 0xFF, riff[6] = 0xFF, riff[7] = 0x7F;
    EXPECT_FALSE(sound::parseWave(riff));
    riff[4] = 2, riff[5] = 0, riff[6] = 0, riff[7] = 0;
    EXPECT_FALSE(sound::parseWave(riff));
    // Not a wave file; samples before their format; a data chunk size near 4 GiB.
    auto other = good;
    other[8] = 'A';
    EXPECT_FALSE(sound::parseWave(other));
    auto noFormat = good;
    noFormat[12] = 'x';  // "fmt " becomes an unknown chunk
    EXPECT_FALSE(sound::parseWave(noFormat));
    auto huge = good;
    std::size_t dataSize = 12 + 8 + 16 + 4;
    huge[dataSize] = 0xF0, huge[dataSize + 1] = 0xFF, huge[dataSize + 2] = 0xFF;
    huge[dataSize + 3] = 0xFF;
    EXPECT_FALSE(sound::parseWave(huge));
    EXPECT_FALSE(sound::parseWave({}));
    EXPECT_FALSE(sound::parseWave(std::vector<std::uint8_t>(good.begin(), good.begin() + 11)));
}

TEST(WaveFileTest, VolumeScalesEachChannel) {
    std::vector<std::int16_t> samples{10000, 10000, -20000, -20000};
    sound::applyVolume(samples, 2, 0xFFFF0000u | 0x8000u);  // left half, right full
    EXPECT_EQ(samples, (std::vector<std::int16_t>{5000, 10000, -10000, -20000}));
    std::vector<std::int16_t> mono{30000, -30000};
    sound::applyVolume(mono, 1, 0);
    EXPECT_EQ(mono, (std::vector<std::int16_t>{0, 0}));
}

class Sound : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = test::useTestDevice();
        setenv("VORN_SOUND", "log", 1);
        fs::create_directories(root_ / "windows");
        clearPlayLog();
        setWaveOutVolume(0xFFFFFFFFu);
    }
    void writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(root_ / "windows" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    fs::path root_;
};

TEST_F(Sound, AWaveFileTakesAsLongAsItLastsAndIsLogged) {
    writeFile("alarm1.wav", makeWave({8000, 1, 16, 2400}));  // 300 ms
    setWaveOutVolume(bothChannels(0x4000));
    EXPECT_EQ(waveOutVolume(), 0x40004000u);
    auto start = Clock::now();
    EXPECT_TRUE(playSoundSync(L"\\Windows\\ALARM1.wav"));
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_GE(took.count(), 290);
    auto log = playLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].file, L"\\Windows\\ALARM1.wav");
    EXPECT_NEAR(log[0].durationMs, 300, 15);
    EXPECT_EQ(log[0].volume, 0x40004000u);
    EXPECT_FALSE(log[0].stopped);
    EXPECT_EQ(log[0].processId, static_cast<int>(::getpid()));
    EXPECT_GT(log[0].start, 0u);

    // Nothing plays, and nothing is logged, for what is not a playable wave file.
    writeFile("text.wav", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(playSoundSync(L"\\windows\\text.wav"));
    EXPECT_FALSE(playSoundSync(L"\\windows\\missing.wav"));
    EXPECT_FALSE(playSoundSync(L"\\windows"));
    EXPECT_EQ(playLog().size(), 1u);
    clearPlayLog();
    EXPECT_TRUE(playLog().empty());
}

TEST_F(Sound, StopSoundEndsAPlayInAnotherThread) {
    writeFile("long.wav", makeWave({8000, 2, 16, 8000 * 20}));  // 20 s
    auto start = Clock::now();
    // Stops it a while after it has begun.
    std::thread stopper([] {
        for (int i = 0; i < 1000 && playLog().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stopSound();
    });
    EXPECT_TRUE(playSoundSync(L"\\windows\\long.wav"));
    stopper.join();
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_LT(took.count(), 5000);
    auto log = playLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].stopped);
    EXPECT_GE(log[0].durationMs, 190);
    EXPECT_LT(log[0].durationMs, 5000);
    // A stop before a play does not cut the next play short.
    writeFile("short.wav", makeWave({8000, 1, 8, 800}));
    stopSound();
    EXPECT_TRUE(playSoundSync(L"\\windows\\short.wav"));
    EXPECT_FALSE(playLog().back().stopped);
}

TEST_F(Sound, WithAnAudioDeviceTheSoundIsHeardForAsLong) {
    // SDL's silent driver stands in for a sound card.
    setenv("VORN_SOUND", "audio", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(sound::soundsAudible());
    fs::path logFile = root_ / ".device" / "log" / "device.log";
    std::error_code ec;
    auto logBefore = fs::exists(logFile) ? fs::file_size(logFile, ec) : 0;
    writeFile("heard.wav", makeWave({11025, 2, 16, 2205}));  // 200 ms
    auto start = Clock::now();
    EXPECT_TRUE(playSoundSync(L"\\windows\\heard.wav"));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));
    auto player = createMediaPlayer();
    ASSERT_TRUE(player);
    fs::copy_file(fs::path(VORN_SOURCE_DIR) / "tests/platform/data/beep.mp3",
                  root_ / "windows" / "beep.mp3", fs::copy_options::overwrite_existing);
    ASSERT_TRUE(player->play(L"\\windows\\beep.mp3"));
    player->stop();
    auto log = playLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NEAR(log[0].durationMs, 200, 15);
    EXPECT_TRUE(log[1].stopped);
    // The audio device opened: nothing about sound went to the device log.
    std::ifstream deviceLog(logFile);
    std::string text{std::istreambuf_iterator<char>(deviceLog), {}};
    text = text.substr(std::min<std::size_t>(logBefore, text.size()));
    EXPECT_EQ(text.find("sound:"), std::string::npos) << text;
    setenv("VORN_SOUND", "log", 1);
}

TEST_F(Sound, ThePlayLogKeepsTheMostRecentPlays) {
    writeFile("empty.wav", makeWave({8000, 1, 16, 0}));
    const std::size_t total = kMaxPlayLog + 3;
    for (std::size_t i = 0; i < total; ++i) {
        setWaveOutVolume(static_cast<std::uint32_t>(i));
        ASSERT_TRUE(playSoundSync(L"\\windows\\empty.wav"));
    }
    auto log = playLog();
    ASSERT_EQ(log.size(), kMaxPlayLog);
    EXPECT_EQ(log.front().volume, 3u);
    EXPECT_EQ(log.back().volume, total - 1);
}

TEST_F(Sound, TheMediaPlayerPlaysMp3Files) {
    auto player = createMediaPlayer();
    ASSERT_TRUE(player) << "libmpg123 is a dependency of the device";
    fs::copy_file(fs::path(VORN_SOURCE_DIR) / "tests/platform/data/beep.mp3",
                  root_ / "windows" / "beep.mp3", fs::copy_options::overwrite_existing);
    // A half-second tone, made with sox and lame.
    ASSERT_TRUE(player->play(L"\\windows\\beep.mp3"));
    EXPECT_TRUE(player->playing());
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (player->playing() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(player->playing());
    auto log = playLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].file, L"\\windows\\beep.mp3");
    EXPECT_GE(log[0].durationMs, 450);  // the encoder pads a little
    EXPECT_LE(log[0].durationMs, 700);
    EXPECT_FALSE(log[0].stopped);

    // Stopping ends it at once; playing again starts from the beginning.
    ASSERT_TRUE(player->play(L"\\windows\\beep.mp3"));
    player->stop();
    EXPECT_FALSE(player->playing());
    EXPECT_TRUE(playLog().back().stopped);
    // stopSound reaches the media player too.
    ASSERT_TRUE(player->play(L"\\windows\\beep.mp3"));
    stopSound();
    deadline = Clock::now() + std::chrono::seconds(2);
    while (player->playing() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(player->playing());
    EXPECT_TRUE(playLog().back().stopped);

    // Files that are not mp3 sound are refused without a log entry.
    writeFile("noise.mp3", std::vector<std::uint8_t>(4000, 0x5A));
    EXPECT_FALSE(player->play(L"\\windows\\noise.mp3"));
    EXPECT_FALSE(player->play(L"\\windows\\missing.mp3"));
    EXPECT_FALSE(player->playing());
    EXPECT_EQ(playLog().size(), 3u);
}

}  // namespace
