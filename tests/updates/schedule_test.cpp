// The next scheduled update: its window over midnight, month and year ends, leap days and
// daylight-saving changes, and its one notification for the comms program.

#include <gtest/gtest.h>

#include "core/comms.h"
#include "core/settings.h"
#include "platform/api/notifications.h"
#include "tests/updates/support/updates_test_support.h"
#include "updates/schedule.h"

using namespace updates;
using updates::test::at;
using updates::test::setting;
using updates::test::text;

namespace {

std::string next(const platform::SystemTime& now, int hours, int start, int end) {
    auto t = nextUpdateTime(now, hours, start, end);
    return t ? text(*t) : "none";
}

std::vector<platform::NotificationRecord> scheduleRecords() {
    std::vector<platform::NotificationRecord> out;
    for (auto h : platform::userNotificationHandles()) {
        auto r = platform::userNotification(h);
        if (r && r->arguments == L"/schedule")
            out.push_back(*r);
    }
    return out;
}

class ScheduleTest : public ::testing::Test {
  protected:
    void SetUp() override { updates::test::prepareDevice(); }
    static void choose(int hours, int start, int end) {
        core::writeNumberSetting(L"OptScheduler", hours);
        core::writeNumberSetting(L"OptSchedStartTime", start);
        core::writeNumberSetting(L"OptSchedEndTime", end);
    }
};

}  // namespace

TEST(NextUpdateTime, TakesTheFirstHourOfTheWindowThatIsStillAhead) {
    // Every six hours from 7 to 23 at 22:30: 07, 13 and 19 are past and 01 lies outside.
    EXPECT_EQ(next(at(2027, 1, 4, 22, 30), 6, 7, 23), "2027-01-05 07:00");
    // Daily from 7 at 06:00 runs today.
    EXPECT_EQ(next(at(2027, 1, 4, 6, 0), 24, 7, 23), "2027-01-04 07:00");
    // The hour now is never taken, even when its minute zero is still ahead of the seconds.
    EXPECT_EQ(next(at(2027, 1, 4, 7, 0), 24, 7, 23), "2027-01-05 07:00");
    // Without a window the interval runs from now.
    EXPECT_EQ(next(at(2027, 1, 4, 14, 10), 4, -1, 0), "2027-01-04 18:10");
    EXPECT_EQ(next(at(2027, 1, 4, 14, 10), 168, -1, 0), "2027-01-11 14:10");
}

TEST(NextUpdateTime, AWindowOverMidnightAcceptsTheHoursOnBothSides) {
    // From 22 to 2 every two hours: 22, 0 and 2 are taken, 4 to 20 are not.
    EXPECT_EQ(next(at(2027, 1, 4, 12, 0), 2, 22, 2), "2027-01-04 22:00");
    EXPECT_EQ(next(at(2027, 1, 4, 22, 15), 2, 22, 2), "2027-01-05 00:00");
    EXPECT_EQ(next(at(2027, 1, 5, 0, 30), 2, 22, 2), "2027-01-05 02:00");
    EXPECT_EQ(next(at(2027, 1, 5, 2, 30), 2, 22, 2), "2027-01-05 22:00");
    EXPECT_TRUE(hourInWindow(23, 22, 2));
    EXPECT_TRUE(hourInWindow(1, 22, 2));
    EXPECT_FALSE(hourInWindow(3, 22, 2));
    EXPECT_FALSE(hourInWindow(21, 22, 2));
}

TEST(NextUpdateTime, EqualStartAndEndAcceptEveryHour) {
    EXPECT_EQ(next(at(2027, 1, 4, 14, 10), 1, 9, 9), "2027-01-04 15:00");
    for (int hour = 0; hour < 24; ++hour) EXPECT_TRUE(hourInWindow(hour, 9, 9)) << hour;
}

TEST(NextUpdateTime, CrossesMonthYearAndLeapDayEnds) {
    EXPECT_EQ(next(at(2027, 1, 31, 23, 30), 1, 0, 23), "2027-02-01 00:00");
    EXPECT_EQ(next(at(2027, 4, 30, 22, 30), 6, 7, 23), "2027-05-01 07:00");
    EXPECT_EQ(next(at(2027, 12, 31, 22, 30), 6, 7, 23), "2028-01-01 07:00");
    EXPECT_EQ(next(at(2027, 12, 31, 20, 0), 48, -1, 0), "2028-01-02 20:00");
    EXPECT_EQ(next(at(2028, 2, 28, 23, 10), 24, 7, 23), "2028-02-29 07:00");
    EXPECT_EQ(next(at(2027, 2, 28, 23, 10), 24, 7, 23), "2027-03-01 07:00");
    EXPECT_EQ(next(at(2028, 2, 29, 12, 0), 168, -1, 0), "2028-03-07 12:00");
    // The window starts on the day before now: 1 March's day before is a leap day.
    // 23:00 on 29 February is past and 11:00 lies outside the window.
    EXPECT_EQ(next(at(2028, 3, 1, 0, 30), 12, 23, 1), "2028-03-01 23:00");
}

TEST(NextUpdateTime, KeepsLocalClockHoursAcrossDaylightSavingChanges) {
    // Europe: clocks go forward on 28 March 2027 and back on 31 October 2027. A daily update
    // stays at 07:00 local on both sides.
    EXPECT_EQ(next(at(2027, 3, 27, 22, 0), 24, 7, 23), "2027-03-28 07:00");
    EXPECT_EQ(next(at(2027, 10, 30, 22, 0), 24, 7, 23), "2027-10-31 07:00");
    EXPECT_EQ(next(at(2027, 3, 28, 1, 30), 1, -1, 0), "2027-03-28 02:30");
}

TEST(NextUpdateTime, IsAlwaysAheadInsideTheWindowForEveryChoice) {
    const int intervals[] = {1, 2, 4, 6, 12, 24, 48, 168};
    const platform::SystemTime nows[] = {at(2027, 1, 4, 0, 0), at(2027, 1, 4, 6, 59),
                                         at(2027, 12, 31, 23, 59), at(2028, 2, 29, 13, 30)};
    for (int hours : intervals) {
        for (int start = 0; start < 24; start += 5) {
            for (int end = 0; end < 24; end += 7) {
                for (const auto& now : nows) {
                    auto t = nextUpdateTime(now, hours, start, end);
                    ASSERT_TRUE(t);
                    auto ticks = *platform::toFileTime(*t);
                    EXPECT_GE(ticks, *platform::toFileTime(now))
                        << hours << " " << start << "-" << end << " " << text(now);
                    EXPECT_TRUE(hourInWindow(t->hour, start, end)) << text(*t);
                }
            }
        }
    }
}

TEST(NextUpdateTime, RefusesIntervalsAndHoursThatAreNotOffered) {
    EXPECT_EQ(next(at(2027, 1, 4, 12, 0), 0, 7, 23), "none");
    EXPECT_EQ(next(at(2027, 1, 4, 12, 0), 5, 7, 23), "none");
    EXPECT_EQ(next(at(2027, 1, 4, 12, 0), 6, 24, 23), "none");
    EXPECT_EQ(next(at(2027, 1, 4, 12, 0), 6, 7, -3), "none");
}

TEST_F(ScheduleTest, SetsOneNotificationForTheCommsProgramWithItsDisplayText) {
    updates::test::setDeviceLocalTime(at(2027, 1, 4, 22, 30));
    choose(6, 7, 23);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    auto records = scheduleRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].application, core::kCommsProgramPath);
    EXPECT_EQ(records[0].kind, platform::NotificationKind::Time);
    EXPECT_EQ(text(records[0].start), "2027-01-05 07:00");
    auto handle = core::readNumberSetting(L"ScheduledUpdate", 0);
    EXPECT_TRUE(platform::userNotification(static_cast<platform::NotificationHandle>(handle)));
    EXPECT_EQ(setting(L"ScheduledUpdateNextDisp"), "Next update at 7:00 AM on 1/5/2027")
        << "string 500 with the time and the short date";
}

TEST_F(ScheduleTest, ReschedulingReplacesThePendingNotificationAndOneLeftBehind) {
    choose(1, -1, 0);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    EXPECT_EQ(scheduleRecords().size(), 1u);
    // A handle that was lost (the setting written over) still leaves one notification.
    core::writeNumberSetting(L"ScheduledUpdate", 0);
    core::writeNumberSetting(L"ErrorUpdate", 0);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    EXPECT_EQ(scheduleRecords().size(), 1u);
}

TEST_F(ScheduleTest, ClearsTheErrorNotificationOfTheCommsProgram) {
    platform::NotificationRecord retry;
    retry.application = core::kCommsProgramPath;
    retry.arguments = L"/retry";
    retry.start = at(2027, 1, 4, 13, 0);
    auto handle = platform::setUserNotification(0, retry);
    ASSERT_NE(handle, 0u);
    core::writeNumberSetting(L"ErrorUpdate", static_cast<int>(handle));
    choose(12, -1, 0);
    scheduleNextUpdate();
    EXPECT_FALSE(platform::userNotification(handle));
    EXPECT_EQ(setting(L"ErrorUpdate"), "0");
}

TEST_F(ScheduleTest, IntervalZeroClearsThePendingUpdateAndSaysUpdatesAreOff) {
    choose(2, -1, 0);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    choose(0, -1, 0);
    EXPECT_EQ(scheduleNextUpdate(), ScheduleOutcome::Off);
    EXPECT_TRUE(scheduleRecords().empty());
    EXPECT_EQ(setting(L"ScheduledUpdate"), "0");
    EXPECT_EQ(setting(L"ScheduledUpdateNextDisp"), "Automatic updates are off.");
}

TEST_F(ScheduleTest, AnIntervalThatIsNotOfferedCountsAsOff) {
    choose(5, -1, 0);
    EXPECT_EQ(scheduleNextUpdate(), ScheduleOutcome::Off);
    EXPECT_TRUE(scheduleRecords().empty());
}

TEST_F(ScheduleTest, AbsentWindowHoursScheduleWithoutAWindow) {
    core::writeNumberSetting(L"OptScheduler", 4);
    updates::test::setDeviceLocalTime(at(2027, 1, 4, 23, 20));
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    auto records = scheduleRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(text(records[0].start), "2027-01-05 03:20");
}

TEST_F(ScheduleTest, TheNotificationStartsTheCommsProgramWhenItComesDue) {
    choose(1, -1, 0);
    ASSERT_EQ(scheduleNextUpdate(), ScheduleOutcome::Scheduled);
    updates::test::setDeviceLocalTime(at(2027, 1, 4, 13, 0));
    auto runs = platform::runDueNotifications();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].record.arguments, L"/schedule");
    EXPECT_EQ(updates::test::commsStarts(1), 1);
}
