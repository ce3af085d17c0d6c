// The alarm program on a headless device, started the way the device starts it: an alarm in
// the store with its notification armed, the device clock moved past it, the notification
// service's step run. The program rings (the play log shows the sound looping), the store
// already holds the next occurrence, Snooze arms the snooze notification from the minute the
// ringing began, Dismiss closes it, a busy phone keeps it silent and a call silences it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_store.h"
#include "alarms/quick_alarm.h"
#include "alarms/settings_keys.h"
#include "core/settings_key.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/phone.h"
#include "platform/api/power.h"
#include "platform/api/process.h"
#include "platform/api/sound.h"
#include "platform/api/window.h"
#include "tests/e2e/support/e2e_device.h"
#include "worldtime/zones.h"

using namespace e2e;
using platform::SystemTime;

namespace {

constexpr wchar_t kChime[] = L"\\Program Files\\Vorn Roamer\\sounds\\Chime.wav";
constexpr wchar_t kQuickSound[] = L"\\Program Files\\Vorn Roamer\\alarm\\alarm_quicksetalarm.wav";

SystemTime localTime(int year, int month, int day, int hour, int minute, int second = 0) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    return t;
}

// Moves the device clock (every program of the device reads it) to a local moment.
void setDeviceLocal(const SystemTime& local) {
    auto utc = platform::localToUtc(local);
    ASSERT_TRUE(utc.has_value());
    platform::setDeviceUtcTime(*platform::toFileTime(*utc));
}

bool sameMinute(const SystemTime& a, const SystemTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

struct Armed {
    platform::NotificationHandle handle = 0;
    platform::NotificationRecord record;
};

std::vector<Armed> armedWith(std::wstring_view arguments) {
    std::vector<Armed> out;
    for (auto handle : platform::userNotificationHandles()) {
        auto record = platform::userNotification(handle);
        if (record && record->arguments == arguments)
            out.push_back({handle, *record});
    }
    return out;
}

std::size_t playsOf(std::wstring_view file) {
    auto log = platform::playLog();
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [&](const auto& p) { return p.file == file; }));
}

class AlarmProgramTest : public ::testing::Test {
  protected:
    explicit AlarmProgramTest(const std::string& screen = "240x320") : device_(screen) {
        // The programs the notification service starts from this process run headless.
        ::setenv("VORN_DISPLAY", "headless", 1);
        EXPECT_TRUE(platform::setDeviceTimeZone("Europe/Berlin"));
        platform::setPhoneStatus(0);
    }

    ~AlarmProgramTest() override {
        if (platform::WindowHandle w = alarmWindow())
            platform::postMessage(w, platform::wm::Close);
        if (pid_)
            platform::waitForProcess(pid_, 10000);
    }

    static platform::WindowHandle alarmWindow() {
        return platform::findWindow(L"VORNALARMS", L"Vorn Roamer Alarm");
    }

    // A daily alarm at 07:00 on 10 March 2027 (a Wednesday), armed from 06:59:59.
    void addDailyAlarm(int snoozeChoice = 3, int ringTimeChoice = 2) {
        setDeviceLocal(localTime(2027, 3, 10, 6, 59, 59));
        alarms::AlarmRecord r;
        r.name = L"Wake up";
        r.message = L"Good morning";
        r.kind = alarms::RepeatKind::Daily;
        r.timeOfDayMs = 7 * 3600000;
        r.startDate = {10, 3, 2027};
        r.soundName = L"Chime.wav";
        r.soundPath = kChime;
        r.volume = 4;
        r.ringTime = ringTimeChoice;
        r.snooze = snoozeChoice;
        alarms::AlarmStore store;
        ASSERT_EQ(store.addNew(r), alarms::EditResult::Saved);
        auto armed = armedWith(L"/ALARM Wake up");
        ASSERT_EQ(armed.size(), 1u);
        EXPECT_TRUE(sameMinute(armed[0].record.start, localTime(2027, 3, 10, 7, 0)));
    }

    // Moves the clock to the moment and runs the service's step; waits for the alarm window.
    void ringAt(const SystemTime& moment,
                platform::NotificationOutcome expected = platform::NotificationOutcome::Started) {
        setDeviceLocal(moment);
        auto runs = platform::runDueNotifications();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].record.application, L"\\windows\\vornalarms.exe");
        EXPECT_EQ(runs[0].outcome, expected);
        if (expected == platform::NotificationOutcome::Missed)
            return;
        ASSERT_TRUE(waitUntil([] { return alarmWindow() != 0; })) << device_.deviceLog();
        for (const auto& w : platform::listWindows())
            if (w.handle == alarmWindow())
                pid_ = w.processId;
    }

    // Taps the middle of a rectangle of the window's client area (x, y, width, height).
    void tapClient(int x, int y, int width, int height) {
        const platform::Rect r = platform::windowRect(alarmWindow());
        const int sx = r.left + x + width / 2;
        const int sy = r.top + y + height / 2;
        auto tap =
            device_.ctl({"tap", std::to_string(sx), std::to_string(sy), "--window", "VORNALARMS"});
        ASSERT_EQ(tap.exitCode, 0) << tap.err;
    }

    void expectClosed() {
        ASSERT_TRUE(waitUntil([] { return alarmWindow() == 0; }));
        ASSERT_TRUE(waitUntil([&] { return !isRunning(pid_); }));
    }

    TestDevice device_;
    int pid_ = 0;
};

TEST_F(AlarmProgramTest, ADailyAlarmRingsRearmsAndSnoozes) {
    addDailyAlarm(3);  // 10 minutes
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 7, 0, 20));

    // Once the sound is heard, the store already holds tomorrow's occurrence, with its
    // notification.
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 1; })) << device_.deviceLog();
    alarms::AlarmStore store;
    ASSERT_TRUE(store.select(L"Wake up"));
    auto next = store.armedStart();
    ASSERT_TRUE(next.has_value());
    EXPECT_TRUE(sameMinute(*next, localTime(2027, 3, 11, 7, 0)));
    EXPECT_EQ(armedWith(L"/ALARM Wake up").size(), 1u);

    // The sound loops, at the volume choice's level.
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 2; })) << device_.deviceLog();
    EXPECT_EQ(platform::playLog().front().volume, platform::bothChannels(36864));
    EXPECT_TRUE(platform::backlightHeld());

    // Snooze, tapped three minutes later, counts from 07:00 (not 07:03) plus the choice.
    setDeviceLocal(localTime(2027, 3, 10, 7, 3, 0));
    tapClient(125, 200, 95, 38);
    expectClosed();
    auto snoozed = armedWith(L"/ALMSZ Wake up");
    ASSERT_EQ(snoozed.size(), 1u);
    EXPECT_TRUE(sameMinute(snoozed[0].record.start, localTime(2027, 3, 10, 7, 10)));
    EXPECT_FALSE(platform::backlightHeld());
    const auto plays = playsOf(kChime);
    EXPECT_TRUE(platform::playLog().back().stopped || platform::playLog().back().durationMs > 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(playsOf(kChime), plays);
}

TEST_F(AlarmProgramTest, TheRunningDevicesServiceRingsItWhenTheClockMovesOn) {
    addDailyAlarm();
    platform::clearPlayLog();
    CommandResult start =
        vorndev({"start", "--device", device_.root().string(), "--headless", "--detach"});
    ASSERT_EQ(start.exitCode, 0) << start.err;
    // From 06:59:59 past 07:00: the service starts the alarm program.
    CommandResult clock =
        device_.ctl({"clock", "set", std::to_string(platform::clockOffsetSeconds() + 2)});
    ASSERT_EQ(clock.exitCode, 0) << clock.err;
    ASSERT_TRUE(waitUntil([] { return alarmWindow() != 0; })) << device_.deviceLog();
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 1; })) << device_.deviceLog();
    auto armed = armedWith(L"/ALARM Wake up");
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_TRUE(sameMinute(armed[0].record.start, localTime(2027, 3, 11, 7, 0)));
    auto dismiss = device_.ctl({"key", "softleft", "--window", "VORNALARMS"});
    ASSERT_EQ(dismiss.exitCode, 0) << dismiss.err;
    ASSERT_TRUE(waitUntil([] { return alarmWindow() == 0; }));
}

TEST_F(AlarmProgramTest, AnAlarmInAnotherCitysTimeIsRearmedInThatTime) {
    // 07:00 in Tokyo (zone 34, no daylight saving) is 23:00 of the day before in Berlin.
    ASSERT_TRUE(worldtime::loadZones(L"\\Program Files\\Vorn Roamer\\"));
    constexpr int kTokyo = 34;
    setDeviceLocal(localTime(2027, 1, 4, 22, 59, 50));
    alarms::AlarmRecord r;
    r.name = L"Call Tokyo";
    r.city = L"Tokyo";
    r.zone = kTokyo;
    r.kind = alarms::RepeatKind::Daily;
    r.timeOfDayMs = 7 * 3600000;
    r.startDate = {4, 1, 2027};
    r.soundPath = kChime;
    alarms::AlarmStore store;
    ASSERT_EQ(store.addNew(r), alarms::EditResult::Saved);
    ASSERT_EQ(armedWith(L"/ALARM Call Tokyo").size(), 1u);
    ASSERT_TRUE(
        sameMinute(armedWith(L"/ALARM Call Tokyo")[0].record.start, localTime(2027, 1, 4, 23, 0)));

    ringAt(localTime(2027, 1, 4, 23, 0, 5));
    // The next ringing is Tokyo's next 07:00, not 07:00 in Berlin.
    ASSERT_TRUE(waitUntil([] {
        auto armed = armedWith(L"/ALARM Call Tokyo");
        return armed.size() == 1 && armed[0].record.start.day == 5;
    })) << device_.deviceLog();
    EXPECT_TRUE(
        sameMinute(armedWith(L"/ALARM Call Tokyo")[0].record.start, localTime(2027, 1, 5, 23, 0)));
}

TEST_F(AlarmProgramTest, TheSnoozeRingsWithoutTouchingTheStoreAndDismissCloses) {
    addDailyAlarm(1);  // 1 minute
    ringAt(localTime(2027, 3, 10, 7, 0, 5));
    ASSERT_TRUE(waitUntil([] { return !armedWith(L"/ALARM Wake up").empty(); }));
    auto rearmed = armedWith(L"/ALARM Wake up");
    auto soundKey = device_.ctl({"key", "softright", "--window", "VORNALARMS"});  // Snooze
    ASSERT_EQ(soundKey.exitCode, 0) << soundKey.err;
    expectClosed();
    auto snoozed = armedWith(L"/ALMSZ Wake up");
    ASSERT_EQ(snoozed.size(), 1u);
    EXPECT_TRUE(sameMinute(snoozed[0].record.start, localTime(2027, 3, 10, 7, 1)));

    // The snooze comes due: the program rings again and leaves the store as it was.
    const auto before = platform::readFile(L"\\windows\\vornalarms.dat");
    platform::clearPlayLog();
    pid_ = 0;
    ringAt(localTime(2027, 3, 10, 7, 1, 0));
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 1; }));
    EXPECT_EQ(platform::readFile(L"\\windows\\vornalarms.dat"), before);
    EXPECT_EQ(armedWith(L"/ALARM Wake up").size(), 1u);
    EXPECT_EQ(armedWith(L"/ALARM Wake up")[0].handle, rearmed[0].handle);

    // Dismiss by the left soft key arms nothing.
    auto dismiss = device_.ctl({"key", "softleft", "--window", "VORNALARMS"});
    ASSERT_EQ(dismiss.exitCode, 0) << dismiss.err;
    expectClosed();
    EXPECT_TRUE(armedWith(L"/ALMSZ Wake up").empty());
}

TEST_F(AlarmProgramTest, APreviewAskedForWhileRingingLeavesTheSnoozeAlone) {
    addDailyAlarm(2);  // 5 minutes
    core::settings::write(alarms::keys::AlarmSound, kQuickSound);
    core::settings::write(alarms::keys::AlarmVol, 2);
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 7, 0, 1));
    auto preview = device_.ctl({"post", "--class", "VORNALARMS", "VornEmbedded", "1"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err;
    ASSERT_TRUE(waitUntil([] { return playsOf(kQuickSound) >= 1; }));
    tapClient(125, 200, 95, 38);
    expectClosed();
    auto snoozed = armedWith(L"/ALMSZ Wake up");
    ASSERT_EQ(snoozed.size(), 1u);
    EXPECT_TRUE(sameMinute(snoozed[0].record.start, localTime(2027, 3, 10, 7, 5)));
}

TEST_F(AlarmProgramTest, DismissByTapClosesAndArmsNothing) {
    addDailyAlarm();
    ringAt(localTime(2027, 3, 10, 7, 0, 1));
    // Taps beside the buttons and the device keys change nothing.
    tapClient(76, 66, 83, 83);
    tapClient(0, 0, 10, 10);
    for (const char* key : {"enter", "back", "up", "a"}) {
        auto pressed = device_.ctl({"key", key, "--window", "VORNALARMS"});
        ASSERT_EQ(pressed.exitCode, 0) << pressed.err;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_NE(alarmWindow(), 0u);
    tapClient(17, 200, 95, 38);
    expectClosed();
    EXPECT_TRUE(armedWith(L"/ALMSZ Wake up").empty());
    EXPECT_EQ(armedWith(L"/ALARM Wake up").size(), 1u);
}

TEST_F(AlarmProgramTest, TheQuickAlarmRingsAndSnoozesFiveMinutes) {
    setDeviceLocal(localTime(2027, 3, 10, 21, 59, 0));
    ASSERT_TRUE(alarms::setQuickAlarm(localTime(2027, 3, 10, 22, 0)));
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 22, 0, 30));
    // The quick alarm that rang is no longer pending.
    ASSERT_TRUE(waitUntil([] { return !alarms::quickAlarmSet(); }));
    ASSERT_TRUE(waitUntil([] { return playsOf(kQuickSound) >= 1; })) << device_.deviceLog();

    // Snoozed at 22:03, it counts from the minute it began ringing.
    setDeviceLocal(localTime(2027, 3, 10, 22, 3, 10));
    tapClient(125, 200, 95, 38);
    expectClosed();
    auto snoozed = armedWith(L"/QUICK");
    ASSERT_EQ(snoozed.size(), 1u);
    EXPECT_TRUE(sameMinute(snoozed[0].record.start, localTime(2027, 3, 10, 22, 5)));
    EXPECT_EQ(core::settings::read(alarms::keys::QuickSetAlarm),
              std::to_wstring(snoozed[0].handle));
}

TEST_F(AlarmProgramTest, AnAlarmDueDuringACallShowsWithoutSound) {
    addDailyAlarm();
    platform::setPhoneStatus(platform::kPhoneCallInProgress);
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 7, 0, 1));
    ASSERT_TRUE(waitUntil([] { return platform::isWindowVisible(alarmWindow()); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(playsOf(kChime), 0u);
    // It still re-armed for tomorrow.
    ASSERT_EQ(armedWith(L"/ALARM Wake up").size(), 1u);
    EXPECT_TRUE(
        sameMinute(armedWith(L"/ALARM Wake up")[0].record.start, localTime(2027, 3, 11, 7, 0)));
}

TEST_F(AlarmProgramTest, AnIncomingCallSilencesTheRinging) {
    addDailyAlarm(3, 1);  // rings for ten minutes unless silenced
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 7, 0, 1));
    ASSERT_TRUE(waitUntil([] { return playsOf(kChime) >= 1; }));
    platform::setPhoneStatus(platform::kPhoneIncomingCall);
    ASSERT_TRUE(waitUntil(
        [] {
            auto log = platform::playLog();
            return !log.empty() && log.back().stopped;
        },
        std::chrono::seconds(5)));
    EXPECT_LT(platform::playLog().back().durationMs, 2600);
    const auto plays = playsOf(kChime);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(playsOf(kChime), plays);
    // The window stays until dismissed.
    EXPECT_NE(alarmWindow(), 0u);
}

TEST_F(AlarmProgramTest, AMissedAlarmRearmsWithoutRinging) {
    addDailyAlarm();
    platform::clearPlayLog();
    // The device was off from before 07:00 until 09:00.
    ringAt(localTime(2027, 3, 10, 9, 0, 0), platform::NotificationOutcome::Missed);
    ASSERT_TRUE(waitUntil([] {
        auto armed = armedWith(L"/ALARM Wake up");
        return armed.size() == 1 && sameMinute(armed[0].record.start, localTime(2027, 3, 11, 7, 0));
    })) << device_.deviceLog();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(alarmWindow(), 0u);
    EXPECT_TRUE(platform::playLog().empty());
    EXPECT_FALSE(alarms::missedAlarms().empty());
}

TEST_F(AlarmProgramTest, AMissedQuickAlarmIsNoLongerPendingAndDoesNotRing) {
    setDeviceLocal(localTime(2027, 3, 10, 21, 59, 0));
    ASSERT_TRUE(alarms::setQuickAlarm(localTime(2027, 3, 10, 22, 0)));
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 23, 0, 0), platform::NotificationOutcome::Missed);
    ASSERT_TRUE(waitUntil([] { return !alarms::quickAlarmSet(); })) << device_.deviceLog();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(alarmWindow(), 0u);
    EXPECT_TRUE(platform::playLog().empty());
    EXPECT_TRUE(platform::userNotificationHandles().empty());
}

TEST_F(AlarmProgramTest, AnUnknownAlarmShowsAnEmptyWindowAndRingsNothing) {
    setDeviceLocal(localTime(2027, 3, 10, 6, 59, 0));
    platform::NotificationRecord r;
    r.application = L"\\windows\\vornalarms.exe";
    r.arguments = L"/ALARM Nobody";
    r.start = localTime(2027, 3, 10, 7, 0);
    ASSERT_NE(platform::setUserNotification(0, r), 0u);
    platform::clearPlayLog();
    ringAt(localTime(2027, 3, 10, 7, 0, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(platform::playLog().empty());
    EXPECT_FALSE(platform::fileExists(L"\\windows\\vornalarms.dat"));
    tapClient(125, 200, 95, 38);  // Snooze has nothing to snooze
    expectClosed();
    EXPECT_TRUE(platform::userNotificationHandles().empty());
}

}  // namespace
