#include "worldtime/sun.h"

#include <algorithm>
#include <cmath>

namespace worldtime {
namespace {

constexpr double kRad = 0.017453292519943295;
constexpr double kDeg = 57.29577951308232;

double rad(double degrees) {
    return degrees * kRad;
}
double deg(double radians) {
    return radians * kDeg;
}

// x reduced into 0 <= x < range.
double reduce(double x, double range) {
    double r = std::fmod(x, range);
    if (r < 0)
        r += range;
    return r >= range ? 0 : r;
}

double frac(double x) {
    return x - std::floor(x);
}

// The sunrise formula works in the short constant its tables were made with.
constexpr double kPi = 3.14159;

}  // namespace

double julianDate(const platform::SystemTime& utc) {
    long y = utc.year;
    long m = utc.month;
    long mp = m > 2 ? m - 3 : m + 9;
    long yp = m > 2 ? y : y - 1;
    long c = yp / 100;
    long ya = yp - 100 * c;
    long jdn = (146097 * c) / 4 + (1461 * ya) / 4 + (153 * mp + 2) / 5 + utc.day + 1721119;
    double seconds = utc.second + 60.0 * (utc.minute + 60.0 * utc.hour) + utc.milliseconds / 1000.0;
    return static_cast<double>(jdn) - 0.5 + seconds / 86400.0;
}

double greenwichSiderealHours(double jd) {
    double t = (std::floor(jd + 0.5) - 0.5 - 2415020.0) / 36525.0;
    double theta0 = 6.6460656 + 2400.051262 * t + 0.00002581 * t * t;
    return reduce(theta0 + 24.0 * frac(jd + 0.5) * 1.002737908, 24.0);
}

double solveKepler(double meanAnomaly, double eccentricity) {
    double m = rad(meanAnomaly);
    double e = m;
    // Newton's method converges in a handful of steps for any orbit the sun's needs; the
    // bound only guards against an eccentricity near 1.
    for (int step = 0; step < 50; ++step) {
        double delta = e - eccentricity * std::sin(e) - m;
        if (std::fabs(delta) <= 1e-6)
            break;
        e -= delta / (1.0 - eccentricity * std::cos(e));
    }
    return e;
}

SunPosition sunPosition(double jd, bool apparent) {
    double t = (jd - 2415020.0) / 36525.0;
    double t2 = t * t;
    double l = reduce(279.69668 + 36000.76892 * t + 0.0003025 * t2, 360.0);
    double m = reduce(358.47583 + 35999.04975 * t - 0.000150 * t2 - 0.0000033 * t2 * t, 360.0);
    double e = 0.01675104 - 0.0000418 * t - 0.000000126 * t2;
    double anomaly = solveKepler(m, e);
    double v =
        reduce(2.0 * deg(std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(anomaly / 2))), 360.0);
    double theta = l + v - m;
    double epsilon = 23.452294 - 0.0130125 * t - 0.00000164 * t2 + 0.000000503 * t2 * t;
    if (apparent) {
        double omega = reduce(259.18 - 1934.142 * t, 360.0);
        theta -= 0.00569 + 0.00479 * std::sin(rad(omega));
        epsilon += 0.00256 * std::cos(rad(omega));
    }
    SunPosition sun;
    sun.eclipticLongitude = reduce(theta, 360.0);
    sun.radiusVector = 1.0000002 * (1 - e * e) / (1 + e * std::cos(rad(v)));
    sun.rightAscension =
        reduce(deg(std::atan2(std::cos(rad(epsilon)) * std::sin(rad(theta)), std::cos(rad(theta)))),
               360.0);
    sun.declination = deg(std::asin(std::sin(rad(epsilon)) * std::sin(rad(theta))));
    return sun;
}

double subSolarShift(const SunPosition& sun, double siderealHours) {
    return reduce(sun.rightAscension - 15.0 * siderealHours + 180.0, 360.0);
}

int subSolarColumn(double shift, int width) {
    int column = static_cast<int>(width / 360.0 * shift);
    return column < 0 ? 0 : (column >= width ? width - 1 : column);
}

ClockTime clockTimeOf(double hours) {
    ClockTime time;
    if (!std::isfinite(hours))
        return time;
    double day = std::floor(hours / 24.0);
    double within = hours - day * 24.0;
    if (within >= 24.0) {
        within = 0;
        day += 1;
    }
    time.dayOffset = static_cast<int>(day);
    time.hour = static_cast<int>(within);
    // A hair over the truncation keeps 6.4 h from reading as 6:23 through rounding noise.
    time.minute = std::min(59, static_cast<int>((within - time.hour) * 60.0 + 1e-7));
    return time;
}

namespace {

// One day's sun by the short formula: the kind of day and, for a normal one, the clock hours
// of solar noon and half the day's length. The day count is linear in the day of the month,
// so day + 1 past the month's end is simply the next day.
struct SunDay {
    DaylightKind kind = DaylightKind::Normal;
    double noon = 12;
    double half = 0;
};

SunDay sunDay(int year, int month, int day, double latitude, double longitude, double zoneHours) {
    double phi = static_cast<float>(latitude);
    double lambda = static_cast<float>(longitude);
    double tz = static_cast<float>(zoneHours);
    long y = year;
    long m = month;
    double d = static_cast<double>(367 * y - (7 * (y + (m + 9) / 12)) / 4 + (275 * m) / 9 + day) -
               730531.5 + 12.0 / 24.0;
    double l = reduce(rad(280.461 + 0.9856474 * d), 2 * kPi);
    double g = reduce(rad(357.528 + 0.9856003 * d), 2 * kPi);
    double lambdaSun = reduce(l + rad(1.915 * std::sin(g) + 0.02 * std::sin(2 * g)), 2 * kPi);
    double epsilon = rad(23.439) - rad(1) * 0.0000004 * d;
    double alpha = std::atan2(std::sin(lambdaSun) * std::cos(epsilon), std::cos(lambdaSun));
    double delta = std::asin(std::sin(lambdaSun) * std::sin(epsilon));
    double q = l - alpha;
    if (l < kPi)
        q += 2 * kPi;
    // The equation of time in minutes. Near the wrap of the two angles q can land a whole
    // turn away; taking the value nearest zero keeps the times on the right day.
    double equation = (1 - q / kPi * 0.5) * 1440;
    equation = std::remainder(equation, 1440.0);

    SunDay out;
    double a = rad(0.53 * 0.5 + 34.0 / 60.0);
    if (phi < 0)
        a = -a;
    double k = std::tan(rad(phi)) * std::tan(a + delta);
    if (!(k > -1.0)) {
        out.kind = DaylightKind::PolarNight;
        return out;
    }
    if (k > 0.99999) {
        out.kind = DaylightKind::PolarDay;
        return out;
    }
    double h = kPi / 2 + std::asin(k);
    out.half = h / kPi * 12;
    // How far the zone's clock runs ahead of the place's mean solar time. Near the date line
    // the zone and the longitude can differ by a whole day (Apia keeps UTC+13 at 172 degrees
    // west); the clock is never more than half a day from the sun, so a day is taken off.
    double clockAhead = std::remainder(tz - lambda / 15, 24.0);
    out.noon = 12 + clockAhead + equation / 60;
    return out;
}

}  // namespace

SunTimes sunriseSunset(int year, int month, int day, double latitude, double longitude,
                       double zoneHours) {
    SunTimes times;
    const SunDay today = sunDay(year, month, day, latitude, longitude, zoneHours);
    times.kind = today.kind;
    if (today.kind == DaylightKind::PolarDay)
        times.dayLengthHours = 24;
    if (today.kind != DaylightKind::Normal)
        return times;
    // At the edge of the midnight sun the formula still gives a rise and a set for days on
    // which the sun never goes down. A day has a sunset when a night follows one: its own
    // before the next day's rise, or the last day's set after midnight, when a night followed
    // that. A day with neither is a day of midnight sun, whatever rise it was given.
    const double sunrise = today.noon - today.half;
    const double sunset = today.noon + today.half;
    const SunDay before = sunDay(year, month, day - 1, latitude, longitude, zoneHours);
    const SunDay after = sunDay(year, month, day + 1, latitude, longitude, zoneHours);
    const double beforeSet = before.noon + before.half - 24;  // in today's hours
    const double afterRise = after.noon - after.half + 24;
    const bool nightBefore = before.kind == DaylightKind::PolarNight ||
                             (before.kind == DaylightKind::Normal && beforeSet < sunrise);
    const bool nightAfter = after.kind == DaylightKind::PolarNight ||
                            (after.kind == DaylightKind::Normal && sunset < afterRise);
    const bool setsToday = nightAfter && sunset < 24;
    const bool setAfterMidnight =
        nightBefore && before.kind == DaylightKind::Normal && beforeSet >= 0;
    if (!setsToday && !setAfterMidnight) {
        times.kind = DaylightKind::PolarDay;
        times.dayLengthHours = 24;
        return times;
    }
    times.dayLengthHours = 2 * today.half;
    if (times.dayLengthHours < 0.0001)
        times.dayLengthHours = 0;
    times.sunrise = clockTimeOf(sunrise);
    times.sunset = clockTimeOf(sunset);
    return times;
}

SunTimes citySunTimes(const platform::SystemTime& localDate, double latitude, double longitude,
                      const ZoneInfo& zone, bool daylightSaving) {
    double zoneHours = -zone.bias / 60.0;
    if (daylightSaving)
        zoneHours -= zone.daylightBias / 60.0;
    return sunriseSunset(localDate.year, localDate.month, localDate.day, latitude, longitude,
                         zoneHours);
}

}  // namespace worldtime
