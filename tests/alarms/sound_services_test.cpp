// The sound services: the loop player's repeats, volumes and stop, the volume levels of the
// choices, and the backlight hold.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "alarms/alarm_volume.h"
#include "alarms/backlight_hold.h"
#include "alarms/sound_loop_player.h"
#include "platform/api/device.h"
#include "platform/api/power.h"
#include "platform/api/registry.h"
#include "platform/api/sound.h"
#include "tests/platform/support/test_device.h"

using namespace alarms;
using namespace std::chrono_literals;

namespace {

constexpr std::wstring_view kBeep = L"\\sounds\\beep.wav";

// A wave file of 40 ms of 8 kHz mono 16-bit sound.
void writeBeep() {
    std::vector<std::uint8_t> b;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto id = [&](const char* s) { b.insert(b.end(), s, s + 4); };
    const std::uint32_t frames = 320;
    id("RIFF");
    put(36 + frames * 2, 4);
    id("WAVE");
    id("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(16000, 4);
    put(2, 2);
    put(16, 2);
    id("data");
    put(frames * 2, 4);
    for (std::uint32_t i = 0; i < frames * 2; ++i) b.push_back(static_cast<std::uint8_t>(i));
    std::filesystem::path host = *platform::hostPath(kBeep);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Waits up to two seconds for a condition.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 400; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

constexpr SoundLoopTiming kQuick{5ms, 1ms, 1ms, 20ms};

class SoundServices : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::test::useTestDevice();
        writeBeep();
        platform::clearPlayLog();
        platform::setWaveOutVolume(platform::bothChannels(1000));
        platform::deleteRegistryKey(platform::Hive::CurrentUser, L"ControlPanel");
    }
};

}  // namespace

TEST_F(SoundServices, ANegativeRepeatPlaysThatManyTimesAndStops) {
    SoundLoopPlayer player(kQuick);
    player.play(kBeep, -1, 3);
    ASSERT_TRUE(eventually([&] { return !player.playing(); }));
    EXPECT_EQ(player.playCount(), 1);
    auto log = platform::playLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].file, kBeep);
    EXPECT_EQ(log[0].volume, platform::bothChannels(24576));
    // Stopping the finished player gives the volume back.
    player.stop();
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(1000));

    player.play(kBeep, -3, 6);
    ASSERT_TRUE(eventually([&] { return !player.playing(); }));
    EXPECT_EQ(player.playCount(), 4);
    EXPECT_EQ(platform::playLog().size(), 4u);
    EXPECT_EQ(platform::playLog().back().volume, platform::bothChannels(65535));
}

TEST_F(SoundServices, ALoopPlaysUntilStoppedAndStopRestoresTheVolume) {
    SoundLoopPlayer player(kQuick);
    player.play(kBeep, 0, 2);
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(12288));
    ASSERT_TRUE(eventually([&] { return player.playCount() >= 3; }));
    EXPECT_TRUE(player.playing());
    player.stop();
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(1000));
    std::size_t played = platform::playLog().size();
    EXPECT_GE(played, 3u);
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(platform::playLog().size(), played);
    // A second play while one loops replaces it; the volume kept is still the first one.
    player.play(kBeep, 0, 4);
    player.play(kBeep, 0, 5);
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(45056));
    player.stop();
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(1000));
}

TEST_F(SoundServices, RisingVolumeStartsSilentAndEndsAt65024) {
    SoundLoopPlayer slow({300ms, 1ms, 1ms, 20ms});
    std::vector<std::wstring> calls;
    std::mutex mutex;
    slow.play(L"\\x.wav", 0, kRisingVolumeChoice, [&](std::wstring_view path) {
        {
            std::lock_guard lock(mutex);
            calls.emplace_back(path);
        }
        if (!path.empty())
            std::this_thread::sleep_for(10ms);
    });
    EXPECT_EQ(platform::waveOutVolume(), 0u);
    ASSERT_TRUE(eventually([&] {
        std::lock_guard lock(mutex);
        return !calls.empty();
    }));
    slow.stop();

    SoundLoopPlayer player(kQuick);
    player.play(L"\\x.wav", 0, kRisingVolumeChoice,
                [](std::wstring_view) { std::this_thread::sleep_for(5ms); });
    EXPECT_TRUE(
        eventually([] { return platform::waveOutVolume() == platform::bothChannels(65024); }));
    player.stop();
    EXPECT_EQ(platform::waveOutVolume(), platform::bothChannels(1000));
    EXPECT_EQ(rampLevel(0), 0);
    EXPECT_EQ(rampLevel(1), 512);
    EXPECT_EQ(rampLevel(kRampSteps), 65024);
    EXPECT_EQ(rampLevel(500), 65024);

    // The callback saw the path for each play and an empty path at the stop.
    std::lock_guard lock(mutex);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front(), L"\\x.wav");
    EXPECT_EQ(calls.back(), L"");
    EXPECT_TRUE(platform::playLog().empty());
}

TEST_F(SoundServices, AMissingFileDoesNotSpin) {
    SoundLoopPlayer player(kQuick);
    player.play(L"\\sounds\\missing.wav", 0, 3);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(player.playing());
    // Retried every 20 ms, not thousands of times.
    EXPECT_LE(player.playCount(), 15);
    EXPECT_GE(player.playCount(), 2);
    player.stop();
    EXPECT_FALSE(player.playing());
}

TEST_F(SoundServices, VolumeLevelsOfTheChoices) {
    EXPECT_EQ(alarmVolumeLevel(2), 12288);
    EXPECT_EQ(alarmVolumeLevel(3), 24576);
    EXPECT_EQ(alarmVolumeLevel(4), 36864);
    EXPECT_EQ(alarmVolumeLevel(5), 45056);
    EXPECT_EQ(alarmVolumeLevel(6), 65535);
    EXPECT_EQ(alarmVolumeLevel(7), 0);
    EXPECT_EQ(alarmVolumeLevel(99), 0);
    EXPECT_EQ(alarmVolumeLevel(-1), 0);
    // The device's own alarm volume: nothing set up reads as 12288.
    EXPECT_EQ(alarmVolumeLevel(0), 12288);
    auto volume =
        platform::RegistryKey::create(platform::Hive::CurrentUser, L"ControlPanel\\Volume");
    ASSERT_TRUE(volume);
    volume->setDword(L"Volume", 0x5000);
    EXPECT_EQ(alarmVolumeLevel(1), 0x5000);
    // With the alarm sound category its step counts instead.
    auto alarm = platform::RegistryKey::create(platform::Hive::CurrentUser,
                                               L"ControlPanel\\SoundCategories\\Alarm");
    ASSERT_TRUE(alarm);
    EXPECT_EQ(alarmVolumeLevel(0), 12288);
    for (auto [step, level] :
         {std::pair{1, 12288}, {2, 24576}, {3, 36864}, {4, 45056}, {5, 65535}, {6, 0}, {0, 0}}) {
        alarm->setDword(L"InitVol", static_cast<std::uint32_t>(step));
        EXPECT_EQ(alarmVolumeLevel(1), level) << step;
    }
}

TEST_F(SoundServices, TheBacklightHoldKeepsThePowerStateOfTheFirstHold) {
    const std::uint32_t before = platform::kPowerStateUserIdle;
    platform::setSystemPowerState(before, true);
    EXPECT_FALSE(platform::backlightHeld());
    holdBacklight(true);
    EXPECT_TRUE(backlightHoldActive());
    EXPECT_TRUE(platform::backlightHeld());
    EXPECT_NE(platform::systemPowerState() & platform::kPowerStateOn, 0u);
    // A second hold changes nothing; one release ends it.
    holdBacklight(true);
    holdBacklight(false);
    EXPECT_FALSE(backlightHoldActive());
    EXPECT_FALSE(platform::backlightHeld());
    EXPECT_EQ(platform::systemPowerState(), before);
    // Releasing what is not held changes nothing.
    platform::setSystemPowerState(platform::kPowerStateOn, true);
    holdBacklight(false);
    EXPECT_EQ(platform::systemPowerState(), platform::kPowerStateOn);
}
