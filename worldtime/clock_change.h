#pragma once
// The next change of a city's clocks as people are told it: "Clocks go forward 1 h on Sun
// 29/03/2026 02:00". The date and time are the city's wall clock just before the change, the
// time the clocks show when they are set forward or back. The words and the date and time
// formats are the caller's: the screens take the language file's words and the user's
// formats, the command line its own English.

#include <functional>
#include <optional>
#include <string>

#include "platform/api/clock.h"
#include "worldtime/city_clock.h"

namespace worldtime {

struct ClockShift {
    platform::SystemTime wallTime{0, 0, 0, 0, 0, 0, 0, 0};  // what the clocks show then
    int minutes = 0;                                        // forward when positive
};
// The next change of a city's clock; nothing when none lies ahead or it keeps the offset.
std::optional<ClockShift> nextClockShift(const CityClock& clock);

struct ClockChangeWords {
    std::wstring forward;  // "%s" the amount, "%s" the date, "%s" the time
    std::wstring back;
    std::wstring hours;    // "%d" whole hours
    std::wstring minutes;  // "%d" minutes
};
// The words of the loaded language file (strings 714 to 717).
ClockChangeWords languageClockChangeWords();

using DateTimeText = std::function<std::wstring(const platform::SystemTime&)>;

// "1 h", "30 min" or "1 h 30 min" for a shift either way.
std::wstring shiftAmountText(int minutes, const ClockChangeWords& words);
// The change in the given words, with the wall time through the given date and time formats.
std::wstring clockChangeText(const ClockShift& shift, const ClockChangeWords& words,
                             const DateTimeText& date, const DateTimeText& time);
// What the screens show: the change in the language file's words, the weekday's short name
// before the user's date, and the user's time; empty when no change lies ahead.
std::wstring clockChangeLine(const std::optional<ClockShift>& shift, const DateTimeText& userDate,
                             const DateTimeText& userTime);

}  // namespace worldtime
