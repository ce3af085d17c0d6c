// The home-mode screen as a person meets it: the program opens on it, a tap on the alarm
// button shows the quick alarm, the keys pick a minute later and set it, and the
// notification service then holds "/QUICK" for that minute; pressing the button again
// clears it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// A 240x320 screen: the window starts below the 26-pixel task bar; the mode buttons stand
// in a row at the bottom of the page (y 214 to 264 of the window), the alarm's the fourth.
constexpr int kTaskBar = 26;
constexpr int kHome = 10;

class HomeScreenFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        // Tuesday 8 December 2026, early in a minute, so that the test ends within it.
        ask({"clock", "--at", "2026-12-08T10:30:02Z"});
        startProgram(kHome);
    }

    static std::vector<platform::NotificationRecord> quickNotifications() {
        std::vector<platform::NotificationRecord> found;
        for (platform::NotificationHandle h : platform::userNotificationHandles()) {
            if (auto r = platform::userNotification(h); r && r->arguments == L"/QUICK")
                found.push_back(*r);
        }
        return found;
    }
};

TEST_F(HomeScreenFlowTest, SettingTheQuickAlarmArmsItsNotificationAndCancellingClearsIt) {
    std::string shown = ask({"app", "home"});
    EXPECT_EQ(shown.rfind("mode 1; city London;", 0), 0u) << shown;
    tap(208, kTaskBar + 239);
    ASSERT_TRUE(waitUntil([&] {
        return ask({"app", "home"}).rfind("mode 4;", 0) == 0;
    })) << ask({"app", "home"});
    platform::SystemTime now = platform::deviceLocalTime();
    // Left to the set button, right to the last digit, up one minute, Enter sets it.
    for (const char* k : {"left", "right", "right", "right", "up", "enter"}) key(k);
    ASSERT_TRUE(waitUntil([&] { return quickNotifications().size() == 1; }))
        << ask({"notifications", "list"});
    platform::NotificationRecord armed = quickNotifications()[0];
    EXPECT_EQ(armed.application, L"\\windows\\vornalarms.exe");
    int expectedMinute = (now.minute % 10 == 9) ? now.minute - 9 : now.minute + 1;
    EXPECT_EQ(armed.start.hour, now.hour);
    EXPECT_EQ(armed.start.minute, expectedMinute);
    EXPECT_EQ(armed.start.second, 0);
    shown = ask({"app", "home"});
    EXPECT_NE(shown.find("alarm set"), std::string::npos) << shown;
    EXPECT_NE(registryValue("QuickSetAlarm"), "0");

    // The focus is still on the button: Enter again cancels the alarm.
    key("enter");
    ASSERT_TRUE(waitUntil([&] { return quickNotifications().empty(); }))
        << ask({"notifications", "list"});
    EXPECT_EQ(registryValue("QuickSetAlarm"), "0");
    EXPECT_NE(ask({"app", "home"}).find("alarm off"), std::string::npos);
}

}  // namespace
