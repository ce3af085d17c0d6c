// The moon: Julian dates around the calendar reform, new and full moons against published
// almanac instants (UTC), the choice of the last and next new moon right around a new moon,
// the device's zone never taken for UTC, and the shadow of the moon picture at the quarters.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gfx/targa.h"
#include "platform/api/clock.h"
#include "tests/worldtime/support/world_test_support.h"
#include "worldtime/moon.h"

using namespace worldtime;
using worldtime::test::at;

namespace {

constexpr double kMinute = 1.0 / 1440.0;

double jd(std::string_view text) {
    return moonJulianDate(at(text));
}

// Minutes between a computed Julian date and an almanac instant.
double minutesFrom(double julianDate, std::string_view almanac) {
    return (julianDate - jd(almanac)) / kMinute;
}

// The lunation whose true new moon lies nearest the instant.
int lunationNear(double julianDate) {
    return static_cast<int>(std::lround((julianDate - 2415020.75933) / kSynodicMonth));
}

}  // namespace

TEST(MoonJulianDate, GregorianFromTheFifthOfOctober1582) {
    EXPECT_DOUBLE_EQ(moonJulianDate(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_DOUBLE_EQ(moonJulianDate(1980, 1, 1, 0, 0, 0), 2444239.5);
    EXPECT_DOUBLE_EQ(moonJulianDate(1957, 10, 4, 19, 26, 24), 2436116.31);
    // 4 October 1582 is Julian (no correction), 5 October takes the Gregorian one of -10 days.
    EXPECT_DOUBLE_EQ(moonJulianDate(1582, 10, 4, 0, 0, 0), 2299159.5);
    EXPECT_DOUBLE_EQ(moonJulianDate(1582, 10, 5, 0, 0, 0), 2299150.5);
    EXPECT_DOUBLE_EQ(moonJulianDate(333, 1, 27, 12, 0, 0), 1842713.0);
}

TEST(MoonJulianDate, CalendarOfAJulianDateRoundsToTheSecond) {
    EXPECT_EQ(worldtime::test::text(calendarOfJulianDate(2451545.0)), "2000-01-01T12:00");
    platform::SystemTime t = calendarOfJulianDate(jd("2026-02-17T12:01:30"));
    EXPECT_EQ(worldtime::test::text(t), "2026-02-17T12:01");
    EXPECT_EQ(t.second, 30);
    EXPECT_EQ(t.dayOfWeek, 2);  // a Tuesday
    // Just short of midnight rounds into the next day, not to 24:00.
    t = calendarOfJulianDate(jd("2025-12-31T00:00") - 0.2 / 86400);
    EXPECT_EQ(worldtime::test::text(t), "2025-12-31T00:00");
    EXPECT_EQ(t.second, 0);
}

TEST(MoonPhases, EphemerisTimeLeadsUtcByTheObservedSeconds) {
    // Observed values: 1900 -2.7 s, 1950 29.1 s, 1980 50.5 s, 2000 63.8 s, 2020 69.4 s.
    EXPECT_NEAR(ephemerisLeadSeconds(1900), -2.7, 1);
    EXPECT_NEAR(ephemerisLeadSeconds(1950), 29.1, 1);
    EXPECT_NEAR(ephemerisLeadSeconds(1980), 50.5, 1);
    EXPECT_NEAR(ephemerisLeadSeconds(2000), 63.8, 1);
    EXPECT_NEAR(ephemerisLeadSeconds(2020), 69.4, 3);
    // Beyond the fits it keeps growing smoothly.
    EXPECT_GT(ephemerisLeadSeconds(2100), ephemerisLeadSeconds(2049));
    EXPECT_LT(std::fabs(ephemerisLeadSeconds(2050) - ephemerisLeadSeconds(2049.999)), 5);
}

TEST(MoonPhases, NewAndFullMoonsMatchTheAlmanacWithinMinutes) {
    struct Case {
        const char* utc;
        LunarPhase phase;
    };
    const Case cases[] = {
        {"2025-01-29T12:36", LunarPhase::New},  {"2025-02-28T00:45", LunarPhase::New},
        {"2026-01-18T19:52", LunarPhase::New},  {"2026-02-17T12:01", LunarPhase::New},
        {"2024-04-08T18:21", LunarPhase::New},  {"2017-08-21T18:30", LunarPhase::New},
        {"2026-01-03T10:03", LunarPhase::Full}, {"2025-03-14T06:55", LunarPhase::Full},
    };
    double meanError = 0;
    for (const Case& c : cases) {
        double instant = jd(c.utc);
        int k = lunationNear(instant - static_cast<int>(c.phase) * kSynodicMonth / 4);
        EXPECT_NEAR(minutesFrom(truePhaseUtc(k, c.phase), c.utc), 0, 2) << c.utc;
        // The ephemerides' time runs a good minute ahead of UTC.
        EXPECT_NEAR(minutesFrom(truePhase(k, c.phase), c.utc) -
                        minutesFrom(truePhaseUtc(k, c.phase), c.utc),
                    1.15, 0.15)
            << c.utc;
        if (c.phase == LunarPhase::New)
            meanError = std::max(meanError, std::fabs(minutesFrom(meanNewMoon(k), c.utc)));
    }
    // The mean lunation alone is hours off: the corrections are doing the work.
    EXPECT_GT(meanError, 120);
}

TEST(MoonState, PhaseIlluminationAgeAndDistanceAtKnownPhases) {
    MoonState full = moonState(jd("2026-01-03T10:03"));
    EXPECT_NEAR(full.phase, 0.5, 0.01);
    EXPECT_GT(full.illuminated, 0.99);
    EXPECT_NEAR(full.ageDays, kSynodicMonth / 2, 0.3);

    MoonState fresh = moonState(jd("2026-02-17T12:01"));
    EXPECT_LT(fresh.illuminated, 0.01);
    EXPECT_TRUE(fresh.ageDays < 0.3 || fresh.ageDays > kSynodicMonth - 0.3) << fresh.ageDays;

    // A day after the new moon the moon is about a day old and a thin crescent.
    MoonState crescent = moonState(jd("2026-02-18T12:01"));
    EXPECT_NEAR(crescent.ageDays, 1.0, 0.3);
    EXPECT_NEAR(crescent.illuminated, 0.015, 0.01);

    // At the quarters of the lunation the disc is half lit, a quarter and three quarters
    // through.
    int k = lunationNear(jd("2026-01-18T19:52"));
    MoonState first = moonState(truePhase(k, LunarPhase::FirstQuarter));
    EXPECT_NEAR(first.phase, 0.25, 0.01);
    EXPECT_NEAR(first.illuminated, 0.5, 0.03);
    MoonState last = moonState(truePhase(k, LunarPhase::LastQuarter));
    EXPECT_NEAR(last.phase, 0.75, 0.01);
    EXPECT_NEAR(last.illuminated, 0.5, 0.03);

    // Over a month the distance runs between perigee and apogee.
    double nearest = 1e9, farthest = 0;
    for (int hour = 0; hour < 30 * 24; hour += 3) {
        double distance = moonState(jd("2026-01-01") + hour / 24.0).distanceKm;
        nearest = std::min(nearest, distance);
        farthest = std::max(farthest, distance);
    }
    EXPECT_GT(nearest, 355000);
    EXPECT_LT(nearest, 370000);
    EXPECT_GT(farthest, 400000);
    EXPECT_LT(farthest, 407500);
    EXPECT_NEAR(full.sunDistanceKm, 147.1e6, 0.2e6);  // the earth near perihelion in January
    EXPECT_NEAR(full.sunAngularDiameter, 0.542, 0.002);
}

TEST(NewMoonsAround, LastNeverAfterAndNextNeverBeforeTheInstant) {
    // Instants on both sides of a new moon, within a day and within minutes of it.
    const char* newMoons[] = {"2025-01-29T12:36", "2026-01-18T19:52", "2026-02-17T12:01",
                              "2024-04-08T18:21"};
    for (const char* almanac : newMoons) {
        const double moon = jd(almanac);
        for (double hours : {-23.0, -14.0, -6.0, -0.5, 0.5, 6.0, 14.0, 23.0}) {
            double instant = moon + hours / 24;
            NewMoons found = newMoonsAround(instant);
            EXPECT_LE(found.last, instant) << almanac << " " << hours;
            EXPECT_GT(found.next, instant) << almanac << " " << hours;
            EXPECT_NEAR(found.next - found.last, kSynodicMonth, 0.6) << almanac << " " << hours;
            // The almanac's new moon is the next before it and the last after it.
            double nearest = hours < 0 ? found.next : found.last;
            EXPECT_NEAR(minutesFrom(nearest, almanac), 0, 2) << almanac << " " << hours;
        }
    }
    // Far from a new moon the pair brackets the instant by whole lunations.
    NewMoons mid = newMoonsAround(jd("2026-01-03T10:03"));
    EXPECT_NEAR(minutesFrom(mid.next, "2026-01-18T19:52"), 0, 4);
    EXPECT_NEAR(mid.next - mid.last, kSynodicMonth, 0.6);
}

TEST(MoonReport, TheDeviceZoneIsNeverTakenForUtc) {
    // Tokyo keeps UTC+9: 17:00 there is 08:00 UTC, four and a half hours before the new moon
    // of 2025-01-29 12:36 UTC. Taken as UTC, 17:00 would already lie after it.
    ASSERT_TRUE(platform::setDeviceTimeZone("Asia/Tokyo"));
    platform::setDeviceUtcTime(*platform::toFileTime(at("2025-01-29T08:00")));
    EXPECT_EQ(worldtime::test::text(platform::deviceLocalTime()).substr(0, 16), "2025-01-29T17:00");
    MoonReport report = moonReportNow();
    EXPECT_NEAR(minutesFrom(report.julianDate, "2025-01-29T08:00"), 0, 0.1);
    EXPECT_NEAR(minutesFrom(report.newMoons.next, "2025-01-29T12:36"), 0, 4);
    EXPECT_LT(report.newMoons.last, jd("2025-01-01"));
    EXPECT_GT(report.state.ageDays, kSynodicMonth - 0.5);
    // Shown in the device's zone, the next new moon falls at 21:36 local time.
    platform::SystemTime local = localTimeOf(report.newMoons.next, nullptr);
    EXPECT_EQ(local.day, 29);
    EXPECT_NEAR(local.hour * 60 + local.minute, 21 * 60 + 36, 4);
    platform::setClockOffsetSeconds(0);
    ASSERT_TRUE(platform::setDeviceTimeZone("UTC"));
}

namespace {

// A picture of an opaque grey disc on transparent corners.
gfx::TargaPixels disc(int size) {
    gfx::TargaPixels picture;
    picture.width = size;
    picture.height = size;
    picture.bytesPerPixel = 4;
    picture.pixels.resize(static_cast<std::size_t>(size) * size * 4);
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint8_t* p = picture.row(y) + x * 4;
            double dx = x + 0.5 - r, dy = y + 0.5 - r;
            bool inside = dx * dx + dy * dy < r * r;
            p[0] = p[1] = p[2] = 200;
            p[3] = inside ? 255 : 0;
        }
    }
    return picture;
}

// Whether the pixel is darkened, inside the disc.
bool dark(const gfx::TargaPixels& picture, int x, int y) {
    const std::uint8_t* p = picture.row(y) + x * 4;
    return p[0] == 120 && p[1] == 120 && p[2] == 120;
}

int darkCount(const gfx::TargaPixels& picture) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) count += dark(picture, x, y);
    return count;
}

int discCount(const gfx::TargaPixels& picture) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) count += picture.row(y)[x * 4 + 3] != 0;
    return count;
}

}  // namespace

TEST(MoonPicture, ShadowAtTheQuartersAndTheTransparentCornersUntouched) {
    constexpr int kSize = 64;
    const int inside = discCount(disc(kSize));

    gfx::TargaPixels newMoon = disc(kSize);
    darkenMoon(newMoon, 0.0);
    EXPECT_EQ(darkCount(newMoon), inside);
    // Transparent pixels keep their colour.
    EXPECT_EQ(newMoon.row(0)[0], 200);

    gfx::TargaPixels full = disc(kSize);
    darkenMoon(full, 0.5);
    EXPECT_EQ(darkCount(full), 0);

    // Waxing (first quarter): the left half dark, the right half lit; waning the reverse.
    gfx::TargaPixels first = disc(kSize);
    darkenMoon(first, 0.25);
    gfx::TargaPixels last = disc(kSize);
    darkenMoon(last, 0.75);
    for (int y = 8; y < kSize - 8; ++y) {
        EXPECT_TRUE(dark(first, kSize / 2 - 2, y) && !dark(first, kSize / 2 + 1, y)) << y;
        EXPECT_TRUE(!dark(last, kSize / 2 - 2, y) && dark(last, kSize / 2 + 1, y)) << y;
    }
    EXPECT_NEAR(darkCount(first), inside / 2, kSize);
    EXPECT_NEAR(darkCount(last), inside / 2, kSize);

    // A crescent two days old is mostly dark with its light on the right limb.
    gfx::TargaPixels crescent = disc(kSize);
    darkenMoon(crescent, 2.0 / kSynodicMonth);
    EXPECT_GT(darkCount(crescent), inside * 8 / 10);
    EXPECT_FALSE(dark(crescent, kSize - 3, kSize / 2));
    EXPECT_TRUE(dark(crescent, 3, kSize / 2));
}

TEST(MoonPicture, ShadeFitsAnyPictureSize) {
    EXPECT_TRUE(moonShade(0, 10, 0.1).empty());
    EXPECT_TRUE(moonShade(10, -1, 0.1).empty());
    // A wide picture: the disc of radius 20 sits in the middle; at the full moon no pixel
    // whose centre lies inside it is darkened.
    for (const ShadeRow& row : moonShade(100, 40, 0.5)) {
        for (int s = 0; s < row.spanCount; ++s) {
            for (int x = row.spans[s].begin; x < row.spans[s].end; ++x) {
                double dx = x + 0.5 - 50, dy = row.y + 0.5 - 20;
                EXPECT_GE(dx * dx + dy * dy, 20.0 * 20.0 - 1e-9) << x << "," << row.y;
            }
        }
    }
    for (const ShadeRow& row : moonShade(100, 40, 0.0)) {
        ASSERT_GE(row.spanCount, 1);
        EXPECT_EQ(row.spans[0].begin, 0);
        EXPECT_EQ(row.spans[row.spanCount - 1].end, 100);
    }
}
