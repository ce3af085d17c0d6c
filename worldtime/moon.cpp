#include "worldtime/moon.h"

#include <algorithm>
#include <cmath>

#include "worldtime/sun.h"

namespace worldtime {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

double sinDeg(double degrees) {
    return std::sin(degrees * kRad);
}
double cosDeg(double degrees) {
    return std::cos(degrees * kRad);
}

// x reduced into 0 <= x < 360.
double fixAngle(double x) {
    double r = std::fmod(x, 360.0);
    if (r < 0)
        r += 360.0;
    return r >= 360.0 ? 0 : r;
}

// Elements of the 1980.0 epoch.
constexpr double kEpoch = 2444238.5;
constexpr double kSunEclipticLongitudeAtEpoch = 278.833540;
constexpr double kSunPerigeeLongitude = 282.596403;
constexpr double kEarthEccentricity = 0.016718;
constexpr double kSunSemiMajorAxis = 1.495985e8;
constexpr double kSunAngularSize = 0.533128;
constexpr double kMoonMeanLongitudeAtEpoch = 64.975464;
constexpr double kMoonPerigeeLongitudeAtEpoch = 349.383063;
constexpr double kMoonEccentricity = 0.0549;
constexpr double kMoonAngularSize = 0.5181;
constexpr double kMoonSemiMajorAxis = 384401;

}  // namespace

double moonJulianDate(int year, int month, int day, int hour, int minute, int second) {
    int y = month > 2 ? year : year - 1;
    int m = month > 2 ? month : month + 12;
    bool gregorian = year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 5)));
    int b = 0;
    if (gregorian) {
        int a = y / 100;
        b = 2 - a + a / 4;
    }
    return std::trunc(365.25 * (y + 4716)) + std::trunc(30.6001 * (m + 1)) + day + b - 1524.5 +
           (second + 60.0 * (minute + 60.0 * hour)) / 86400.0;
}

double moonJulianDate(const platform::SystemTime& utc) {
    return moonJulianDate(utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second) +
           utc.milliseconds / 86400000.0;
}

platform::SystemTime calendarOfJulianDate(double julianDate) {
    // Whole seconds first, so that 23:59:59.7 becomes the next day's midnight and not 24:00.
    double seconds = std::round((julianDate + 0.5) * 86400.0);
    double z = std::floor(seconds / 86400.0);
    double secondOfDay = seconds - z * 86400.0;
    double a = z;
    if (z >= 2299161) {
        double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::floor(alpha / 4);
    }
    double b = a + 1524;
    double c = std::floor((b - 122.1) / 365.25);
    double d = std::floor(365.25 * c);
    double e = std::floor((b - d) / 30.6001);
    platform::SystemTime t;
    int day = static_cast<int>(b - d - std::floor(30.6001 * e));
    int month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    int year = static_cast<int>(month > 2 ? c - 4716 : c - 4715);
    int sod = static_cast<int>(secondOfDay);
    t.year = static_cast<std::uint16_t>(std::clamp(year, 0, 65535));
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(sod / 3600);
    t.minute = static_cast<std::uint16_t>(sod / 60 % 60);
    t.second = static_cast<std::uint16_t>(sod % 60);
    if (year >= 1 && year <= 30827)
        t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day));
    return t;
}

MoonState moonState(double julianDate) {
    const double day = julianDate - kEpoch;

    // The sun.
    const double n = fixAngle((360.0 / 365.2422) * day);
    const double m = fixAngle(n + kSunEclipticLongitudeAtEpoch - kSunPerigeeLongitude);
    const double e = solveKepler(m, kEarthEccentricity);
    const double ec = 2.0 *
                      std::atan(std::sqrt((1 + kEarthEccentricity) / (1 - kEarthEccentricity)) *
                                std::tan(e / 2.0)) /
                      kRad;
    const double lambdaSun = fixAngle(ec + kSunPerigeeLongitude);
    const double f =
        (1 + kEarthEccentricity * cosDeg(ec)) / (1 - kEarthEccentricity * kEarthEccentricity);

    // The moon.
    const double ml = fixAngle(13.1763966 * day + kMoonMeanLongitudeAtEpoch);
    const double mm = fixAngle(ml - 0.1114041 * day - kMoonPerigeeLongitudeAtEpoch);
    const double evection = 1.2739 * sinDeg(2 * (ml - lambdaSun) - mm);
    const double annual = 0.1858 * sinDeg(m);
    const double a3 = 0.37 * sinDeg(m);
    const double mmp = mm + evection - annual - a3;
    const double centre = 6.2886 * sinDeg(mmp);
    const double a4 = 0.214 * sinDeg(2 * mmp);
    const double lp = ml + evection + centre - annual + a4;
    const double variation = 0.6583 * sinDeg(2 * (lp - lambdaSun));
    const double lpp = lp + variation;

    const double age = lpp - lambdaSun;
    MoonState state;
    state.illuminated = (1 - cosDeg(age)) / 2;
    state.phase = fixAngle(age) / 360.0;
    state.ageDays = kSynodicMonth * state.phase;
    state.distanceKm = kMoonSemiMajorAxis * (1 - kMoonEccentricity * kMoonEccentricity) /
                       (1 + kMoonEccentricity * cosDeg(mmp + centre));
    state.angularDiameter = kMoonAngularSize / (state.distanceKm / kMoonSemiMajorAxis);
    state.sunDistanceKm = kSunSemiMajorAxis / f;
    state.sunAngularDiameter = kSunAngularSize * f;
    return state;
}

double meanNewMoon(double k) {
    const double t = k / 1236.85;
    const double t2 = t * t;
    return 2415020.75933 + kSynodicMonth * k + 0.0001178 * t2 - 0.000000155 * t2 * t +
           0.00033 * sinDeg(166.56 + 132.87 * t - 0.009173 * t2);
}

double truePhase(int lunation, LunarPhase phase) {
    const double k = lunation + static_cast<int>(phase) * 0.25;
    const double t = k / 1236.85;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double mean = meanNewMoon(k);
    // Mean anomalies of the sun and the moon, and the moon's argument of latitude.
    const double m = 359.2242 + 29.10535608 * k - 0.0000333 * t2 - 0.00000347 * t3;
    const double mp = 306.0253 + 385.81691806 * k + 0.0107306 * t2 + 0.00001236 * t3;
    const double f = 21.2964 + 390.67050646 * k - 0.0016528 * t2 - 0.00000239 * t3;
    double correction = 0;
    if (phase == LunarPhase::New || phase == LunarPhase::Full) {
        correction = (0.1734 - 0.000393 * t) * sinDeg(m) + 0.0021 * sinDeg(2 * m) -
                     0.4068 * sinDeg(mp) + 0.0161 * sinDeg(2 * mp) - 0.0004 * sinDeg(3 * mp) +
                     0.0104 * sinDeg(2 * f) - 0.0051 * sinDeg(m + mp) - 0.0074 * sinDeg(m - mp) +
                     0.0004 * sinDeg(2 * f + m) - 0.0004 * sinDeg(2 * f - m) -
                     0.0006 * sinDeg(2 * f + mp) + 0.0010 * sinDeg(2 * f - mp) +
                     0.0005 * sinDeg(m + 2 * mp);
    } else {
        correction =
            (0.1721 - 0.0004 * t) * sinDeg(m) + 0.0021 * sinDeg(2 * m) - 0.6280 * sinDeg(mp) +
            0.0089 * sinDeg(2 * mp) - 0.0004 * sinDeg(3 * mp) + 0.0079 * sinDeg(2 * f) -
            0.0119 * sinDeg(m + mp) - 0.0047 * sinDeg(m - mp) + 0.0003 * sinDeg(2 * f + m) -
            0.0004 * sinDeg(2 * f - m) - 0.0006 * sinDeg(2 * f + mp) + 0.0021 * sinDeg(2 * f - mp) +
            0.0003 * sinDeg(m + 2 * mp) + 0.0004 * sinDeg(m - 2 * mp) - 0.0003 * sinDeg(2 * m + mp);
        const double quarter = 0.0028 - 0.0004 * cosDeg(m) + 0.0003 * cosDeg(mp);
        correction += phase == LunarPhase::FirstQuarter ? quarter : -quarter;
    }
    return mean + correction;
}

double ephemerisLeadSeconds(double year) {
    if (year >= 2005 && year < 2050) {
        double t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    if (year >= 1986 && year < 2005) {
        double t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
    }
    if (year >= 1961 && year < 1986) {
        double t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year >= 1941 && year < 1961) {
        double t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year >= 1920 && year < 1941) {
        double t = year - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (year >= 1900 && year < 1920) {
        double t = year - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
               0.000197 * t * t * t * t;
    }
    double u = (year - 1820) / 100;
    if (year >= 2050 && year < 2150)
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    return -20 + 32 * u * u;
}

double truePhaseUtc(int k, LunarPhase phase) {
    const double instant = truePhase(k, phase);
    const double year = 2000.0 + (instant - 2451545.0) / 365.25;
    return instant - ephemerisLeadSeconds(year) / 86400.0;
}

NewMoons newMoonsAround(double julianDate) {
    // The mean lunation is within a day of the true one; the true new moons decide.
    int k = static_cast<int>(std::floor((julianDate - 2415020.75933) / kSynodicMonth));
    for (int step = 0; step < 4 && truePhaseUtc(k, LunarPhase::New) > julianDate; ++step) --k;
    for (int step = 0; step < 4 && truePhaseUtc(k + 1, LunarPhase::New) <= julianDate; ++step) ++k;
    return {truePhaseUtc(k, LunarPhase::New), truePhaseUtc(k + 1, LunarPhase::New)};
}

MoonReport moonReport(const platform::SystemTime& utc) {
    MoonReport report;
    report.julianDate = moonJulianDate(utc);
    report.state = moonState(report.julianDate);
    report.newMoons = newMoonsAround(report.julianDate);
    return report;
}

MoonReport moonReportNow() {
    return moonReport(platform::deviceUtcTime());
}

platform::SystemTime localTimeOf(double julianDate, const ZoneInfo* zone) {
    platform::SystemTime utc = calendarOfJulianDate(julianDate);
    if (zone)
        return zoneLocalTime(*zone, utc);
    return platform::utcToLocal(utc).value_or(utc);
}

std::vector<ShadeRow> moonShade(int width, int height, double phase) {
    std::vector<ShadeRow> rows;
    if (width <= 0 || height <= 0)
        return rows;
    const double r = std::min(width, height) / 2.0;
    const double cx = width / 2.0;
    const double cy = height / 2.0;
    const double c = std::cos(2 * kPi * phase);
    // Column i is in a span when its centre lies within the span's bounds.
    auto column = [width](double x) {
        return static_cast<int>(std::clamp(std::floor(x + 0.5), 0.0, double(width)));
    };
    for (int y = 0; y < height; ++y) {
        const double dy = std::fabs(y + 0.5 - cy);
        if (dy >= r)
            continue;
        const double w = std::sqrt(r * r - dy * dy);
        ShadeRow row;
        row.y = y;
        auto add = [&row](int begin, int end) {
            if (end > begin)
                row.spans[row.spanCount++] = {begin, end};
        };
        if (phase < 0.5) {
            add(0, column(cx + w * c));
            add(column(cx + w), width);
        } else {
            add(0, column(cx - w));
            add(column(cx - w * c), width);
        }
        if (row.spanCount > 0)
            rows.push_back(row);
    }
    return rows;
}

void darkenMoon(gfx::TargaPixels& picture, double phase) {
    const int bpp = picture.bytesPerPixel;
    if (bpp != 3 && bpp != 4)
        return;
    for (const ShadeRow& row : moonShade(picture.width, picture.height, phase)) {
        std::uint8_t* line = picture.row(row.y);
        for (int s = 0; s < row.spanCount; ++s) {
            for (int x = row.spans[s].begin; x < row.spans[s].end; ++x) {
                std::uint8_t* p = line + static_cast<std::size_t>(x) * bpp;
                if (bpp == 4 && p[3] == 0)
                    continue;
                for (int i = 0; i < 3; ++i) p[i] = static_cast<std::uint8_t>(p[i] * 6 / 10);
            }
        }
    }
}

}  // namespace worldtime
