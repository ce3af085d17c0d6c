// The sun: Julian date and sidereal time, position against almanac declinations, and
// sunrise and sunset against almanac times (tests/worldtime/data/sun_reference.csv, made by
// gen_sun_reference.py), including days without sunrise or sunset.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/sun.h"
#include "worldtime/zones.h"

using namespace worldtime;
using worldtime::test::at;

namespace {

// The zone of the table that lists an IANA zone in its last column; 0 when none does.
int zoneListing(const std::string& iana) {
    const core::RecordTable& table = zoneTable();
    std::wstring wanted(iana.begin(), iana.end());
    for (int row = 1; row <= table.rowCount(); ++row) {
        std::wstringstream names{std::wstring(table.fieldText(row, 13))};
        std::wstring name;
        while (names >> name) {
            if (name == wanted)
                return table.fieldInt(row, zoneColumn::Number);
        }
    }
    return 0;
}

// "HH:MM", with "+1" after it for the next day.
int minutesOf(const std::string& hhmm) {
    int day = hhmm.size() > 5 && hhmm.substr(5) == "+1" ? 1440 : 0;
    return std::stoi(hhmm.substr(0, 2)) * 60 + std::stoi(hhmm.substr(3, 2)) + day;
}

int minutesOf(const ClockTime& t) {
    return t.hour * 60 + t.minute + t.dayOffset * 1440;
}

class SunTimesReference : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        worldtime::test::installData({"dstinfo.dat"});
        ASSERT_TRUE(loadZones(worldtime::test::kMainPath));
    }
};

}  // namespace

TEST(Sun, JulianDateAndSiderealTime) {
    EXPECT_DOUBLE_EQ(julianDate(at("2000-01-01T12:00")), 2451545.0);
    EXPECT_DOUBLE_EQ(julianDate(at("1987-04-10T19:21")), 2446896.30625);
    EXPECT_DOUBLE_EQ(julianDate(at("2025-03-01T00:00")) - julianDate(at("2025-02-28T00:00")), 1);
    // Greenwich mean sidereal time, 1987 April 10 19:21:00 UT: 8h 34m 57.09s, from the
    // worked example of J. Meeus, Astronomical Algorithms (1991), example 11.b.
    EXPECT_NEAR(greenwichSiderealHours(2446896.30625), 8 + 34 / 60.0 + 57.09 / 3600, 2e-4);
    // At 2000-01-01 12:00 UT it was 18h 41m 50.5s (Astronomical Almanac 2000, B6).
    EXPECT_NEAR(greenwichSiderealHours(2451545.0), 18 + 41 / 60.0 + 50.5 / 3600, 2e-4);
}

TEST(Sun, KeplerSolution) {
    for (double m : {0.0, 5.0, 90.0, 181.0, 359.0}) {
        for (double e : {0.0, 0.0167, 0.5, 0.9}) {
            double big = solveKepler(m, e);
            double residual = big - e * std::sin(big) - m * 0.017453292519943295;
            EXPECT_LT(std::fabs(residual), 1e-6) << m << " " << e;
        }
    }
}

TEST(Sun, DeclinationAtSeasonsAndThroughTheYear) {
    // Instants of the 2025 equinoxes and solstices as published by the U.S. Naval
    // Observatory ("Earth's Seasons"): the sun crosses the equator or turns at 23.436
    // degrees, the obliquity of 2025.
    EXPECT_NEAR(sunPosition(julianDate(at("2025-03-20T09:01"))).declination, 0, 0.02);
    EXPECT_NEAR(sunPosition(julianDate(at("2025-06-21T02:42"))).declination, 23.436, 0.02);
    EXPECT_NEAR(sunPosition(julianDate(at("2025-09-22T18:19"))).declination, 0, 0.02);
    EXPECT_NEAR(sunPosition(julianDate(at("2025-12-21T15:03"))).declination, -23.436, 0.02);
    int checked = 0;
    for (const auto& line : worldtime::test::readReference("sun_reference.csv")) {
        if (line[0] != "decl")
            continue;
        SunPosition sun = sunPosition(julianDate(at(line[1])));
        EXPECT_NEAR(sun.declination, std::stod(line[2]), 0.02) << line[1];
        EXPECT_NEAR(sun.radiusVector, 1.0, 0.0175);
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST(Sun, SubSolarMeridianFollowsTheClock) {
    // Near noon UTC the sun stands over the prime meridian, give or take the equation of
    // time (at most about 16 minutes, 4 degrees); six hours later 90 degrees further west.
    for (const char* day : {"2025-02-11T12:00", "2025-07-26T12:00", "2025-11-03T12:00"}) {
        double jd = julianDate(at(day));
        double shift = subSolarShift(sunPosition(jd), greenwichSiderealHours(jd));
        EXPECT_NEAR(shift - 180, 0, 4.5) << day;
        double later = subSolarShift(sunPosition(jd + 0.25), greenwichSiderealHours(jd + 0.25));
        EXPECT_NEAR(later - 180, -90, 4.6) << day;
    }
    EXPECT_EQ(subSolarColumn(180, 480), 240);
    EXPECT_EQ(subSolarColumn(0, 480), 0);
    EXPECT_EQ(subSolarColumn(359.999, 480), 479);
}

TEST(Sun, ClockTimesWrapIntoTheirDay) {
    EXPECT_EQ(clockTimeOf(6.5), (ClockTime{6, 30, 0}));
    EXPECT_EQ(clockTimeOf(-0.25), (ClockTime{23, 45, -1}));
    EXPECT_EQ(clockTimeOf(30.4), (ClockTime{6, 24, 1}));
    EXPECT_EQ(clockTimeOf(23.99999), (ClockTime{23, 59, 0}));
    EXPECT_EQ(clockTimeOf(24.0), (ClockTime{0, 0, 1}));
    EXPECT_EQ(clockTimeOf(std::nan("")), (ClockTime{0, 0, 0}));
}

TEST(Sun, PolarDaysAndNights) {
    // Near the pole in summer the hour-angle term passes 1: a whole day of sun.
    SunTimes summer = sunriseSunset(2025, 6, 21, 80, 15, 1);
    EXPECT_EQ(summer.kind, DaylightKind::PolarDay);
    EXPECT_DOUBLE_EQ(summer.dayLengthHours, 24);
    SunTimes winter = sunriseSunset(2025, 12, 21, 80, 15, 1);
    EXPECT_EQ(winter.kind, DaylightKind::PolarNight);
    EXPECT_DOUBLE_EQ(winter.dayLengthHours, 0);
    EXPECT_EQ(sunriseSunset(2025, 12, 21, -80, 15, 1).kind, DaylightKind::PolarDay);
    EXPECT_EQ(sunriseSunset(2025, 6, 21, -80, 15, 1).kind, DaylightKind::PolarNight);
    // Every place and day gives valid clock times: never an hour beyond 23, never a
    // negative minute, even where the zone lies far from the place's own meridian.
    for (int latitude = -89; latitude <= 89; latitude += 2) {
        for (int month = 1; month <= 12; ++month) {
            for (double longitude : {-179.9, -60.0, 0.0, 100.0, 179.9}) {
                for (double zone : {-12.0, 0.0, 14.0}) {
                    SunTimes t = sunriseSunset(2025, month, 15, latitude, longitude, zone);
                    for (const ClockTime& c : {t.sunrise, t.sunset}) {
                        ASSERT_TRUE(c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59)
                            << latitude << " " << month << " " << longitude << " " << zone;
                    }
                }
            }
        }
    }
}

// Apia keeps UTC+13 at 172 degrees west and the Chatham Islands UTC+12:45 at 177 west: a zone
// a whole day from the place's own meridian. Their sun rises and sets on the day asked for.
TEST(Sun, EventsNearTheDateLineFallOnTheirOwnDay) {
    for (auto [latitude, longitude, zone] :
         {std::tuple{-13.83, -171.76, 13.0}, {-43.95, -176.56, 12.75}, {-21.14, -175.2, 13.0}}) {
        SunTimes t = sunriseSunset(2027, 6, 15, latitude, longitude, zone);
        ASSERT_EQ(t.kind, DaylightKind::Normal) << longitude;
        EXPECT_EQ(t.sunrise.dayOffset, 0) << longitude;
        EXPECT_EQ(t.sunset.dayOffset, 0) << longitude;
        EXPECT_GE(t.sunrise.hour, 6) << longitude;
        EXPECT_LE(t.sunrise.hour, 8) << longitude;
        EXPECT_GE(t.sunset.hour, 16) << longitude;
        EXPECT_LE(t.sunset.hour, 18) << longitude;
    }
}

// On the first days after the midnight sun the formula still gives a rise and a set; a day
// on which the sun was up at midnight and only sets after the next midnight is a polar day.
TEST(Sun, TheLastDaysOfMidnightSunArePolarDays) {
    // Tromsø at UTC+2: the 26th had "sunrise 01:20, sunset 00:20 the next day".
    EXPECT_EQ(sunriseSunset(2026, 7, 26, 69.6489, 18.9551, 2).kind, DaylightKind::PolarDay);
    SunTimes first = sunriseSunset(2026, 7, 27, 69.6489, 18.9551, 2);
    ASSERT_EQ(first.kind, DaylightKind::Normal);
    EXPECT_EQ(first.sunrise, (ClockTime{1, 37, 0}));
    EXPECT_EQ(first.sunset.dayOffset, 1);
    // Olonkinbyen: "day length 23:50" on the 31st, a day the sun never left the sky.
    EXPECT_EQ(sunriseSunset(2027, 7, 31, 70.9221, -8.7187, 2).kind, DaylightKind::PolarDay);
    EXPECT_EQ(sunriseSunset(2027, 8, 1, 70.9221, -8.7187, 2).kind, DaylightKind::Normal);
    // Through a whole year at the polar circle and beyond, a normal day is never 24 hours.
    for (double latitude : {66.6, 69.6, 70.9, -66.6, -69.6}) {
        for (int day = 1; day <= 365; ++day) {
            SunTimes t = sunriseSunset(2027, 1, day, latitude, 15, 1);
            if (t.kind == DaylightKind::Normal) {
                EXPECT_LT(t.dayLengthHours, 24) << latitude << " day " << day;
            }
        }
    }
}

TEST_F(SunTimesReference, MatchAlmanacTimes) {
    int checked = 0;
    for (const auto& line : worldtime::test::readReference("sun_reference.csv")) {
        if (line[0] != "rise")
            continue;
        double latitude = std::stod(line[2]);
        double longitude = std::stod(line[3]);
        int zone = zoneListing(line[4]);
        ASSERT_NE(zone, 0) << line[4];
        ZoneInfo info = zoneInfo(zone);
        platform::SystemTime date = at(line[5]);
        std::int64_t localNoon = worldtime::test::ticks(line[5] + "T12:00");
        bool daylight = isDaylight(info, zoneLocalToUtcTicks(info, localNoon));
        SunTimes times = citySunTimes(date, latitude, longitude, info, daylight);
        std::string where = line[1] + " " + line[5];
        if (line[6] == "polar-day" || line[6] == "polar-night") {
            EXPECT_EQ(times.kind,
                      line[6] == "polar-day" ? DaylightKind::PolarDay : DaylightKind::PolarNight)
                << where;
            continue;
        }
        ASSERT_EQ(times.kind, DaylightKind::Normal) << where;
        // The short formula keeps within four minutes of the almanac, up to 78 degrees north.
        constexpr int tolerance = 5;
        EXPECT_NEAR(minutesOf(times.sunrise), minutesOf(line[6]), tolerance) << where;
        EXPECT_NEAR(minutesOf(times.sunset), minutesOf(line[7]), tolerance) << where;
        ++checked;
    }
    EXPECT_GE(checked, 80);
}
