// The repeat rules: the next occurrence of every kind of repeating alarm across month ends,
// leap days, year ends and daylight-saving changes, in the device's time and in a city's.

#include <gtest/gtest.h>

#include "alarms/repeat_rules.h"
#include "tests/alarms/support/alarm_test_support.h"
#include "worldtime/zones.h"

using namespace alarms;
using alarms::test::alarmAt;
using alarms::test::at;
using alarms::test::text;

namespace {

constexpr int kTokyo = 34;    // UTC+9, no daylight saving
constexpr int kNewYork = 47;  // UTC-5, daylight saving from the second Sunday of March

class RepeatRules : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { alarms::test::prepareDevice(); }

    // The next occurrence as the main program arms it (base = the previous occurrence).
    static RepeatResult next(const AlarmRecord& r, const platform::SystemTime& now,
                             std::optional<platform::SystemTime> base = std::nullopt,
                             RepeatCaller caller = RepeatCaller::MainProgram) {
        platform::SystemTime ringAt = now;
        ringAt.hour = static_cast<std::uint16_t>(r.hour());
        ringAt.minute = static_cast<std::uint16_t>(r.minute());
        return getNextRepeatingTimeAt(ringAt, r, r.zone, base, now, caller);
    }
    static std::string found(const AlarmRecord& r, const platform::SystemTime& now,
                             std::optional<platform::SystemTime> base = std::nullopt,
                             RepeatCaller caller = RepeatCaller::MainProgram) {
        RepeatResult result = next(r, now, base, caller);
        if (result.status != RepeatStatus::Found)
            return "status " + std::to_string(static_cast<int>(result.status));
        return text(result.time);
    }
};

}  // namespace

TEST_F(RepeatRules, DailyRingsTodayUntilItsMinuteThenTomorrow) {
    AlarmRecord daily = alarmAt(L"d", RepeatKind::Daily, 7, 0);
    EXPECT_EQ(found(daily, at(2027, 1, 4, 6, 59)), "2027-01-04 07:00:00");
    EXPECT_EQ(found(daily, at(2027, 1, 4, 6, 59, 59)), "2027-01-04 07:00:00");
    // Strictly later: armed at 07:00 exactly it rings tomorrow.
    EXPECT_EQ(found(daily, at(2027, 1, 4, 7, 0)), "2027-01-05 07:00:00");
    // Across the month and the year end.
    EXPECT_EQ(found(daily, at(2027, 1, 31, 8, 0)), "2027-02-01 07:00:00");
    EXPECT_EQ(found(daily, at(2027, 12, 31, 23, 59)), "2028-01-01 07:00:00");
    // The weekday comes out right.
    EXPECT_EQ(next(daily, at(2027, 12, 31, 23, 59)).time.dayOfWeek, 6);
}

TEST_F(RepeatRules, TheBaseIsThePreviousOccurrenceSoASkipMovesOneOn) {
    AlarmRecord daily = alarmAt(L"d", RepeatKind::Daily, 7, 0);
    // The main program searches after the base: skipping tomorrow's ring gives the day after.
    EXPECT_EQ(found(daily, at(2027, 1, 4, 8, 0), at(2027, 1, 5, 7, 0)), "2027-01-06 07:00:00");
    // A base long past (an alarm that was off for weeks) searches from the present.
    EXPECT_EQ(found(daily, at(2027, 3, 1, 8, 0), at(2027, 1, 5, 7, 0)), "2027-03-02 07:00:00");
    // The alarm program compares with the present time, and the base is the ring in hand.
    EXPECT_EQ(
        found(daily, at(2027, 1, 4, 7, 0, 40), at(2027, 1, 4, 7, 0), RepeatCaller::AlarmProgram),
        "2027-01-05 07:00:00");
}

TEST_F(RepeatRules, WeeklyAndCustomRingOnTheirTickedDays) {
    for (RepeatKind kind : {RepeatKind::Weekly, RepeatKind::Custom}) {
        AlarmRecord r = alarmAt(L"w", kind, 7, 0);
        r.dayMask = dayBit::Monday | dayBit::Friday;
        // Saturday 2027-01-09: the next Monday.
        EXPECT_EQ(found(r, at(2027, 1, 9, 10, 0)), "2027-01-11 07:00:00");
        // Friday before its time: today; after it: Monday.
        EXPECT_EQ(found(r, at(2027, 1, 8, 6, 0)), "2027-01-08 07:00:00");
        EXPECT_EQ(found(r, at(2027, 1, 8, 7, 1)), "2027-01-11 07:00:00");
        r.dayMask = dayBit::Sunday;
        // Across the year end to the first Sunday of 2028.
        EXPECT_EQ(found(r, at(2027, 12, 26, 7, 0)), "2028-01-02 07:00:00");
        // Without a ticked day there is no occurrence; the search ends.
        r.dayMask = 0;
        EXPECT_EQ(next(r, at(2027, 1, 9, 10, 0)).status, RepeatStatus::Exhausted);
    }
}

TEST_F(RepeatRules, WorkingDaysSkipTheWeekend) {
    AlarmRecord r = alarmAt(L"w", RepeatKind::WorkingDays, 7, 0);
    r.dayMask = 0;                                                       // not consulted
    EXPECT_EQ(found(r, at(2027, 1, 8, 7, 30)), "2027-01-11 07:00:00");   // Friday after its time
    EXPECT_EQ(found(r, at(2027, 1, 9, 6, 0)), "2027-01-11 07:00:00");    // Saturday
    EXPECT_EQ(found(r, at(2027, 1, 10, 23, 0)), "2027-01-11 07:00:00");  // Sunday night
    EXPECT_EQ(found(r, at(2027, 1, 6, 6, 0)), "2027-01-06 07:00:00");    // Wednesday morning
    // Friday 31 December 2027 after its time: Monday 3 January 2028.
    EXPECT_EQ(found(r, at(2027, 12, 31, 8, 0)), "2028-01-03 07:00:00");
}

TEST_F(RepeatRules, MonthlyOnADayTheMonthLacksRingsOnItsLastDay) {
    AlarmRecord r = alarmAt(L"m", RepeatKind::Monthly, 7, 0);
    r.dayOfMonth = 31;
    EXPECT_EQ(found(r, at(2027, 4, 5, 12, 0)), "2027-04-30 07:00:00");
    EXPECT_EQ(found(r, at(2027, 1, 31, 8, 0)), "2027-02-28 07:00:00");
    EXPECT_EQ(found(r, at(2028, 1, 31, 8, 0)), "2028-02-29 07:00:00");
    // After the clamped day the next month has its 31st again.
    EXPECT_EQ(found(r, at(2027, 2, 28, 7, 0)), "2027-03-31 07:00:00");
    EXPECT_EQ(found(r, at(2027, 12, 31, 7, 0)), "2028-01-31 07:00:00");
    // Skipping from the armed 30 April gives 31 May, not 30 May.
    EXPECT_EQ(found(r, at(2027, 4, 5, 12, 0), at(2027, 4, 30, 7, 0)), "2027-05-31 07:00:00");
    r.dayOfMonth = 15;
    EXPECT_EQ(found(r, at(2027, 4, 15, 6, 0)), "2027-04-15 07:00:00");
    EXPECT_EQ(found(r, at(2027, 4, 15, 7, 0)), "2027-05-15 07:00:00");
    // Stored days outside 1..31 end the search on a real date too.
    for (int day : {0, -4, 32, 1000}) {
        r.dayOfMonth = day;
        RepeatResult result = next(r, at(2027, 2, 10, 12, 0));
        EXPECT_EQ(result.status, RepeatStatus::Found) << day;
        EXPECT_TRUE(platform::isValidSystemTime(result.time)) << day;
    }
}

TEST_F(RepeatRules, YearlyOnTheLeapDayRingsOnThe28thInCommonYears) {
    AlarmRecord r = alarmAt(L"y", RepeatKind::Yearly, 7, 0);
    r.dayOfMonth = 29;
    r.month = 2;
    EXPECT_EQ(found(r, at(2027, 1, 1, 0, 0)), "2027-02-28 07:00:00");
    EXPECT_EQ(found(r, at(2027, 3, 1, 0, 0)), "2028-02-29 07:00:00");
    EXPECT_EQ(found(r, at(2028, 2, 29, 8, 0)), "2029-02-28 07:00:00");
    // Year end: a 31 December alarm seen on 31 December after its time.
    r.dayOfMonth = 31;
    r.month = 12;
    EXPECT_EQ(found(r, at(2027, 12, 31, 7, 0)), "2028-12-31 07:00:00");
    r.month = 13;
    EXPECT_EQ(found(r, at(2027, 6, 1, 0, 0)), "2027-12-31 07:00:00");
    r.month = 4;
    EXPECT_EQ(found(r, at(2027, 1, 1, 0, 0)), "2027-04-30 07:00:00");
}

TEST_F(RepeatRules, ASpringForwardDayKeepsTheAlarmAndTheNextDayFollows) {
    // Europe/Berlin moves from 02:00 to 03:00 on 28 March 2027: 02:30 is skipped. The alarm
    // stays at 02:30 of that day (the device's clock passes it at 03:00) and at 02:30 after.
    AlarmRecord r = alarmAt(L"d", RepeatKind::Daily, 2, 30);
    EXPECT_EQ(found(r, at(2027, 3, 28, 1, 0)), "2027-03-28 02:30:00");
    EXPECT_EQ(
        found(r, at(2027, 3, 28, 3, 0, 5), at(2027, 3, 28, 2, 30), RepeatCaller::AlarmProgram),
        "2027-03-29 02:30:00");
    // On 31 October 2027 02:30 comes twice; ringing at the first does not arm the second.
    EXPECT_EQ(
        found(r, at(2027, 10, 31, 2, 30, 10), at(2027, 10, 31, 2, 30), RepeatCaller::AlarmProgram),
        "2027-11-01 02:30:00");
}

TEST_F(RepeatRules, ACityAlarmRingsAtTheCitysTimeOnTheCitysDays) {
    ASSERT_NE(worldtime::zoneDisplayName(kTokyo).find(L"Tokyo"), std::wstring::npos);
    AlarmRecord r = alarmAt(L"t", RepeatKind::Daily, 7, 0);
    r.zone = kTokyo;
    // 07:00 in Tokyo is 23:00 of the day before in Berlin in winter, 00:00 in summer.
    EXPECT_EQ(found(r, at(2027, 1, 4, 12, 0)), "2027-01-04 23:00:00");
    EXPECT_EQ(found(r, at(2027, 7, 4, 12, 0)), "2027-07-05 00:00:00");
    // Across Berlin's spring change the alarm keeps Tokyo's 07:00.
    EXPECT_EQ(
        found(r, at(2027, 3, 27, 23, 0, 30), at(2027, 3, 27, 23, 0), RepeatCaller::AlarmProgram),
        "2027-03-29 00:00:00");
    // A weekly Monday alarm in Tokyo rings on Sunday evening in Berlin.
    r.kind = RepeatKind::Weekly;
    r.dayMask = dayBit::Monday;
    EXPECT_EQ(found(r, at(2027, 1, 6, 12, 0)), "2027-01-10 23:00:00");

    // New York changes three weeks before Berlin: 08:00 there is 13:00 here, then 14:00.
    ASSERT_NE(worldtime::zoneDisplayName(kNewYork).find(L"New York"), std::wstring::npos);
    AlarmRecord ny = alarmAt(L"n", RepeatKind::Daily, 8, 0);
    ny.zone = kNewYork;
    EXPECT_EQ(found(ny, at(2027, 3, 1, 0, 0)), "2027-03-01 14:00:00");
    EXPECT_EQ(found(ny, at(2027, 3, 20, 0, 0)), "2027-03-20 13:00:00");
    EXPECT_EQ(found(ny, at(2027, 4, 1, 0, 0)), "2027-04-01 14:00:00");
}

TEST_F(RepeatRules, OtherKindsAreNotSearched) {
    for (int kind : {0, 1, 8, -1}) {
        AlarmRecord r = alarmAt(L"x", static_cast<RepeatKind>(kind), 7, 0);
        RepeatResult result = next(r, at(2027, 1, 4, 12, 0));
        EXPECT_EQ(result.status, RepeatStatus::NotRepeating) << kind;
        EXPECT_EQ(result.time.hour, 7);
        EXPECT_EQ(result.time.second, 0);
    }
}

TEST(AddToDateTime, MonthsClampTheDayAndTheWeekendCanBeSkipped) {
    auto t = addToDateTime(at(2027, 1, 31, 7, 0), 0, 0, 0, 1, 0, false);
    ASSERT_TRUE(t);
    EXPECT_EQ(text(*t), "2027-02-28 07:00:00");
    t = addToDateTime(at(2027, 12, 31, 23, 58), 5, 0, 0, 0, 0, false);
    EXPECT_EQ(text(*t), "2028-01-01 00:03:00");
    t = addToDateTime(at(2028, 2, 29, 7, 0), 0, 0, 0, 0, 1, false);
    EXPECT_EQ(text(*t), "2029-02-28 07:00:00");
    t = addToDateTime(at(2027, 1, 8, 7, 0), 0, 0, 1, 0, 0, true);  // Friday + 1 day -> Monday
    EXPECT_EQ(text(*t), "2027-01-11 07:00:00");
    t = addToDateTime(at(2027, 11, 30, 7, 0), 0, 0, 0, 2, 0, false);
    EXPECT_EQ(text(*t), "2028-01-30 07:00:00");
    platform::SystemTime invalid = at(2027, 1, 1);
    invalid.month = 13;
    EXPECT_FALSE(addToDateTime(invalid, 1, 0, 0, 0, 0, false));
}
