// The quick alarm and the snooze notifications the alarm program arms.

#include <gtest/gtest.h>

#include "alarms/alarm_store.h"
#include "alarms/quick_alarm.h"
#include "alarms/settings_keys.h"
#include "platform/api/notifications.h"
#include "tests/alarms/support/alarm_test_support.h"

using namespace alarms;
using alarms::test::alarmAt;
using alarms::test::at;
using alarms::test::setDeviceLocalTime;
using alarms::test::text;

namespace {

class QuickAlarm : public ::testing::Test {
  protected:
    void SetUp() override { alarms::test::prepareDevice(); }

    static platform::NotificationHandle stored() {
        return static_cast<platform::NotificationHandle>(
            std::stoul(core::settings::read(keys::QuickSetAlarm)));
    }
};

}  // namespace

TEST_F(QuickAlarm, SettingReplacesThePendingOneAndCancellingClearsIt) {
    EXPECT_FALSE(quickAlarmSet());
    ASSERT_TRUE(setQuickAlarm(at(2027, 1, 4, 13, 15, 42)));
    EXPECT_TRUE(quickAlarmSet());
    platform::NotificationHandle first = stored();
    auto n = platform::userNotification(first);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->arguments, L"/QUICK");
    EXPECT_EQ(n->application, L"\\windows\\vornalarms.exe");
    EXPECT_EQ(text(n->start), "2027-01-04 13:15:00");

    ASSERT_TRUE(setQuickAlarm(at(2027, 1, 4, 14, 0)));
    EXPECT_NE(stored(), first);
    EXPECT_EQ(platform::userNotificationSize(first), 0u);
    EXPECT_EQ(platform::userNotificationHandles().size(), 1u);

    cancelQuickAlarm();
    EXPECT_FALSE(quickAlarmSet());
    EXPECT_EQ(core::settings::read(keys::QuickSetAlarm), L"0");
    EXPECT_TRUE(platform::userNotificationHandles().empty());
    // Cancelling again is harmless.
    cancelQuickAlarm();
    EXPECT_FALSE(quickAlarmSet());
}

TEST_F(QuickAlarm, ARefusedQuickAlarmLeavesNoneSet) {
    platform::SystemTime invalid = at(2027, 1, 4, 13, 0);
    invalid.month = 14;
    EXPECT_FALSE(setQuickAlarm(invalid));
    EXPECT_FALSE(quickAlarmSet());
    EXPECT_EQ(core::settings::read(keys::QuickSetAlarm), L"0");
}

TEST_F(QuickAlarm, SnoozeCountsFromTheMinuteTheRingingStarted) {
    setDeviceLocalTime(at(2027, 1, 4, 6, 0));
    AlarmStore store;
    ASSERT_EQ(store.addNew(alarmAt(L"Morning", RepeatKind::Daily, 7, 0)), EditResult::Saved);
    const std::string before = text(*store.armedStart());
    // Snooze pressed three minutes into a ringing that began at 07:00:40.
    setDeviceLocalTime(at(2027, 1, 4, 7, 3, 40));
    platform::NotificationHandle h = armSnooze(L"Morning", at(2027, 1, 4, 7, 0, 40), 5);
    ASSERT_NE(h, 0u);
    auto n = platform::userNotification(h);
    EXPECT_EQ(n->arguments, L"/ALMSZ Morning");
    EXPECT_EQ(text(n->start), "2027-01-04 07:05:00");
    // The snooze leaves the store alone.
    store.reload();
    ASSERT_TRUE(store.select(L"Morning"));
    EXPECT_EQ(text(*store.armedStart()), before);
    EXPECT_NE(store.handle(), h);

    // The alarm's own choice: 30 minutes, across midnight.
    h = armSnooze(L"Late", at(2027, 12, 31, 23, 45, 10), snoozeMinutes(5));
    EXPECT_EQ(text(platform::userNotification(h)->start), "2028-01-01 00:15:00");
}

TEST_F(QuickAlarm, SnoozingTheQuickAlarmReplacesItsHandle) {
    ASSERT_TRUE(setQuickAlarm(at(2027, 1, 4, 7, 0)));
    // The alarm program clears the quick alarm as it starts ringing, then snoozes.
    cancelQuickAlarm();
    platform::NotificationHandle h = armSnooze(L"", at(2027, 1, 4, 7, 0, 59), kQuickSnoozeMinutes);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(stored(), h);
    auto n = platform::userNotification(h);
    EXPECT_EQ(n->arguments, L"/QUICK");
    EXPECT_EQ(text(n->start), "2027-01-04 07:05:00");
}
