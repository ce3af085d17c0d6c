#pragma once
// The moon as its screen and `vorn moon` show it: phase, illuminated part, age and distance
// from the low-precision theory with the constants of the 1980.0 epoch, the true new moons
// (and the other principal phases) from the mean lunation with its periodic corrections,
// and the rows of the moon picture that lie in shadow. Every instant taken or answered is
// UTC; callers convert device or zone local time before and after.

#include <vector>

#include "gfx/targa.h"
#include "platform/api/clock.h"
#include "worldtime/zones.h"

namespace worldtime {

// The Julian date of a calendar date and time: Gregorian from 5 October 1582 on (the day
// the reform's correction starts to apply in this formula), Julian before.
double moonJulianDate(int year, int month, int day, int hour, int minute, int second);
double moonJulianDate(const platform::SystemTime& utc);

// The calendar date and time (UTC, to the second) of a Julian date.
platform::SystemTime calendarOfJulianDate(double julianDate);

struct MoonState {
    double phase = 0;            // 0 new, 0.25 first quarter, 0.5 full, 0.75 last quarter; < 1
    double illuminated = 0;      // fraction of the disc lit, 0..1
    double ageDays = 0;          // days since the (theory's) new moon, 0..29.53
    double distanceKm = 0;       // from the earth's centre
    double angularDiameter = 0;  // degrees
    double sunDistanceKm = 0;
    double sunAngularDiameter = 0;  // degrees
};

// The moon at a Julian date (UTC).
MoonState moonState(double julianDate);

constexpr double kSynodicMonth = 29.53058868;

enum class LunarPhase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

// The mean new moon of lunation k (k = 0 is the new moon of 1900 January), Julian date.
double meanNewMoon(double k);
// The true instant of a principal phase of lunation k: the mean phase with the periodic
// terms of the sun's and moon's mean anomalies and the moon's argument of latitude. Good to
// a few minutes over centuries around 1900-2100. The instant is in the uniform time of the
// ephemerides, which runs about a minute ahead of UTC in this century.
double truePhase(int k, LunarPhase phase);
// Seconds the ephemerides' time runs ahead of UTC in a year (a fit to the observed values,
// within a few seconds from 1900 to 2025 and an estimate after).
double ephemerisLeadSeconds(double year);
// The same instant in UTC.
double truePhaseUtc(int k, LunarPhase phase);

struct NewMoons {
    double last = 0;  // Julian date, never after the instant asked about
    double next = 0;  // Julian date, after it
};

// The true new moons around an instant: the lunation is chosen by the true new moons
// themselves, so near a new moon the last one is never after the instant and the next
// never at or before it.
NewMoons newMoonsAround(double julianDate);

// What the moon screen and `vorn moon` show for a moment.
struct MoonReport {
    double julianDate = 0;
    MoonState state;
    NewMoons newMoons;
};
MoonReport moonReport(const platform::SystemTime& utc);
// The report for the device's present moment: its UTC time, whatever zone the device keeps.
MoonReport moonReportNow();
// A Julian date (UTC) as local time: in the zone given, else in the device's own zone.
platform::SystemTime localTimeOf(double julianDate, const ZoneInfo* zone);

// The shadow of one row of the moon picture, as pixel columns [begin, end) to darken; a row
// has at most two.
struct ShadeSpan {
    int begin = 0;
    int end = 0;
};
struct ShadeRow {
    int y = 0;
    ShadeSpan spans[2];
    int spanCount = 0;
};

// The rows of a picture of the given size whose parts lie in shadow at the phase: the disc
// fills the largest centred square. For phase below 0.5 the shadow runs from the left edge
// to the terminator and from the right limb to the right edge; from 0.5 on from the left
// edge to the left limb and from the terminator to the right edge.
std::vector<ShadeRow> moonShade(int width, int height, double phase);

// Darkens the picture's shadowed pixels: red, green and blue times 0.6 (truncated) where
// alpha is not 0 (every pixel of a picture without alpha). The shadow is the same above and
// below the centre, so the picture's row order does not matter.
void darkenMoon(gfx::TargaPixels& picture, double phase);

}  // namespace worldtime
