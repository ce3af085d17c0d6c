// The ringing player on the test device, whose sounds go to the play log: a wave file loops
// until stopped or until the ringing time has passed, a call silences it from another thread,
// the rising volume starts silent and climbs, the media player repeats, and the device's
// wave-out volume comes back afterwards.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_player.h"
#include "platform/api/device.h"
#include "platform/api/power.h"
#include "platform/api/sound.h"
#include "tests/platform/support/test_device.h"

using namespace alarms;
using namespace std::chrono_literals;

namespace {

template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A silent mono 16-bit wave file at 8 kHz that lasts the given milliseconds.
std::wstring writeWave(const std::wstring& name, int milliseconds) {
    platform::test::useTestDevice();
    const std::uint32_t frames = static_cast<std::uint32_t>(8 * milliseconds);
    std::vector<std::uint8_t> b;
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + frames * 2);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, 8000);
    put32(b, 16000);
    put16(b, 2);
    put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, frames * 2);
    b.resize(b.size() + frames * 2, 0);
    const std::wstring path = L"\\sounds\\" + name;
    platform::createFolder(L"\\sounds");
    EXPECT_TRUE(platform::writeFileAtomic(path, b));
    return path;
}

std::vector<platform::PlayedSound> playsOf(const std::wstring& path) {
    std::vector<platform::PlayedSound> out;
    for (auto& p : platform::playLog())
        if (p.file == path)
            out.push_back(p);
    return out;
}

// Short pauses, so the tests run in a moment.
AlarmPlayerTiming quick() {
    AlarmPlayerTiming t;
    t.rampStartDelay = 20ms;
    t.rampStep = 1ms;
    t.wavGap = 10ms;
    t.mediaFirstCheck = 20ms;
    t.mediaCheck = 10ms;
    t.mediaStopWait = 1000ms;
    return t;
}

constexpr std::uint32_t kUserVolume = 0x22224444;

class AlarmPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        platform::clearPlayLog();
        platform::setWaveOutVolume(kUserVolume);
    }
};

TEST_F(AlarmPlayerTest, AWaveFileLoopsAtItsLevelUntilStopped) {
    const auto wave = writeWave(L"loop.wav", 60);
    AlarmPlayer player(quick());
    ASSERT_TRUE(player.start(wave, {false, 24576}, 0));
    EXPECT_TRUE(player.ringing());
    ASSERT_TRUE(waitUntil([&] { return playsOf(wave).size() >= 3; }, 10s));
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(24576));
    player.stop();
    EXPECT_FALSE(player.ringing());
    const auto plays = playsOf(wave);
    for (const auto& p : plays) EXPECT_EQ(p.volume, platform::bothChannels(24576));
    // Nothing plays after the stop, and the user's volume is back.
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(playsOf(wave).size(), plays.size());
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
}

TEST_F(AlarmPlayerTest, TheRingingTimeEndsTheSound) {
    const auto wave = writeWave(L"timed.wav", 100);
    AlarmPlayer player(quick());
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.start(wave, {false, 12288}, 1));
    ASSERT_TRUE(waitUntil([&] { return !player.ringing(); }, 10s));
    const auto rang = std::chrono::steady_clock::now() - started;
    EXPECT_GE(rang, 950ms);
    EXPECT_LT(rang, 3s);
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
    // A play the loop thread was just starting as the time ran out may still log its start
    // before silence() cuts it; after that nothing more may start.
    std::this_thread::sleep_for(100ms);
    const auto count = playsOf(wave).size();
    EXPECT_GE(count, 3u);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(playsOf(wave).size(), count);
}

TEST_F(AlarmPlayerTest, SilenceFromAnotherThreadCutsTheSoundShort) {
    const auto wave = writeWave(L"long.wav", 8000);
    AlarmPlayer player(quick());
    ASSERT_TRUE(player.start(wave, {false, 45056}, 0));
    ASSERT_TRUE(waitUntil([&] { return !playsOf(wave).empty(); }, 10s));
    std::thread call([&] { player.silence(); });
    call.join();
    EXPECT_FALSE(player.ringing());
    ASSERT_TRUE(waitUntil(
        [&] {
            auto plays = playsOf(wave);
            return !plays.empty() && plays.back().stopped;
        },
        5s));
    EXPECT_LT(playsOf(wave).back().durationMs, 4000);
    EXPECT_EQ(playsOf(wave).size(), 1u);
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
    player.stop();
}

TEST_F(AlarmPlayerTest, RisingVolumeStartsSilentAndClimbsTo65024) {
    const auto wave = writeWave(L"rise.wav", 30);
    AlarmPlayer player(quick());
    ASSERT_TRUE(player.start(wave, {true, 0}, 0));
    // The first play begins silent, never at the user's volume.
    ASSERT_TRUE(waitUntil([&] { return !playsOf(wave).empty(); }, 10s));
    EXPECT_EQ(playsOf(wave).front().volume, 0u);
    std::uint32_t last = 0;
    bool rising = true;
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::uint32_t v = platform::waveOutVolume();
            rising = rising && (v & 0xFFFF) >= (last & 0xFFFF);
            last = v;
            return v == platform::bothChannels(65024);
        },
        10s));
    EXPECT_TRUE(rising);
    // It stays at the top step.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(65024));
    player.stop();
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
}

TEST_F(AlarmPlayerTest, AMissingFileRingsNothingAndStillStops) {
    AlarmPlayer player(quick());
    ASSERT_TRUE(player.start(L"\\sounds\\not there.wav", {false, 12288}, 0));
    std::this_thread::sleep_for(80ms);
    EXPECT_TRUE(player.ringing());
    EXPECT_TRUE(platform::playLog().empty());
    player.stop();
    EXPECT_FALSE(player.ringing());
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
}

TEST_F(AlarmPlayerTest, ANewStartReplacesTheRingingAndShutdownRefusesMore) {
    const auto first = writeWave(L"first.wav", 2000);
    const auto second = writeWave(L"second.wav", 40);
    AlarmPlayer player(quick());
    EXPECT_FALSE(player.start(L"", {false, 1}, 0));
    ASSERT_TRUE(player.start(first, {false, 12288}, 0));
    ASSERT_TRUE(waitUntil([&] { return !playsOf(first).empty(); }, 10s));
    ASSERT_TRUE(player.start(second, {false, 36864}, 0));
    ASSERT_TRUE(waitUntil([&] { return !playsOf(second).empty(); }, 10s));
    ASSERT_TRUE(waitUntil([&] { return playsOf(first).back().stopped; }, 5s));
    EXPECT_EQ(playsOf(first).size(), 1u);
    player.shutdown();
    EXPECT_FALSE(player.start(second, {false, 36864}, 0));
    EXPECT_FALSE(player.ringing());
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
}

TEST_F(AlarmPlayerTest, TheMediaPlayerIsStartedAgainWhenItEnds) {
    const auto& root = platform::test::useTestDevice();
    std::filesystem::create_directories(root / "sounds");
    std::filesystem::copy_file(
        std::filesystem::path(VORN_SOURCE_DIR) / "tests/platform/data/beep.mp3",
        root / "sounds" / "beep.mp3", std::filesystem::copy_options::overwrite_existing);
    AlarmPlayer player(quick());
    if (!player.hasMediaPlayer())
        GTEST_SKIP() << "this device has no media player";
    ASSERT_TRUE(player.start(L"\\sounds\\beep.mp3", {false, 65535}, 30));
    ASSERT_TRUE(waitUntil([&] { return playsOf(L"\\sounds\\beep.mp3").size() >= 2; }, 15s));
    player.stop();
    const auto count = playsOf(L"\\sounds\\beep.mp3").size();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(playsOf(L"\\sounds\\beep.mp3").size(), count);
}

TEST_F(AlarmPlayerTest, VibrateOnlyRunsTheVibratorForTheRingingTime) {
    const auto vibrator = AlarmPlayer::vibratorLed();
    ASSERT_TRUE(vibrator.has_value());
    EXPECT_EQ(platform::ledInfo(*vibrator)->cycleAdjust, -1);
    AlarmPlayer player(quick());
    ASSERT_TRUE(player.start(kVibrateOnly, {false, 12288}, 1));
    EXPECT_EQ(platform::ledState(*vibrator), 1);
    EXPECT_TRUE(player.ringing());
    ASSERT_TRUE(waitUntil([&] { return platform::ledState(*vibrator) == 0; }, 5s));
    EXPECT_FALSE(player.ringing());
    EXPECT_TRUE(platform::playLog().empty());

    // Stopping by hand switches it off too.
    ASSERT_TRUE(player.start(kVibrateOnly, {false, 12288}, 0));
    EXPECT_EQ(platform::ledState(*vibrator), 1);
    player.stop();
    EXPECT_EQ(platform::ledState(*vibrator), 0);
    EXPECT_EQ(platform::waveOutVolume(), kUserVolume);
}

TEST(RingVolume, FromTheVolumeChoice) {
    platform::test::useTestDevice();
    EXPECT_TRUE(ringVolumeFor(7).rising);
    EXPECT_TRUE(ringVolumeFor(9).rising);
    EXPECT_FALSE(ringVolumeFor(6).rising);
    EXPECT_EQ(ringVolumeFor(2).level, 12288);
    EXPECT_EQ(ringVolumeFor(6).level, 65535);
}

}  // namespace
