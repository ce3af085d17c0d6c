// The stopwatch and countdown screen inside the program's own application on a headless
// window, on the test clock: the stopwatch and its laps, a counter that rings until tapped,
// run-all over three counters with presets from the picker, counts that go on while the
// screen is away or the calendar jumps, and the idle timer kept from running out.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "alarms/screens/counters_picker.h"
#include "alarms/screens/counters_screen.h"
#include "alarms/screens/counters_screens.h"
#include "alarms/settings_keys.h"
#include "app/application.h"
#include "core/language.h"
#include "core/settings_file.h"
#include "core/settings_key.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/power.h"
#include "platform/api/profile.h"
#include "platform/api/sound.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"

using namespace platform;
using namespace alarms;

namespace {

const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";
constexpr int kCountdown = 43, kStopwatch = 44, kOtherScreen = 24;

// Waits up to five seconds of real time (the sound plays on a thread of its own).
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 500; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::size_t alarmPlays() {
    std::size_t plays = 0;
    for (const PlayedSound& sound : playLog()) plays += sound.file.ends_with(L"Alarm1.wav");
    return plays;
}

class CountersScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        std::filesystem::remove(screens::test::screenTestDevice() / "vornroamer.ini");
        clearPlayLog();
        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        registerCounterScreens(app_->screens());
        ASSERT_TRUE(app_->createMainWindow());
    }

    void TearDown() override {
        app_.reset();
        test::deliverPosted();
        EXPECT_FALSE(backlightHeld()) << "leaving the screen releases the backlight";
    }

    void open(int id) {
        app_->switchModule(id, {.saveOld = true});
        test::deliverPosted();
        ASSERT_EQ(app_->currentModuleId(), id);
    }
    CountersScreen& screen() { return *static_cast<CountersScreen*>(app_->currentModule()); }
    void keyUp(std::uint32_t code) {
        screen().key(wm::KeyDown, code, 0);
        screen().key(wm::KeyUp, code, 0);
    }
    void tap(Rect r) {
        Point centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        screen().pointer(wm::LButtonDown, 0, centre);
        screen().pointer(wm::LButtonUp, 0, centre);
    }

    test::TestClock clock_{116444736000000000LL + 1800000000LL * 10000000LL};
    std::unique_ptr<app::Application> app_;
};

TEST_F(CountersScreenTest, TheStopwatchRunsLapsAndResetsFromKeysAndButtons) {
    open(kStopwatch);
    EXPECT_EQ(screen().page(), CounterPage::Stopwatch);
    tap(screen().startButton());
    ASSERT_TRUE(screen().timers().slot(kStopwatchSlot).running);
    test::fastForward(1500, 50);
    EXPECT_EQ(screen().timers().slot(kStopwatchSlot).valueMs, 1500) << "the 50 ms timer ticks";
    keyUp(vk::Right);
    advanceClockOverride(61 * 60 * 1000);
    screen().command(ui::command::RightSoftKey, 0);
    ASSERT_EQ(screen().timers().laps().size(), 2u);
    EXPECT_EQ(lapClockText(screen().timers().laps()[1].lapMs), L"01:00.00");
    EXPECT_EQ(lapClockText(screen().timers().laps()[1].totalMs), L"01:01.50");

    screen().command(counterCommand::ResetStopwatch, 0);
    EXPECT_EQ(screen().timers().laps().size(), 2u) << "no reset while it runs";
    screen().command(ui::command::LeftSoftKey, 0);  // stops
    EXPECT_FALSE(screen().timers().slot(kStopwatchSlot).running);
    tap(screen().resetButton());
    EXPECT_EQ(screen().timers().slot(kStopwatchSlot).valueMs, 0);
    EXPECT_TRUE(screen().timers().laps().empty());
}

TEST_F(CountersScreenTest, TheDefaultCounterRingsAfterTenSecondsUntilTapped) {
    open(kCountdown);
    EXPECT_EQ(screen().timers().slot(1).valueMs, 10000);
    EXPECT_EQ(screen().timers().slot(2).valueMs, 0);
    screen().command(counterCommand::StartStop, 0);
    test::fastForward(9950, 50);
    EXPECT_FALSE(screen().ringing());
    test::fastForward(100, 50);
    ASSERT_TRUE(screen().ringing());
    EXPECT_TRUE(backlightHeld());
    EXPECT_FALSE(screen().timers().anyRunning());
    EXPECT_TRUE(eventually([] { return alarmPlays() == 1; }));

    tap(screen().counterRow(2));  // any tap stops the ringing
    EXPECT_FALSE(screen().ringing());
    EXPECT_FALSE(backlightHeld());
    EXPECT_FALSE(screen().editing()) << "the tap only stopped the ringing";
    EXPECT_EQ(screen().timers().slot(1).valueMs, 10000) << "the counter is reset";
}

TEST_F(CountersScreenTest, EnterStopsTheRingingOfACounterStartedAtZero) {
    open(kCountdown);
    keyUp(vk::Down);
    ASSERT_EQ(screen().timers().selected(), 2);
    keyUp(vk::Left);  // starts the selected counter
    test::fastForward(50, 50);
    ASSERT_TRUE(screen().ringing()) << "no time left: it runs out on the first tick";
    keyUp(vk::Return);
    EXPECT_FALSE(screen().ringing());
    EXPECT_FALSE(screen().editing());
}

TEST_F(CountersScreenTest, RunAllRingsAtEachOfThreeCountersSetWithThePicker) {
    open(kCountdown);
    screen().command(counterCommand::ShowOne + 2, 0);
    EXPECT_EQ(core::iniNumber(L"counternumber", 0), 3);
    for (int counter = 1; counter <= 3; ++counter) {
        screen().editPreset(counter);
        ASSERT_TRUE(screen().editing());
        for (int i = 0; i < 5; ++i) keyUp(vk::Right);
        keyUp(vk::Down);  // from 0 to 9, or from 0 (counter 1's tens) to 9
        if (counter > 1)
            for (int i = 0; i < counter; ++i) keyUp(vk::Up);
        screen().command(ui::command::LeftSoftKey, 0);
        EXPECT_FALSE(screen().editing());
    }
    // Counter 1 had 00:00:10: its units went from 0 down to 9, so 00:00:19.
    EXPECT_EQ(screen().timers().slot(1).presetMs, 19000);
    EXPECT_EQ(screen().timers().slot(2).presetMs, 1000);
    EXPECT_EQ(screen().timers().slot(3).presetMs, 2000);
    core::settingsFile().load(core::settingsFile().path(), true);
    EXPECT_EQ(core::iniNumber(L"counter_time1", 0), 19000) << "stored in the settings file";
    EXPECT_EQ(core::iniNumber(L"counter_time3", 0), 2000);

    screen().command(counterCommand::RunAll, 0);
    ASSERT_TRUE(screen().timers().runAll());
    screen().command(counterCommand::StartStop, 0);
    test::fastForward(19000, 50);
    EXPECT_TRUE(screen().timers().slot(2).running) << "the second starts as the first ends";
    EXPECT_TRUE(eventually([] { return alarmPlays() == 1; }));
    test::fastForward(1000, 50);
    EXPECT_TRUE(screen().timers().slot(3).running);
    EXPECT_TRUE(eventually([] { return alarmPlays() == 2; }));
    test::fastForward(2000, 50);
    EXPECT_FALSE(screen().timers().anyRunning());
    EXPECT_TRUE(eventually([] { return alarmPlays() == 3; }));
    EXPECT_TRUE(screen().ringing());
    screen().command(counterCommand::ResetCounter, 0);
    EXPECT_FALSE(screen().ringing()) << "resetting all counters ends the ringing";
    EXPECT_FALSE(backlightHeld());
    EXPECT_EQ(screen().timers().slot(2).valueMs, 1000);
}

TEST_F(CountersScreenTest, CountsGoOnWhileTheScreenIsAwayAndIgnoreTheCalendar) {
    open(kCountdown);
    screen().command(counterCommand::StartStop, 0);
    test::fastForward(1000, 50);
    open(kStopwatch);
    advanceClockOverride(4000);
    setDeviceUtcTime(deviceUtcFileTime() + 86400LL * 10000000LL);  // the clock jumps a day
    open(kCountdown);
    test::fastForward(50, 50);
    EXPECT_EQ(screen().timers().slot(1).valueMs, 10000 - 5050);
    EXPECT_TRUE(screen().timers().slot(1).running);
    setDeviceUtcTime(deviceUtcFileTime() - 2 * 86400LL * 10000000LL);
    test::fastForward(50, 50);
    EXPECT_EQ(screen().timers().slot(1).valueMs, 10000 - 5100);
}

TEST_F(CountersScreenTest, EveryTwentyFirstTickResetsTheIdleTimerWhileAsked) {
    open(kStopwatch);
    EXPECT_EQ(core::settings::read(keys::CounterStopSleep), 1);
    screen().command(counterCommand::StartStop, 0);
    std::uint32_t before = lastIdleTimerReset();
    test::fastForward(20 * 50, 50);
    EXPECT_EQ(lastIdleTimerReset(), before) << "20 ticks";
    test::fastForward(50, 50);
    std::uint32_t reset = lastIdleTimerReset();
    EXPECT_NE(reset, before) << "the 21st";

    screen().command(counterCommand::KeepAwake, 0);
    EXPECT_EQ(core::settings::read(keys::CounterStopSleep), 0);
    test::fastForward(2000, 50);
    EXPECT_EQ(lastIdleTimerReset(), reset);
}

TEST_F(CountersScreenTest, ACounterRunningOutWhileTheScreenIsAwayBringsItBackRinging) {
    open(kCountdown);
    screen().command(counterCommand::StartStop, 0);
    app_->switchModule(kOtherScreen, {.saveOld = true});
    test::deliverPosted();
    ASSERT_EQ(app_->currentModuleId(), kOtherScreen);
    test::fastForward(10050, 50);
    EXPECT_TRUE(eventually([] { return alarmPlays() == 1; })) << "heard from the other screen";
    test::deliverPosted();
    ASSERT_EQ(app_->currentModuleId(), kCountdown);
    EXPECT_TRUE(screen().ringing());
    EXPECT_TRUE(backlightHeld());
    tap(screen().counterRow(1));
    EXPECT_FALSE(screen().ringing());
    EXPECT_FALSE(backlightHeld());
    EXPECT_EQ(screen().timers().slot(1).valueMs, 10000);
}

TEST_F(CountersScreenTest, ATurnOfTheScreenKeepsTheEditAndTheRunningCounter) {
    auto rotate = [&](int degrees) {
        int generation = app_->layoutGeneration();
        rotateScreen(degrees);
        broadcastScreenChanged();
        test::deliverPosted();
        ASSERT_GT(app_->layoutGeneration(), generation) << "the screen was built again";
    };
    open(kCountdown);
    screen().editPreset(2);
    keyUp(vk::Right);
    keyUp(vk::Up);  // 01:00:00
    rotate(90);
    ASSERT_TRUE(screen().editing());
    EXPECT_EQ(screen().picker().valueMs(), 3600000);
    EXPECT_EQ(screen().picker().selected(), 1);
    screen().command(ui::command::LeftSoftKey, 0);
    EXPECT_EQ(screen().timers().slot(2).presetMs, 3600000);

    keyUp(vk::Up);
    ASSERT_EQ(screen().timers().selected(), 1);
    screen().command(counterCommand::StartStop, 0);
    rotate(270);
    test::fastForward(10050, 50);
    EXPECT_TRUE(screen().ringing()) << "the turned screen still ticks";
    rotate(90);
    EXPECT_TRUE(screen().ringing()) << "a turn does not stop the ringing";
    EXPECT_TRUE(backlightHeld());
    rotate(270);
}

TEST_F(CountersScreenTest, TheEndOfAPressThatBeganElsewhereDoesNothing) {
    // The main menu opens the screen on the press of Enter or a tap; their release lands here.
    open(kCountdown);
    screen().key(wm::KeyUp, vk::Return, 0);
    EXPECT_FALSE(screen().editing());
    Rect row = screen().counterRow(1);
    screen().pointer(wm::LButtonUp, 0, {row.left + 40, row.top + 10});
    EXPECT_FALSE(screen().editing());
    tap(row);
    EXPECT_TRUE(screen().editing()) << "a whole tap on a counter edits its preset";
    EXPECT_TRUE(app_->back());
    EXPECT_FALSE(screen().editing()) << "Back closes the picker first";
    EXPECT_EQ(screen().timers().slot(1).presetMs, 10000) << "and keeps the preset";
    open(kStopwatch);
    EXPECT_TRUE(app_->back());
    EXPECT_EQ(app_->currentModuleId(), kCountdown) << "then goes back";
}

TEST_F(CountersScreenTest, WithoutTheAlarmSoundTheCounterStillStopsAndRings) {
    std::filesystem::path sound = screens::test::screenTestDevice() / "sounds" / "Alarm1.wav";
    std::filesystem::path aside = sound.string() + ".aside";
    std::filesystem::rename(sound, aside);
    open(kCountdown);
    screen().command(counterCommand::StartStop, 0);
    test::fastForward(10050, 50);
    bool ringing = screen().ringing();
    bool held = backlightHeld();
    bool running = screen().timers().anyRunning();
    tap(screen().counterRow(1));
    bool stopped = !screen().ringing() && !backlightHeld();
    std::filesystem::rename(aside, sound);
    EXPECT_TRUE(ringing);
    EXPECT_TRUE(held);
    EXPECT_FALSE(running);
    EXPECT_TRUE(stopped);
}

TEST(PresetPicker, DigitsStayWithinTheirPlaces) {
    PresetPicker picker;
    picker.setValue(kMaxPresetMs + 5000);
    EXPECT_EQ(picker.valueMs(), kMaxPresetMs);
    picker.setValue(3723000);  // 01:02:03
    EXPECT_EQ(picker.digit(1), 1);
    EXPECT_EQ(picker.digit(3), 2);
    EXPECT_EQ(picker.digit(5), 3);
    picker.select(2);
    picker.step(-1);
    EXPECT_EQ(picker.digit(2), 5) << "tens of minutes wrap to 5";
    picker.step(1);
    EXPECT_EQ(picker.digit(2), 0);
    picker.moveSelection(9);
    EXPECT_EQ(picker.selected(), 5);
    picker.step(1);
    EXPECT_EQ(picker.valueMs(), 3724000);
}

}  // namespace
