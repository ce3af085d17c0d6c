#pragma once
// The rules behind the world time list and the city panels: what each favourite's row
// says, the hands of its small clock, moving a favourite up, and the texts for coordinates
// and sunrise and sunset.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "platform/api/clock.h"
#include "worldtime/clock_change.h"
#include "worldtime/sun.h"

namespace worldtime {

// Clockwise from twelve o'clock, in degrees: the hour hand at position (hour mod 12) * 5 +
// minute / 12 and the minute hand at the minute, six degrees a position.
struct HandAngles {
    double hour = 0;
    double minute = 0;
};
HandAngles clockHandAngles(const platform::SystemTime& local);

// OptShowCountry (default 1).
bool showCountry();
// The city's name, with ", " and its country when asked for.
std::wstring cityLabel(const core::RecordTable& cities, int row, bool withCountry);

struct WorldClockRow {
    std::wstring label;
    int zone = 0;
    platform::SystemTime local;
    bool daylightSaving = false;
};
// One row per favourite, in order, for a UTC moment (zones from the shared zone table).
std::vector<WorldClockRow> worldClockRows(const core::RecordTable& favourites,
                                          std::int64_t utcTicks, bool withCountry);

// Moves a favourite one place up (swapWithPrevious) and saves folder + "mycities.dat". The
// current favourite stays the same city, and FavCity follows it. Answers the moved
// favourite's new row, 0 when the row was the first or does not exist.
int moveFavouriteUp(core::RecordTable& favourites, std::wstring_view folder, int row);

// The panels' minute check: true when the local hour or minute differs from the last one
// seen (and on the first call), so the panels are redrawn once a minute.
class MinuteCheck {
  public:
    bool changed(const platform::SystemTime& local);

  private:
    int lastMinuteOfDay_ = -1;
};

// Degrees and arc minutes of a coordinate's absolute value through "%s° %s'" ("51° 31'").
std::wstring coordinateText(double value);
// "Longitude: 0° 08' W" and "Latitude: 51° 31' N" (language strings 118 to 123).
std::wstring longitudeLine(double longitude);
std::wstring latitudeLine(double latitude);
// The map panel's "0° 08' W, 51° 31' N" (language strings 244 to 248).
std::wstring mapCoordinates(double latitude, double longitude);
// Sunrise and sunset lines (language strings 242 and 243); the given texts for a day
// without sunset or without sunrise.
struct SunLines {
    std::wstring sunrise;
    std::wstring sunset;
};
SunLines sunLines(const SunTimes& times, std::wstring_view polarDayText,
                  std::wstring_view polarNightText);

// What the daylight map's panel says about a favourite at a UTC moment: its label, its local
// date and time, its coordinates, and sunrise and sunset on its local date by its local
// clock (an hour later while its zone keeps daylight saving), with language strings 697 and
// 698 for a day without sunset or sunrise, and the next change of its clocks. An empty label
// for a row that does not exist.
struct CityPanel {
    std::wstring label;
    platform::SystemTime local;
    bool daylightSaving = false;
    std::wstring coordinates;
    SunLines sun;
    std::optional<ClockShift> change;
};
CityPanel cityPanel(const core::RecordTable& favourites, int row, std::int64_t utcTicks,
                    bool withCountry);

}  // namespace worldtime
