#pragma once
// The meeting planner's grid: the hours of a chosen day on the device's clock beside the same
// moments in each favourite city, and the meeting booked from a row. Each row is one real
// hour: its UTC moment is worked out first, and every column (the device's own included)
// shows its local time at that moment by the rules in force then, so a row that lies past a
// daylight-saving change in any of the zones still names the same instant everywhere.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/record_table.h"
#include "platform/api/calendar.h"
#include "platform/api/clock.h"

namespace worldtime {

// Hour rows below the heading row; rows are numbered 1 to kPlannerHours.
constexpr int kPlannerHours = 24;
// Working hours, tinted in every column: 08:00 to 17:59.
constexpr int kFirstWorkingHour = 8;
constexpr int kLastWorkingHour = 17;

struct PlannerCell {
    platform::SystemTime local;  // the column's local time at the row's moment
    bool workingHour = false;
};

struct PlannerColumn {
    std::wstring heading;            // the city's name up to its first ","; empty for the device
    std::vector<PlannerCell> cells;  // one per hour row
};

struct PlannerGrid {
    std::vector<std::int64_t> utcTicks;  // the moment of each hour row
    std::vector<PlannerColumn> columns;  // the device's column first, then each favourite
    int presentRow = 0;                  // the row holding the device's present time; 0 none
};

// The grid for the chosen date (its year, month and day; the time of day is not used): the
// first row is the device's midnight that day and each further row one hour later. nowUtc
// (file ticks) marks the present row. An invalid date gives an empty grid.
PlannerGrid plannerGrid(const core::RecordTable& favourites, const platform::SystemTime& date,
                        std::int64_t nowUtc);

// A favourite's heading: the city's name cut at its first ",".
std::wstring plannerHeading(const core::RecordTable& favourites, int row);

// A cell's text: the midnight or noon text for hours 0 and 12, else the abbreviated day name,
// a space and the time in the clock format (core::timeFormat).
std::wstring plannerCellText(const platform::SystemTime& local, int clockFormat,
                             const std::wstring& midnight, const std::wstring& noon);

// The longest meeting subject, in characters.
constexpr std::size_t kMaxMeetingSubject = 255;

// The appointment for a meeting in a row of the grid: from the device's local time of the row
// for one hour, with the subject cut to kMaxMeetingSubject. Nothing for a row outside the grid.
std::optional<platform::Appointment> plannedMeeting(const PlannerGrid& grid, int row,
                                                    const std::wstring& subject);

// The calendar program's command line for a day: "calendar -va -d YYYYMMDD" to view it, or
// "calendar -new -d YYYYMMDD" for a new appointment on it.
std::wstring calendarCommandLine(const platform::SystemTime& date, bool newAppointment);
// The calendar program's device path.
constexpr const wchar_t* kCalendarProgram = L"\\windows\\poutlook.exe";

}  // namespace worldtime
