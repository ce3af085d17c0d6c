// An alarm made in the alarm editor as a person would: the list by the stylus, the name typed,
// "Every day" chosen from the repeat list, 07:00 typed into the time picker, saved with the
// left soft key. The list then shows the alarm, the store holds it and the notification
// service holds "/ALARM" with its name for the next 07:00; when the device clock reaches it
// the alarm program rings, re-arms the next day and closes on Dismiss.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// A 240x320 screen: the window starts below the 26-pixel task bar. The list's first row is
// at the top of the window; the editor's repeat list is its third row (y 50 to 70) and the
// time picker the fourth (x 58 to 172, y 73 to 93).
constexpr int kTaskBar = 26;
constexpr int kAlarms = 41, kEditor = 42;

class AlarmFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string",
             std::to_string(kAlarms)});
        // Tuesday 8 December 2026, 10:30 UTC: 07:00 has passed, so the alarm rings tomorrow.
        ask({"clock", "--at", "2026-12-08T10:30:00Z"});
        startProgram(kAlarms);
    }

    // A device-local moment in December 2026 as the UTC text `ctl clock --at` takes.
    static std::string isoAt(int day, int hour, int minute, int second) {
        platform::SystemTime local{2026,
                                   12,
                                   0,
                                   static_cast<std::uint16_t>(day),
                                   static_cast<std::uint16_t>(hour),
                                   static_cast<std::uint16_t>(minute),
                                   static_cast<std::uint16_t>(second),
                                   0};
        auto utc = platform::localToUtc(local);
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc->year, utc->month,
                      utc->day, utc->hour, utc->minute, utc->second);
        return std::string(text);
    }
    // A daily alarm at 07:00 made in the editor; the sound list's row (1 vibrate).
    void makeDailyAtSeven(int soundRow) {
        tap(100, kTaskBar + 16);  // "New alarm"
        ASSERT_TRUE(waitForModule(kEditor));
        tap(120, kTaskBar + 60);  // every day
        key("up");
        key("up");
        key("enter");
        tap(63, kTaskBar + 83);
        for (const char* k : {"0", "7", "right", "0", "0"}) key(k);
        if (soundRow > 1) {
            tap(100, kTaskBar + 185);
            for (int i = 1; i < soundRow; ++i) key("down");
            key("enter");
        }
        key("softleft");
        ASSERT_TRUE(waitForModule(kAlarms));
    }

    std::vector<platform::NotificationRecord> alarmNotifications() {
        std::vector<platform::NotificationRecord> found;
        for (platform::NotificationHandle h : platform::userNotificationHandles()) {
            if (auto r = platform::userNotification(h); r && r->arguments.starts_with(L"/ALARM"))
                found.push_back(*r);
        }
        return found;
    }
};

TEST_F(AlarmFlowTest, ADailyAlarmAtSevenMadeByStylusAndKeysIsListedAndArmed) {
    EXPECT_EQ(ask({"app", "alarms"}), "selected 1; No alarm is set.");
    tap(100, kTaskBar + 16);  // "New alarm"
    ASSERT_TRUE(waitForModule(kEditor));
    // The name box: the caret after "Alarm", five back-spaces, then the new name.
    tap(200, kTaskBar + 14);
    for (int i = 0; i < 5; ++i) key("backspace");
    ask({"type", "Wake"});
    // The repeat list opens on "Working days"; two up is "Every day".
    tap(120, kTaskBar + 60);
    key("up");
    key("up");
    key("enter");
    // The time picker, on its hours: hours, then minutes.
    tap(63, kTaskBar + 83);
    for (const char* k : {"0", "7", "right", "0", "0"}) key(k);
    key("softleft");
    ASSERT_TRUE(waitForModule(kAlarms));

    std::string rows = ask({"app", "alarms"});
    EXPECT_NE(rows.find(" Wake | Every day;"), std::string::npos) << rows;
    EXPECT_NE(rows.find("selected 2; Alarm : Wake; Time to get up!; "), std::string::npos) << rows;

    auto stored = platform::readFile(L"\\windows\\vornalarms.dat");
    ASSERT_TRUE(stored);
    std::string text(stored->begin(), stored->end());
    EXPECT_NE(text.find("Wake~Time to get up!~9999~Vibrate~2~25200000~"), std::string::npos)
        << text;

    auto armed = alarmNotifications();
    ASSERT_EQ(armed.size(), 1u);
    EXPECT_EQ(armed[0].arguments, L"/ALARM Wake");
    EXPECT_EQ(armed[0].application, L"\\windows\\vornalarms.exe");
    // The next 07:00 in the device's local time after the present.
    platform::SystemTime now = platform::deviceLocalTime();
    platform::SystemTime expected = now;
    expected.hour = 7;
    expected.minute = 0;
    expected.second = 0;
    expected.milliseconds = 0;
    auto at = platform::toFileTime(expected);
    ASSERT_TRUE(at);
    if (*at <= *platform::toFileTime(now))
        *at += 24 * 3600 * platform::kFileTimeTicksPerSecond;
    auto next = platform::toSystemTime(*at);
    ASSERT_TRUE(next);
    EXPECT_EQ(armed[0].start.year, next->year);
    EXPECT_EQ(armed[0].start.month, next->month);
    EXPECT_EQ(armed[0].start.day, next->day);
    EXPECT_EQ(armed[0].start.hour, 7);
    EXPECT_EQ(armed[0].start.minute, 0);
}

TEST_F(AlarmFlowTest, TheAlarmMadeInTheEditorRingsAtSevenAndIsReArmedForTheNextDay) {
    makeDailyAtSeven(2);  // the first sound after "Vibrate"
    std::string listed = ask({"notifications", "list"});
    EXPECT_NE(listed.find("/ALARM Alarm"), std::string::npos) << listed;
    ask({"sound", "--clear"});

    // One second before seven nothing rings; at seven the alarm program starts.
    ask({"clock", "--at", isoAt(9, 6, 59, 59)});
    EXPECT_EQ(device_.ctl({"wait-window", "VORNALARMS", "--timeout", "300"}).exitCode == 0, false);
    ask({"clock", "--at", isoAt(9, 7, 0, 1)});
    ASSERT_EQ(device_.ctl({"wait-window", "VORNALARMS", "--timeout", "30000"}).exitCode, 0)
        << device_.deviceLog();
    // The program re-armed the alarm for the next day before it rang.
    ASSERT_TRUE(waitUntil([&] {
        auto armed = alarmNotifications();
        return armed.size() == 1 && armed[0].start.day == 10 && armed[0].start.hour == 7;
    })) << ask({"notifications", "list"});
    // The sound is playing: the headless device logs every play.
    ASSERT_TRUE(waitUntil([&] { return ask({"sound"}).find("Alarm1.wav") != std::string::npos; }))
        << ask({"sound"});
    // Dismiss closes it.
    ask({"--window", "VORNALARMS", "key", "softleft"});
    EXPECT_TRUE(waitUntil([&] { return ask({"windows"}).find("VORNALARMS") == std::string::npos; }))
        << ask({"windows"});
}

TEST_F(AlarmFlowTest, AnAlarmMissedWhileTheDeviceWasOffIsShownInTheList) {
    makeDailyAtSeven(1);
    // The device comes back at nine: the alarm came due two hours ago.
    ask({"clock", "--at", isoAt(9, 9, 0, 0)});
    ASSERT_TRUE(waitUntil([&] {
        auto armed = alarmNotifications();
        return armed.size() == 1 && armed[0].start.day == 10;
    })) << ask({"notifications", "runs"});
    EXPECT_EQ(device_.ctl({"wait-window", "VORNALARMS", "--timeout", "300"}).exitCode == 0, false)
        << "a missed alarm does not ring";
    // The list refreshes every five seconds; the alarm's panel names the missed ringing.
    key("down");
    EXPECT_TRUE(waitUntil([&] {
        return ask({"app", "alarms"}).find("; Expired : ") != std::string::npos;
    })) << ask({"app", "alarms"});
}

}  // namespace
