// Zones and daylight saving: the rule arithmetic on hand-made rules, the shipped zone table
// against the IANA database, and conversions between zones and the device.

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>

#include "core/record_table.h"
#include "platform/api/clock.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::at;
using worldtime::test::kMainPath;
using worldtime::test::text;
using worldtime::test::ticks;

namespace {

platform::SystemTime rule(int week, int month, int hour = 0, int year = 0) {
    platform::SystemTime r{0, 0, 0, 0, 0, 0, 0, 0};
    r.day = static_cast<std::uint16_t>(week);
    r.month = static_cast<std::uint16_t>(month);
    r.hour = static_cast<std::uint16_t>(hour);
    r.year = static_cast<std::uint16_t>(year);
    return r;
}

ZoneInfo zone(int bias, platform::SystemTime start, platform::SystemTime end) {
    ZoneInfo info;
    info.bias = bias;
    info.daylightBias = -60;
    info.daylightDate = start;
    info.standardDate = end;
    return info;
}

// UTC of a local standard time in a zone of the given bias.
std::int64_t utcOfStandard(const char* local, int bias) {
    return ticks(local) + bias * kTicksPerMinute;
}

class Zones : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"dstinfo.dat", "citylist.dat"});
        ASSERT_TRUE(loadZones(kMainPath));
    }
};

}  // namespace

TEST(ZoneRules, NthAndLastSunday) {
    // March 2025 has five Sundays (2 ... 30), February 2025 four (2 ... 23).
    EXPECT_EQ(transitionDate(rule(1, 3), 2025)->day, 2);
    EXPECT_EQ(transitionDate(rule(2, 3), 2025)->day, 9);
    EXPECT_EQ(transitionDate(rule(5, 3), 2025)->day, 30);
    EXPECT_EQ(transitionDate(rule(5, 2), 2025)->day, 23);
    // February 2004 (leap year) began on a Sunday, so its fifth Sunday is the 29th.
    EXPECT_EQ(transitionDate(rule(5, 2), 2004)->day, 29);
    EXPECT_EQ(transitionDate(rule(5, 2), 2003)->day, 23);
    // Weeks outside 1..5 are held to the nearest valid week instead of leaving the month.
    EXPECT_EQ(transitionDate(rule(0, 3), 2025)->day, 2);
    EXPECT_EQ(transitionDate(rule(9, 3), 2025)->day, 30);
    EXPECT_FALSE(transitionDate(rule(1, 0), 2025));
    EXPECT_FALSE(transitionDate(rule(1, 13), 2025));
}

TEST(ZoneRules, NorthernPatternAroundMidnightChange) {
    ZoneInfo info = zone(-60, rule(5, 3), rule(5, 10));
    EXPECT_FALSE(isDaylight(info, utcOfStandard("2025-03-29T23:59", -60)));
    EXPECT_TRUE(isDaylight(info, utcOfStandard("2025-03-30T00:01", -60)));
    EXPECT_TRUE(isDaylight(info, utcOfStandard("2025-10-25T23:59", -60)));
    EXPECT_FALSE(isDaylight(info, utcOfStandard("2025-10-26T00:01", -60)));
    EXPECT_FALSE(isDaylight(info, utcOfStandard("2025-01-15T12:00", -60)));
    EXPECT_FALSE(isDaylight(info, utcOfStandard("2025-12-31T23:30", -60)));
    // Local time: one hour ahead of standard while daylight saving is in force.
    EXPECT_EQ(text(zoneLocalTime(info, at("2025-07-01T10:00"))), "2025-07-01T12:00");
    EXPECT_EQ(text(zoneLocalTime(info, at("2025-01-01T10:00"))), "2025-01-01T11:00");
}

TEST(ZoneRules, ChangeHoursInLocalStandardTime) {
    // Central Europe: from 02:00 standard time on the last Sunday of March to 03:00 daylight
    // time (02:00 standard) on the last Sunday of October.
    ZoneInfo info = zone(-60, rule(5, 3, 2), rule(5, 10, 2));
    EXPECT_FALSE(isDaylight(info, ticks("2025-03-30T00:59")));
    EXPECT_TRUE(isDaylight(info, ticks("2025-03-30T01:00")));
    EXPECT_TRUE(isDaylight(info, ticks("2025-10-26T00:59")));
    EXPECT_FALSE(isDaylight(info, ticks("2025-10-26T01:00")));
    EXPECT_EQ(zoneOffsetMinutes(info, ticks("2025-03-30T01:00")), 120);
}

TEST(ZoneRules, SouthernPattern) {
    ZoneInfo info = zone(-600, rule(1, 10, 2), rule(1, 4, 2));
    EXPECT_TRUE(isDaylight(info, at("2025-01-15T00:00")));
    EXPECT_TRUE(isDaylight(info, at("2025-12-31T23:00")));
    EXPECT_FALSE(isDaylight(info, at("2025-07-01T00:00")));
    // 2025-04-06 02:00 standard (16:00 UTC the day before) ends daylight saving.
    EXPECT_TRUE(isDaylight(info, ticks("2025-04-05T15:59")));
    EXPECT_FALSE(isDaylight(info, ticks("2025-04-05T16:00")));
    // 2025-10-05 02:00 standard (16:00 UTC the day before) starts it.
    EXPECT_FALSE(isDaylight(info, ticks("2025-10-04T15:59")));
    EXPECT_TRUE(isDaylight(info, ticks("2025-10-04T16:00")));
}

TEST(ZoneRules, RulesWithoutDaylightSaving) {
    // End month 0 switches daylight saving off whatever the start says.
    EXPECT_FALSE(isDaylight(zone(0, rule(5, 3), rule(5, 0)), at("2025-07-01T12:00")));
    // Equal months, or a start month outside the year, are no rule either.
    EXPECT_FALSE(isDaylight(zone(0, rule(1, 5), rule(4, 5)), at("2025-05-20T12:00")));
    EXPECT_FALSE(isDaylight(zone(0, rule(1, 0), rule(5, 10)), at("2025-07-01T12:00")));
    EXPECT_FALSE(isDaylight(zone(0, rule(1, 3), rule(5, 10)), at("2025-02-30T12:00")));
}

TEST(ZoneRules, OneOffDates) {
    ZoneInfo info = zone(0, rule(10, 4, 0, 2025), rule(20, 9, 0, 2025));
    EXPECT_FALSE(isDaylight(info, at("2025-04-09T23:59")));
    EXPECT_TRUE(isDaylight(info, at("2025-04-10T00:01")));
    EXPECT_TRUE(isDaylight(info, at("2025-09-19T23:00")));
    EXPECT_FALSE(isDaylight(info, at("2025-09-20T00:01")));
    // In later years the dates count as lying before their months, in earlier years after
    // them, as the table's readers always took them.
    EXPECT_TRUE(isDaylight(info, at("2026-04-01T00:01")));
    EXPECT_FALSE(isDaylight(info, at("2026-09-01T00:01")));
    EXPECT_FALSE(isDaylight(info, at("2024-04-30T12:00")));
    EXPECT_TRUE(isDaylight(info, at("2024-09-30T12:00")));
}

TEST(ZoneRules, ZonesAndYearsAskedInTurnKeepTheirOwnChanges) {
    // The changes worked out for one zone and year must never answer for another: northern
    // and southern rules, the same rules a year apart, and more zones than are kept at once.
    ZoneInfo north = zone(-60, rule(5, 3, 2), rule(5, 10, 3));
    ZoneInfo south = zone(-600, rule(1, 10, 2), rule(1, 4, 2));
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(isDaylight(south, at("2025-12-31T12:00")));
        EXPECT_FALSE(isDaylight(north, at("2025-12-31T12:00")));
        EXPECT_TRUE(isDaylight(north, at("2025-07-01T12:00")));
        EXPECT_FALSE(isDaylight(south, at("2025-07-01T12:00")));
        // March 2026's last Sunday is the 29th, March 2025's the 30th.
        EXPECT_TRUE(isDaylight(north, ticks("2026-03-29T01:00")));
        EXPECT_FALSE(isDaylight(north, ticks("2025-03-29T01:00")));
        EXPECT_TRUE(isDaylight(north, ticks("2025-03-30T01:00")));
        // A year's last and the next year's first moment of standard time.
        EXPECT_FALSE(isDaylight(north, utcOfStandard("2025-12-31T23:59", -60)));
        EXPECT_FALSE(isDaylight(north, utcOfStandard("2026-01-01T00:00", -60)));
        for (int month = 1; month <= 11; ++month) {
            ZoneInfo other = zone(0, rule(1, month), rule(1, month + 1));
            EXPECT_TRUE(isDaylight(
                other, ticks(month < 10 ? "2025-0" + std::to_string(month) + "-20T12:00"
                                        : "2025-" + std::to_string(month) + "-20T12:00")))
                << month;
        }
    }
}

TEST(ZoneRules, ExtremeMomentsAndOffsetsStayInRange) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    ZoneInfo east = zone(-600, rule(1, 10, 2), rule(1, 4, 2));
    EXPECT_EQ(zoneLocalTicks(east, kMax), kMax);
    EXPECT_EQ(zoneLocalToUtcTicks(east, kMin), kMin);
    ZoneInfo huge = zone(std::numeric_limits<std::int32_t>::min(), rule(1, 3), rule(1, 10));
    huge.daylightBias = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(zoneLocalTicks(huge, 0), 2147483647LL * kTicksPerMinute);
    core::RecordTable table(zoneColumn::Count);
    int row = table.appendRow();
    table.setField(row, zoneColumn::Bias, L"99999999");
    table.setField(row, zoneColumn::DaylightBias, L"-99999999");
    EXPECT_EQ(zoneInfoOfRow(table, row).bias, 1440);
    EXPECT_EQ(zoneInfoOfRow(table, row).daylightBias, -1440);
}

TEST(ZoneRules, ChangeTimeColumn) {
    platform::SystemTime r = rule(1, 3);
    auto read = [&](std::wstring_view text) {
        readChangeTime(text, r);
        return r.hour * 100 + r.minute;
    };
    EXPECT_EQ(read(L"2"), 200);
    EXPECT_EQ(read(L" 23 "), 2300);
    EXPECT_EQ(read(L"2:45"), 245);
    EXPECT_EQ(read(L""), 0);
    EXPECT_EQ(read(L"24"), 0);
    EXPECT_EQ(read(L"-1"), 0);
    EXPECT_EQ(read(L"3:5"), 0);
    EXPECT_EQ(read(L"3:60"), 0);
    EXPECT_EQ(read(L"2x"), 0);
}

TEST(ZoneRules, DaylightBiasRemoval) {
    ZoneInfo info = zone(0, rule(5, 3), rule(5, 10));
    EXPECT_EQ(text(removeDaylightBias(at("2025-06-01T10:30"), info)), "2025-06-01T11:30");
    EXPECT_EQ(text(removeDaylightBias(at("2025-06-01T23:30"), info)), "2025-06-02T00:30");
    info.daylightBias = 0;
    EXPECT_EQ(text(removeDaylightBias(at("2025-06-01T10:30"), info)), "2025-06-01T10:30");
}

TEST_F(Zones, TableLookups) {
    int row = findZone(54);
    EXPECT_EQ(row, zoneTable().currentRow());
    EXPECT_EQ(zoneTable().fieldText(zoneTable().currentRow(), zoneColumn::Number), L"54");
    EXPECT_EQ(findZone(4711), 0);
    EXPECT_EQ(zoneInfo(4711), ZoneInfo{});
    EXPECT_EQ(text(zoneLocalTime(zoneInfo(4711), at("2025-07-01T10:00"))), "2025-07-01T10:00");
    ZoneInfo paris = zoneInfo(55);
    EXPECT_EQ(paris.bias, -60);
    EXPECT_EQ(paris.daylightDate.hour, 2);
    EXPECT_EQ(paris.standardDate.month, 10);
    EXPECT_EQ(zoneDisplayName(47), L"UTC-05:00 New York City, Toronto (DST)");
    EXPECT_EQ(zoneNumberForHours(0), kUtcZoneNumber);
    EXPECT_EQ(zoneNumberForHours(1), 26);
    EXPECT_EQ(zoneNumberForHours(-5), 20);
    EXPECT_EQ(zoneNumberForMinutes(330), 64);
    // No zone lies 20 hours east; the nearest one (UTC+14) is given.
    EXPECT_EQ(zoneNumberForHours(20), 39);
}

TEST_F(Zones, LocalTimesMatchIanaDatabase) {
    core::RecordTable cities(cityField::Count);
    cities.load(kMainPath, L"citylist.dat", L'~', true);
    std::map<std::wstring, int> zoneOfCity;
    for (int row = 1; row <= cities.rowCount(); ++row) {
        zoneOfCity.emplace(cities.fieldText(row, cityField::Code), cityZone(cities, row));
    }
    std::set<std::string> checkedCities;
    int edges = 0;
    for (const auto& line : worldtime::test::readReference("zone_reference.csv")) {
        ASSERT_EQ(line.size(), 4u);
        std::wstring code(line[0].begin(), line[0].end());
        ASSERT_TRUE(zoneOfCity.count(code)) << line[0];
        ZoneInfo info = zoneInfo(zoneOfCity[code]);
        EXPECT_EQ(text(zoneLocalTime(info, at(line[1]))), line[2])
            << line[0] << " at " << line[1] << " UTC (" << line[3] << ")";
        checkedCities.insert(line[0]);
        edges += line[3] == "edge";
    }
    EXPECT_GE(checkedCities.size(), 30u);
    EXPECT_GE(edges, 200);
}

TEST_F(Zones, LocalToUtcAroundChanges) {
    ZoneInfo newYork = zoneInfo(47);
    // 02:30 does not exist on 9 March 2025; it reads as 03:30 daylight time.
    EXPECT_EQ(zoneLocalToUtcTicks(newYork, ticks("2025-03-09T02:30")), ticks("2025-03-09T07:30"));
    // 01:30 on 2 November 2025 happens twice; the first one is meant.
    EXPECT_EQ(zoneLocalToUtcTicks(newYork, ticks("2025-11-02T01:30")), ticks("2025-11-02T05:30"));
    EXPECT_EQ(zoneLocalToUtcTicks(newYork, ticks("2025-07-04T12:00")), ticks("2025-07-04T16:00"));
}

TEST_F(Zones, ZoneTimeToDeviceUsesTheTargetDatesRules) {
    ASSERT_TRUE(platform::setDeviceTimeZone("Europe/Berlin"));
    platform::setClockOverride(platform::toFileTime(at("2025-01-10T12:00")));
    // Tokyo 09:00 in July is 02:00 in Berlin (summer time), in January 01:00, whatever
    // the season at the moment of asking.
    EXPECT_EQ(text(*zoneToDevice(at("2025-07-01T09:00"), 34)), "2025-07-01T02:00");
    EXPECT_EQ(text(*zoneToDevice(at("2025-01-20T09:00"), 34)), "2025-01-20T01:00");
    // London 08:00 after its spring change is 09:00 in Berlin.
    EXPECT_EQ(text(*zoneToDevice(at("2025-03-30T08:00"), 54)), "2025-03-30T09:00");
    EXPECT_FALSE(zoneToDevice(at("2025-02-30T08:00"), 54));

    ZoneClock london = zoneClock(54);
    EXPECT_EQ(text(london.localTime), "2025-01-10T12:00");
    platform::setClockOverride(platform::toFileTime(at("2025-06-10T12:00")));
    EXPECT_EQ(text(zoneClock(54).localTime), "2025-06-10T13:00");
    EXPECT_TRUE(isDaylightNow(zoneInfo(54)));
    platform::setClockOverride(std::nullopt);
}
