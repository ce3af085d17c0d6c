#pragma once
// The times of a trip file and of its agenda: "DD:MM:YYYY:HH:MM" as the file writes them, and
// the astronomical Julian day the agenda sorts its events by.

#include <optional>
#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace travel {

// What a trip file holds in place of a time when the trip has no events.
constexpr std::wstring_view kNoTripTime = L"??";

// "DD:MM:YYYY:HH:MM"; nothing unless every part is a number and together they name a real
// minute (years 1601 to 9999). Seconds are 0.
std::optional<platform::SystemTime> parseTripTime(std::wstring_view text);
std::wstring formatTripTime(const platform::SystemTime& time);

// The astronomical Julian day of a date and time, the Gregorian calendar from 15 October 1582
// on (Julian day 2299161) and the Julian one before it.
double julianDay(const platform::SystemTime& time);
// The date and time of a Julian day, rounded to the second; nothing outside years 1601 to
// 9999 or for a value that is not a number.
std::optional<platform::SystemTime> fromJulianDay(double day);
// The Julian day with six decimals and "." as the point, whatever the locale.
std::wstring julianDayText(double day);

}  // namespace travel
