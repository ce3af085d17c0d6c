#pragma once
// The calendar program's command line, as other programs start it: "calendar -va -d YYYYMMDD"
// shows a day, "calendar -new -d YYYYMMDD" opens a new appointment on it, "calendar -show ID"
// shows one appointment (a reminder going off, or another program displaying it), and
// "calendar" (or nothing) shows today. The line comes from whoever started the program, so it is
// read strictly: a bounded length, known words only, a real date.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace poutlook {

enum class CalendarView { Day, NewAppointment, Appointment };

struct CalendarCommand {
    CalendarView view = CalendarView::Day;
    platform::SystemTime date{};    // 00:00 of the day
    std::uint32_t appointment = 0;  // the appointment's object id (view Appointment)
};

// Longer command lines are refused.
constexpr std::size_t kMaxCommandLine = 256;

// Nothing for a line that is not one of the forms above (unknown words, a date that is not
// eight digits or not a real day, a word given twice, -d without a date, -show without a
// decimal id from 1 to 2147483647 or together with another view or a date).
std::optional<CalendarCommand> parseCalendarCommand(std::wstring_view line,
                                                    const platform::SystemTime& today);

// "HH:MM" (or "H:MM") from 00:00 to 23:59 as minutes of the day; nothing otherwise.
std::optional<int> parseClockTime(std::wstring_view text);

}  // namespace poutlook
