// A city's clock: exact for every city of the list that names its IANA zone, against the C
// library reading the same database; the zone table's rule for a city whose zone was changed.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <map>
#include <string>
#include <utility>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::kMainPath;

namespace {

constexpr std::int64_t k2027 = 1798761600;  // 2027-01-01T00:00Z

std::int64_t ticksOf(std::int64_t unixSeconds) {
    return unixSeconds * kTicksPerSecond + kUnixEpochTicks;
}

class CityClockTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"citylist.dat", "dstinfo.dat"});
        ASSERT_TRUE(loadZones(kMainPath));
        cities_.load(kMainPath, L"citylist.dat", L'~', true);
        ASSERT_GT(cities_.rowCount(), 20000);
    }
    static core::RecordTable cities_;
};

core::RecordTable CityClockTest::cities_{cityField::Count};

// The C library's offset and daylight state, in the zone TZ names, at a moment.
std::pair<long, bool> cLibraryAt(std::int64_t unixSeconds) {
    const time_t t = static_cast<time_t>(unixSeconds);
    struct tm local {};
    ::localtime_r(&t, &local);
    return {local.tm_gmtoff, local.tm_isdst > 0};
}

}  // namespace

// Every city's zone and IANA name as the list pairs them, every hour of 2027.
TEST_F(CityClockTest, EveryCityOfTheListIsExactEveryHourOfAYear) {
    std::map<std::pair<int, std::wstring>, int> pairs;  // one city per pair stands for all
    for (int row = 1; row <= cities_.rowCount(); ++row)
        pairs.try_emplace(
            {cityZone(cities_, row), std::wstring(cities_.fieldText(row, cityField::IanaZone))},
            row);
    ASSERT_GT(pairs.size(), 300u);
    long long checked = 0;
    for (const auto& [pair, row] : pairs) {
        const std::string zone = platform::toUtf8(pair.second);
        ASSERT_TRUE(cityClock(cities_, row, ticksOf(k2027)).fromDatabase) << zone;
        ::setenv("TZ", (":" + zone).c_str(), 1);
        ::tzset();
        int wrong = 0;
        for (std::int64_t t = k2027; t < k2027 + 365 * 86400LL; t += 3600) {
            const CityClock clock = cityClock(cities_, row, ticksOf(t));
            const auto [offset, daylight] = cLibraryAt(t);
            if (clock.offsetMinutes * 60 != offset || clock.daylight != daylight) {
                if (++wrong <= 2)
                    ADD_FAILURE() << zone << " at " << t << ": " << clock.offsetMinutes;
            }
            ++checked;
        }
    }
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_GT(checked, 2'500'000);
}

// The zones the table's rules cannot hold.
TEST_F(CityClockTest, ChangesTheZoneTableCannotHoldHappenOnTheMinute) {
    auto cityRow = [](std::wstring_view code) {
        int row = cities_.find(cityField::Code, code, true);
        EXPECT_GT(row, 0) << platform::toUtf8(code);
        return row;
    };
    struct Case {
        const wchar_t* code;
        std::int64_t change;  // the UTC second of a change
    };
    // Beirut ends daylight saving at 00:00 daylight time (2027-10-30T21:00Z), Cairo starts it
    // on the last Friday of April (2027-04-29T22:00Z), Nuuk changes at 01:00 UTC
    // (2027-03-28T01:00Z).
    for (const Case& c : {Case{L"LB276781", 1824930000}, Case{L"EG360630", 1809036000},
                          Case{L"GL3421319", 1806195600}}) {
        const int row = cityRow(c.code);
        if (row <= 0)
            continue;
        const CityClock clock = cityClock(cities_, row, ticksOf(c.change - 3600));
        ASSERT_TRUE(clock.next) << platform::toUtf8(c.code);
        EXPECT_EQ(clock.next->utcTicks, ticksOf(c.change)) << platform::toUtf8(c.code);
        EXPECT_NE(cityClock(cities_, row, ticksOf(c.change)).offsetMinutes, clock.offsetMinutes);
    }
}

// Moved into another zone by the user, a city follows that zone's row of the table.
TEST_F(CityClockTest, ACityInAnotherZoneFollowsTheZoneTable) {
    core::RecordTable moved(cityField::Count);
    const int london = cities_.find(cityField::Code, L"GB2643743", true);
    ASSERT_GT(london, 0);
    const int row = moved.appendRow();
    for (int column = 1; column <= cityField::Count; ++column)
        moved.setField(row, column, cities_.fieldText(london, column));
    EXPECT_TRUE(cityClock(moved, row, ticksOf(k2027)).fromDatabase);
    moved.setField(row, cityField::Zone, L"34");  // Tokyo's row
    const CityClock tokyo = cityClock(moved, row, ticksOf(k2027));
    EXPECT_FALSE(tokyo.fromDatabase);
    EXPECT_EQ(tokyo.offsetMinutes, 9 * 60);
    EXPECT_FALSE(tokyo.next);
    // A name the database does not know: the table too.
    moved.setField(row, cityField::Zone, L"54");
    moved.setField(row, cityField::IanaZone, L"Europe/Atlantis");
    EXPECT_FALSE(cityClock(moved, row, ticksOf(k2027)).fromDatabase);
    EXPECT_EQ(cityClock(moved, row, ticksOf(k2027 + 180 * 86400)).offsetMinutes, 60);
}
