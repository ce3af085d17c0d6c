// Date arithmetic through file times, and numbers printed and read by the locale.

#include <gtest/gtest.h>

#include <limits>

#include "platform/api/locale.h"
#include "tests/platform/support/test_device.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/date_helpers.h"

using namespace worldtime;
using worldtime::test::at;
using worldtime::test::text;

namespace {

std::string shifted(const char* from, std::int64_t minutes, std::int64_t hours, std::int64_t days,
                    std::int64_t months, std::int64_t years, bool skipWeekend = false) {
    auto result = shiftDateTime(at(from), minutes, hours, days, months, years, skipWeekend);
    return result ? text(*result) : "none";
}

std::string unshifted(const char* from, std::int64_t minutes, std::int64_t hours, std::int64_t days,
                      std::int64_t months, std::int64_t years, bool skipWeekend = false) {
    auto result = unshiftDateTime(at(from), minutes, hours, days, months, years, skipWeekend);
    return result ? text(*result) : "none";
}

class Numbers : public ::testing::Test {
  protected:
    void SetUp() override { platform::test::useTestDevice(); }
    void TearDown() override { platform::setUserInterfaceLanguage(0x0409); }
};

}  // namespace

TEST(DayNumber, JulianDayNumbers) {
    EXPECT_EQ(dayNumber(1, 1, 2000), 2451545);
    EXPECT_EQ(dayNumber(10, 15, 1582), 2299161);  // first day of the Gregorian calendar
    EXPECT_EQ(dayNumber(3, 1, 2024) - dayNumber(2, 28, 2024), 2);
    EXPECT_EQ(dayNumber(3, 1, 2100) - dayNumber(2, 28, 2100), 1);
    EXPECT_EQ(dayNumber(3, 1, 2000) - dayNumber(2, 28, 2000), 2);
    EXPECT_EQ(dayNumber(1, 1, 2026) - dayNumber(1, 1, 2025), 365);
}

TEST(ShiftDateTime, AddsThroughFileTime) {
    EXPECT_EQ(shifted("2025-12-31T23:30", 45, 0, 0, 0, 0), "2026-01-01T00:15");
    EXPECT_EQ(shifted("2025-03-01T00:00", 0, -1, 0, 0, 0), "2025-02-28T23:00");
    EXPECT_EQ(shifted("2024-02-28T12:00", 0, 12, 1, 0, 0), "2024-03-01T00:00");
    EXPECT_EQ(shifted("2025-12-15T08:00", 0, 0, 0, 1, 0), "2026-01-15T08:00");
    EXPECT_EQ(shifted("2025-01-15T08:00", 0, 0, 0, 25, 1), "2028-02-15T08:00");
    EXPECT_EQ(unshifted("2026-01-15T08:00", 0, 0, 0, 1, 0), "2025-12-15T08:00");
    EXPECT_EQ(unshifted("2025-03-01T00:10", 20, 0, 0, 0, 0), "2025-02-28T23:50");
    EXPECT_EQ(shifted("2025-05-05T05:05", 0, 0, 0, 0, 0), "2025-05-05T05:05");
}

TEST(ShiftDateTime, ClampsToTheMonthsLastDay) {
    EXPECT_EQ(shifted("2025-01-31T10:00", 0, 0, 0, 1, 0), "2025-02-28T10:00");
    EXPECT_EQ(shifted("2024-01-31T10:00", 0, 0, 0, 1, 0), "2024-02-29T10:00");
    EXPECT_EQ(shifted("2100-01-31T10:00", 0, 0, 0, 1, 0), "2100-02-28T10:00");
    EXPECT_EQ(shifted("2000-01-31T10:00", 0, 0, 0, 1, 0), "2000-02-29T10:00");
    EXPECT_EQ(shifted("2024-02-29T10:00", 0, 0, 0, 0, 1), "2025-02-28T10:00");
    EXPECT_EQ(unshifted("2025-03-31T10:00", 0, 0, 0, 1, 0), "2025-02-28T10:00");
    EXPECT_EQ(shifted("2025-08-31T10:00", 0, 0, 0, 1, 0), "2025-09-30T10:00");
}

TEST(ShiftDateTime, WeekendSkipMovesForward) {
    // 2025-06-07 is a Saturday, 2025-06-08 a Sunday.
    EXPECT_EQ(shifted("2025-06-06T09:00", 0, 0, 1, 0, 0, true), "2025-06-09T09:00");
    EXPECT_EQ(shifted("2025-06-06T09:00", 0, 0, 2, 0, 0, true), "2025-06-09T09:00");
    EXPECT_EQ(unshifted("2025-06-09T09:00", 0, 0, 1, 0, 0, true), "2025-06-09T09:00");
    EXPECT_EQ(shifted("2025-06-06T09:00", 0, 0, 3, 0, 0, true), "2025-06-09T09:00");
    EXPECT_EQ(shiftDateTime(at("2025-06-06T09:00"), 0, 0, 3, 0, 0, true)->dayOfWeek, 1);
}

TEST(ShiftDateTime, HugeCountsAndBadInputEndWithoutLooping) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(shifted("2025-01-01T00:00", 0, 0, 0, kMax, 0), "none");
    EXPECT_EQ(shifted("2025-01-01T00:00", 0, 0, 0, 0, kMax), "none");
    EXPECT_EQ(shifted("2025-01-01T00:00", kMax, 0, 0, 0, 0), "none");
    EXPECT_EQ(shifted("2025-01-01T00:00", 0, 0, kMax / 2, 0, 0), "none");
    EXPECT_EQ(shifted("2025-01-01T00:00", 0, 0, 0, 12 * 30000, 0), "none");
    EXPECT_EQ(unshifted("1601-01-01T00:00", 1, 0, 0, 0, 0), "none");
    EXPECT_EQ(shifted("2025-02-30T00:00", 0, 0, 1, 0, 0), "none");
    EXPECT_EQ(shifted("2025-01-01T00:00", 0, 0, 0, 12 * 28000, 0), "30025-01-01T00:00");
}

TEST_F(Numbers, FormatFixedAndInt) {
    EXPECT_EQ(formatFixed(3.14159, 2, false), L"3.14");
    EXPECT_EQ(formatFixed(2.5, 0, false), L"2");
    EXPECT_EQ(formatFixed(1.0 / 3, 12, false), L"0.33333333");
    EXPECT_EQ(formatFixed(-1.5, -3, false), L"-2");
    EXPECT_EQ(formatFixed(1e300, 2, false).size(), 304u);
    EXPECT_EQ(formatInt(-42, true), L"-42");
    ASSERT_TRUE(platform::setUserInterfaceLanguage(0x0407));
    EXPECT_EQ(formatFixed(3.14159, 2, true), L"3,14");
    EXPECT_EQ(formatFixed(3.14159, 2, false), L"3.14");
}

TEST_F(Numbers, ReadingByLocale) {
    EXPECT_EQ(normaliseNumber(L"1,234.5 km"), L"1234.5");
    EXPECT_EQ(readInt(L"  -17 "), -17);
    EXPECT_EQ(readInt(L"12abc3"), 123);
    EXPECT_EQ(readInt(L"7.9"), 7);
    EXPECT_EQ(readInt(L""), 0);
    EXPECT_DOUBLE_EQ(readNumber(L"1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(readNumber(L"-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(readNumber(L"51.5085", false), 51.5085);
    EXPECT_DOUBLE_EQ(readNumber(L" 2.5e3x", false), 2500);
    EXPECT_DOUBLE_EQ(readNumber(L"2.5e", false), 2.5);
    EXPECT_DOUBLE_EQ(readNumber(L"nan", false), 0);
    EXPECT_DOUBLE_EQ(readNumber(L"inf", false), 0);
    EXPECT_DOUBLE_EQ(readNumber(L"1e999", false), 0);
    EXPECT_DOUBLE_EQ(readNumber(L"--5", false), 0);
    ASSERT_TRUE(platform::setUserInterfaceLanguage(0x0407));
    EXPECT_EQ(normaliseNumber(L"1.234,5"), L"1234.5");
    EXPECT_DOUBLE_EQ(readNumber(L"1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(readNumber(L"51.5085", false), 51.5085);
    EXPECT_EQ(readInt(L"3,7"), 3);
}

TEST_F(Numbers, TextAndDates) {
    EXPECT_EQ(removeChar(L"a~b~~c", L'~'), L"abc");
    EXPECT_EQ(removeChar(L"", L'~'), L"");
    EXPECT_EQ(*shortDate(L"070425", L"yyyy-MM-dd"), L"2025-07-04");
    EXPECT_EQ(*shortDate(L"123199", L"d MMM yy"), L"31 Dec 99");
    EXPECT_FALSE(shortDate(L"023025"));
    EXPECT_FALSE(shortDate(L"0704"));
    EXPECT_FALSE(shortDate(L"07x425"));
    EXPECT_TRUE(shortDate(L"070425"));
    const std::pair<const wchar_t*, const wchar_t*> days[] = {
        {L"010125", L"1st"},  {L"010225", L"2nd"},  {L"010325", L"3rd"},  {L"010425", L"4th"},
        {L"011125", L"11th"}, {L"011225", L"12th"}, {L"011325", L"13th"}, {L"012125", L"21st"},
        {L"012225", L"22nd"}, {L"012325", L"23rd"}, {L"013125", L"31st"}, {L"013025", L"30th"}};
    for (auto [date, expected] : days) EXPECT_EQ(*dayWithSuffix(date, false), expected) << date;
    EXPECT_EQ(*dayWithSuffix(L"010325", true), L"3");
}
