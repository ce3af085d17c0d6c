#pragma once
// The sun as the daylight map and its panel need it: position for a moment (low precision,
// about a hundredth of a degree this century), sidereal time, the meridian under the sun,
// and sunrise and sunset for a place and a day. Angles are degrees unless a name says
// otherwise.

#include "platform/api/clock.h"
#include "worldtime/zones.h"

namespace worldtime {

struct SunPosition {
    double rightAscension = 0;     // 0..360
    double declination = 0;        // -90..90
    double radiusVector = 0;       // astronomical units
    double eclipticLongitude = 0;  // 0..360
};

// The Julian date of a UTC moment (2000-01-01 12:00 is 2451545.0).
double julianDate(const platform::SystemTime& utc);
// Greenwich mean sidereal time in hours, 0 <= t < 24.
double greenwichSiderealHours(double julianDate);
// The eccentric anomaly E (radians) with E - e sin E = M, M in degrees. Newton's method,
// stopping at 1e-6 or after a bounded number of steps.
double solveKepler(double meanAnomaly, double eccentricity);
// Geometric position of the sun; apparent adds nutation and aberration in longitude.
SunPosition sunPosition(double julianDate, bool apparent = false);
// The sub-solar shift: the longitude of the sun's meridian plus 180, 0 <= s < 360.
double subSolarShift(const SunPosition& sun, double siderealHours);
// The map column of that meridian on a map width pixels wide (longitude -180 at column 0).
int subSolarColumn(double shift, int width);

// A time of day for sunrise or sunset. dayOffset is -1 or +1 when the event falls on the
// day before or after the one asked for in the zone's time.
struct ClockTime {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int dayOffset = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// PolarDay: the sun does not set that day; PolarNight: it does not rise. Both leave the
// clock times at 00:00 and are shown with texts of their own.
enum class DaylightKind { Normal, PolarDay, PolarNight };

struct SunTimes {
    DaylightKind kind = DaylightKind::Normal;
    ClockTime sunrise;
    ClockTime sunset;
    double dayLengthHours = 0;
};

// Sunrise and sunset on a date at a place (latitude north, longitude east) in a zone whose
// clock is zoneHours ahead of UTC. The sun's upper edge on the horizon with refraction;
// accurate to a few minutes away from the polar circles.
SunTimes sunriseSunset(int year, int month, int day, double latitude, double longitude,
                       double zoneHours);
// The same for a city's local date in its zone: the standard offset, an hour (the daylight
// bias) later while daylight saving is in force.
SunTimes citySunTimes(const platform::SystemTime& localDate, double latitude, double longitude,
                      const ZoneInfo& zone, bool daylightSaving);

// A decimal hour count, any sign or size, as a time of day with its day offset.
ClockTime clockTimeOf(double hours);

}  // namespace worldtime
