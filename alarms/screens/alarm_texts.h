#pragma once
// The words the alarm screens show for an alarm: the repeat summary of a list row, the state
// after its name, the "when" of the detail panel, and the items of the editor's day list.
// Pure functions of their arguments (the language strings aside), so the list, the panel and
// the tests agree on every text.

#include <functional>
#include <optional>
#include <string>

#include "alarms/alarm_record.h"
#include "platform/api/clock.h"

namespace alarms {

// What a repeat summary needs of an alarm record.
struct RepeatFields {
    int kind = 0;         // 1 once ... 7 chosen days
    int dayMask = 0;      // 1 Monday ... 64 Sunday
    AlarmDate startDate;  // a one-off alarm's date
    int dayOfMonth = 0;   // 1..31
    int month = 0;        // 1..12
};

// A date in the program's short date format.
using DateText = std::function<std::wstring(const platform::SystemTime&)>;

// "1st", "2nd", "3rd", "4th" ... "31st": the editor's day-of-month items.
std::wstring dayListItem(int day);

// The day of a month with its ordinal format (language strings 80 to 83).
std::wstring ordinalDay(int day);

// The names of the ticked days, Monday first, joined by ","; "N/A" when none is ticked.
std::wstring tickedDayNames(int dayMask);

// The second line of a list row.
std::wstring repeatText(const RepeatFields& fields, const DateText& dateText);

// A stored date at midnight; nothing when it is not a real date.
std::optional<platform::SystemTime> dateOf(const AlarmDate& date);

// When an armed alarm rings, said against the present: a date for a later month or year,
// "Tomorrow", "In N days", "In N hours", "In N minutes" or "Now". start is the armed
// notification's start time (nothing when there is no notification to read); startValid is
// false when that time does not convert.
std::wstring whenText(const std::optional<platform::SystemTime>& start, bool startValid,
                      const platform::SystemTime& now, const DateText& dateText);

// The state after an alarm's name in its list row: " : Off" for an alarm without a handle,
// " : " + city (or nothing) for an armed one, " : Expired" for one whose notification is gone.
enum class AlarmState { Off, Armed, Expired };
std::wstring stateSuffix(AlarmState state, std::wstring_view cityName);

}  // namespace alarms
