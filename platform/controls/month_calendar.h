#pragma once
// The month calendar that the date picker drops down: which day each of its 6 x 7 cells
// shows, how keys and arrows move through the days, and where the pop-up and its parts sit on
// the screen. Weeks start on Sunday. No windows or pixels here.

#include <array>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/types.h"

namespace platform::controls {

constexpr int kCalendarColumns = 7;
constexpr int kCalendarRows = 6;
constexpr int kCalendarCells = kCalendarColumns * kCalendarRows;

struct CalendarDate {
    int year = 1601;
    int month = 1;
    int day = 1;
    bool operator==(const CalendarDate&) const = default;
};

CalendarDate dateOf(const SystemTime& time);

// The cells before the month's first day (0 when it falls on a Sunday); they show the end
// of the month before, and the cells after the last day show the start of the next month.
int leadingDays(int year, int month);
// The date a cell (0 .. 41, row by row) of the month's page shows.
CalendarDate dateOfCell(int year, int month, int cell);
// False for the cells of the first and last pages that fall before 1601 or after 9999; they
// stay empty.
bool cellHasDate(int year, int month, int cell);
// The cell of a day of the month shown.
int cellOfDay(int year, int month, int day);

// Moves by days across months and years; stays within 1601-01-01 .. 9999-12-31.
CalendarDate addDays(const CalendarDate& date, int days);
// Moves by months, keeping the day unless the new month is shorter (then its last day).
CalendarDate addMonths(const CalendarDate& date, int months);

// The weekday initials of the heading row, Sunday first: the first letter of each
// abbreviated name, or the last one where the first letters are all alike (as in languages
// whose short names share a prefix).
std::array<std::wstring, 7> weekdayInitials();

// Where the pop-up and its parts are, in screen coordinates.
struct CalendarLayout {
    Rect frame;     // the whole pop-up, its border included
    Rect heading;   // month and year between the two arrows
    Rect previous;  // the arrow to the month before
    Rect next;      // the arrow to the month after
    Rect weekdays;  // the row of weekday initials
    Rect grid;      // the 6 x 7 day cells
    int cellWidth = 0;
    int cellHeight = 0;
    int border = 1;

    Rect cellRect(int cell) const;
    // The cell under a screen point, -1 outside the grid.
    int cellAt(Point p) const;
};

// Sizes the pop-up for the text height and the width of the widest two-digit day of its
// font, and places it under the picker, or over it when there is no room below, inside
// `area` (the screen, or the part of it between the shell's bars). With alignRight the
// pop-up's right edge follows the picker's, else its left edge.
CalendarLayout placeCalendar(const Rect& picker, const Rect& area, int textHeight, int dayWidth,
                             bool alignRight);

}  // namespace platform::controls
