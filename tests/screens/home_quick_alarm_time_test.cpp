// The quick alarm's time picker and the moment a picked time rings.

#include <gtest/gtest.h>

#include "home/screens/alarm_time_picker.h"

namespace home {
namespace {

platform::SystemTime local(int year, int month, int day, int hour, int minute, int second) {
    return {static_cast<std::uint16_t>(year),
            static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day)),
            static_cast<std::uint16_t>(day),
            static_cast<std::uint16_t>(hour),
            static_cast<std::uint16_t>(minute),
            static_cast<std::uint16_t>(second),
            0};
}

TEST(AlarmTimePicker, DigitsStepWithinATimeOfDay) {
    AlarmTimePicker picker;
    picker.setTime(19, 45);
    EXPECT_EQ(picker.valueMs(), (19 * 60 + 45) * 60000);
    // Tens of hours: 1 -> 2 leaves 29, which comes down to 23; 2 -> 0 wraps.
    picker.select(0);
    picker.step(1);
    EXPECT_EQ(picker.hour(), 23);
    picker.step(1);
    EXPECT_EQ(picker.hour(), 3);
    picker.step(-1);
    EXPECT_EQ(picker.hour(), 23);
    // Units of a 2x hour go to 3 and wrap to 0.
    picker.select(1);
    picker.step(1);
    EXPECT_EQ(picker.hour(), 20);
    picker.step(-1);
    EXPECT_EQ(picker.hour(), 23);
    // Tens of minutes stop at 5.
    picker.select(2);
    picker.step(1);
    EXPECT_EQ(picker.minute(), 55);
    picker.step(1);
    EXPECT_EQ(picker.minute(), 5);
    picker.select(3);
    picker.step(-1);
    EXPECT_EQ(picker.minute(), 4);
    // Out-of-range times are clamped, never shown as 99:99.
    picker.setTime(31, 75);
    EXPECT_EQ(picker.hour(), 23);
    EXPECT_EQ(picker.minute(), 59);
}

TEST(AlarmTimePicker, TheSelectionStopsAtBothEnds) {
    AlarmTimePicker picker;
    EXPECT_EQ(picker.selected(), 0);
    EXPECT_FALSE(picker.moveSelection(-1));
    EXPECT_EQ(picker.selected(), 0);
    EXPECT_TRUE(picker.moveSelection(1));
    EXPECT_TRUE(picker.moveSelection(1));
    EXPECT_TRUE(picker.moveSelection(1));
    EXPECT_EQ(picker.selected(), 3);
    EXPECT_FALSE(picker.moveSelection(1));
    EXPECT_EQ(picker.selected(), 3);
}

TEST(QuickAlarmMoment, AMomentNotLaterThanNowMovesToTomorrow) {
    // 07:00 picked at 07:00:30 has passed: tomorrow.
    auto moment = quickAlarmMoment(local(2026, 12, 8, 7, 0, 30), 7, 0);
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->day, 9);
    EXPECT_EQ(moment->hour, 7);
    EXPECT_EQ(moment->minute, 0);
    EXPECT_EQ(moment->second, 0);
    // Exactly now is not later than now either.
    moment = quickAlarmMoment(local(2026, 12, 8, 7, 0, 0), 7, 0);
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->day, 9);
    // 07:01 at 07:00:59 is still today.
    moment = quickAlarmMoment(local(2026, 12, 8, 7, 0, 59), 7, 1);
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->day, 8);
    EXPECT_EQ(moment->minute, 1);
    // The last minute of the year rolls into the next.
    moment = quickAlarmMoment(local(2026, 12, 31, 23, 59, 10), 6, 30);
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->year, 2027);
    EXPECT_EQ(moment->month, 1);
    EXPECT_EQ(moment->day, 1);
    EXPECT_EQ(moment->hour, 6);
    // Leap day.
    moment = quickAlarmMoment(local(2028, 2, 28, 22, 0, 0), 5, 0);
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->month, 2);
    EXPECT_EQ(moment->day, 29);
    EXPECT_FALSE(quickAlarmMoment(local(2026, 13, 1, 0, 0, 0), 7, 0));
}

TEST(QuickAlarmMoment, TodayOrTomorrowGoesByTheMinute) {
    AlarmTimePicker picker;
    picker.setTime(7, 1);
    EXPECT_TRUE(ringsToday(local(2026, 12, 8, 7, 0, 59), picker.valueMs()));
    EXPECT_FALSE(ringsToday(local(2026, 12, 8, 7, 1, 0), picker.valueMs()));
    EXPECT_FALSE(ringsToday(local(2026, 12, 8, 22, 0, 0), picker.valueMs()));
}

}  // namespace
}  // namespace home
