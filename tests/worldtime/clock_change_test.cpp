// The next change of a city's clocks as the screens and the command line say it: forward or
// back, by hours or by half an hour, at the wall time the clocks show when they change, in
// English and in German; nothing for a city whose clocks stay as they are.

#include <gtest/gtest.h>

#include <tuple>

#include "core/language.h"
#include "core/record_table.h"
#include "platform/api/locale.h"
#include "platform/api/zone_database.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/clock_change.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::kMainPath;
using worldtime::test::text;
using worldtime::test::ticks;

namespace {

constexpr std::wstring_view kBerlin = L"DE2950159";
constexpr std::wstring_view kTokyo = L"JP2130741";

// Dates and times as "2026-03-29" and "02:00", so the texts do not hang on the locale's
// formats.
std::wstring isoDate(const platform::SystemTime& t) {
    return platform::fromUtf8(text(t).substr(0, 10));
}
std::wstring isoTime(const platform::SystemTime& t) {
    return platform::fromUtf8(text(t).substr(11, 5));
}

class ClockChangeTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"citylist.dat", "dstinfo.dat", "lang/lang.dat",
                                      "lang/lang.0409.mui.txt", "lang/lang.0407.mui.txt"});
        ASSERT_TRUE(loadZones(kMainPath));
        cities_.load(kMainPath, L"citylist.dat", L'~', true);
        ASSERT_GT(cities_.rowCount(), 20000);
    }
    void SetUp() override { useLanguage(0x0409); }
    void TearDown() override { useLanguage(0x0409); }
    static void useLanguage(platform::LanguageId language) {
        ASSERT_TRUE(platform::setUserInterfaceLanguage(language));
        ASSERT_TRUE(core::buildLanguageList(kMainPath, 1, 9));
        const int row = core::languageList().find(core::languageListField::Code,
                                                  core::languageCodeFor(language), true);
        ASSERT_GT(row, 0);
        core::languageList().setCurrentRow(row);
        ASSERT_TRUE(core::openLanguage(kMainPath, true, true));
    }
    static CityClock clockOf(std::wstring_view code, std::string_view utc) {
        const int row = cities_.find(cityField::Code, code, true);
        EXPECT_GT(row, 0) << platform::toUtf8(code);
        return cityClock(cities_, row, ticks(utc));
    }
    static std::wstring lineFor(const CityClock& clock) {
        return clockChangeLine(nextClockShift(clock), isoDate, isoTime);
    }
    static core::RecordTable cities_;
};

core::RecordTable ClockChangeTest::cities_{cityField::Count};

// Lord Howe Island keeps UTC+10:30 in winter and UTC+11 in summer; daylight saving ends on
// 5 April 2026 at 02:00 by the summer clock (15:00 UTC the day before) and starts on
// 4 October 2026 at 02:00 by the winter clock (15:30 UTC the day before).
CityClock lordHowe(int offsetMinutes, std::string_view changeUtc, int offsetAfter) {
    CityClock clock;
    clock.offsetMinutes = offsetMinutes;
    clock.daylight = offsetMinutes == 660;
    clock.next = CityClock::Change{ticks(changeUtc), offsetAfter, offsetAfter == 660};
    return clock;
}

}  // namespace

TEST_F(ClockChangeTest, ForwardAndBackAtTheWallTimeBeforeTheChange) {
    // Berlin goes from 02:00 to 03:00 on 29 March 2026 (01:00 UTC) ...
    const CityClock spring = clockOf(kBerlin, "2026-03-01T12:00");
    auto forward = nextClockShift(spring);
    ASSERT_TRUE(forward);
    EXPECT_EQ(forward->minutes, 60);
    EXPECT_EQ(text(forward->wallTime), "2026-03-29T02:00");
    EXPECT_EQ(lineFor(spring), L"Clocks go forward 1 h on Sun 2026-03-29 02:00");
    // ... and from 03:00 back to 02:00 on 25 October: the clocks show 03:00 when they change.
    const CityClock autumn = clockOf(kBerlin, "2026-08-01T12:00");
    EXPECT_EQ(lineFor(autumn), L"Clocks go back 1 h on Sun 2026-10-25 03:00");
    // A minute before the change it is still ahead; at the change the next one is autumn's.
    EXPECT_EQ(lineFor(clockOf(kBerlin, "2026-03-29T00:59")), lineFor(spring));
    EXPECT_EQ(lineFor(clockOf(kBerlin, "2026-03-29T01:00")), lineFor(autumn));
}

// A city the zone table serves (its zone changed by the user): the table gives the change
// hours in standard time, 02:00 for Berlin's row both ways, which is 03:00 by the summer clock.
TEST_F(ClockChangeTest, TheZoneTableGivesTheSameWallTimes) {
    const CityClock spring = cityClock(55, L"", ticks("2026-03-01T12:00"));
    ASSERT_FALSE(spring.fromDatabase);
    EXPECT_EQ(lineFor(spring), L"Clocks go forward 1 h on Sun 2026-03-29 02:00");
    EXPECT_EQ(lineFor(cityClock(55, L"", ticks("2026-08-01T12:00"))),
              L"Clocks go back 1 h on Sun 2026-10-25 03:00");
}

TEST_F(ClockChangeTest, HalfHourChangesAreCountedInMinutes) {
    // The moments above are the database's own.
    auto database = platform::hostZone("Australia/Lord_Howe");
    ASSERT_TRUE(database);
    for (auto [from, change, after] : {std::tuple{"2026-03-01T00:00", "2026-04-04T15:00", 630},
                                       std::tuple{"2026-06-01T00:00", "2026-10-03T15:30", 660}}) {
        auto next = database->nextChange((ticks(from) - kUnixEpochTicks) / kTicksPerSecond);
        ASSERT_TRUE(next);
        EXPECT_EQ(next->utcSeconds * kTicksPerSecond + kUnixEpochTicks, ticks(change));
        EXPECT_EQ(next->after.offsetSeconds, after * 60);
    }
    const CityClock summer = lordHowe(660, "2026-04-04T15:00", 630);
    EXPECT_EQ(lineFor(summer), L"Clocks go back 30 min on Sun 2026-04-05 02:00");
    const CityClock winter = lordHowe(630, "2026-10-03T15:30", 660);
    EXPECT_EQ(lineFor(winter), L"Clocks go forward 30 min on Sun 2026-10-04 02:00");
    // Hours and minutes together, either way.
    const ClockChangeWords words = languageClockChangeWords();
    EXPECT_EQ(shiftAmountText(90, words), L"1 h 30 min");
    EXPECT_EQ(shiftAmountText(-120, words), L"2 h");
    EXPECT_EQ(shiftAmountText(-45, words), L"45 min");
}

TEST_F(ClockChangeTest, NothingWhenTheClocksStayAsTheyAre) {
    const CityClock tokyo = clockOf(kTokyo, "2026-03-01T12:00");
    EXPECT_FALSE(tokyo.next);
    EXPECT_FALSE(nextClockShift(tokyo));
    EXPECT_EQ(lineFor(tokyo), L"");
    // A change that only renames the time and keeps the offset moves no clock.
    CityClock renamed = lordHowe(660, "2026-04-04T15:00", 660);
    EXPECT_FALSE(nextClockShift(renamed));
}

TEST_F(ClockChangeTest, GermanWordsAndWeekday) {
    useLanguage(0x0407);
    EXPECT_EQ(lineFor(clockOf(kBerlin, "2026-03-01T12:00")),
              L"Uhren 1 Std. vor: So 2026-03-29, 02:00");
    EXPECT_EQ(lineFor(clockOf(kBerlin, "2026-08-01T12:00")),
              L"Uhren 1 Std. zur\u00FCck: So 2026-10-25, 03:00");
    EXPECT_EQ(lineFor(lordHowe(660, "2026-04-04T15:00", 630)),
              L"Uhren 30 Min. zur\u00FCck: So 2026-04-05, 02:00");
    EXPECT_EQ(lineFor(clockOf(kTokyo, "2026-03-01T12:00")), L"");
}

// The command line says the same change in its own English words.
TEST_F(ClockChangeTest, OwnWordsAndFormats) {
    const ClockChangeWords words{L"clocks go forward %s on %s %s", L"clocks go back %s on %s %s",
                                 L"%d h", L"%d min"};
    auto shift = nextClockShift(lordHowe(630, "2026-10-03T15:30", 660));
    ASSERT_TRUE(shift);
    EXPECT_EQ(clockChangeText(*shift, words, isoDate, isoTime),
              L"clocks go forward 30 min on 2026-10-04 02:00");
}
