#pragma once
// The month calendar's grid: six weeks of seven days from Sunday, the days of the shown month
// numbered and the cells before and after it empty, with a mark for the days that hold an
// appointment in the device's calendar.

#include <array>
#include <string>

#include "platform/api/clock.h"

namespace worldtime {

constexpr int kMonthColumns = 7;
constexpr int kMonthRows = 6;
constexpr int kMonthCells = kMonthColumns * kMonthRows;
// The day names of the heading row, Sunday first, as language string numbers.
constexpr std::array<int, kMonthColumns> kMonthDayNameStrings = {627, 621, 622, 623, 624, 625, 626};

struct MonthCell {
    int day = -1;  // -1 for an empty cell
    bool appointment = false;
};

struct MonthGrid {
    int year = 0;
    int month = 0;
    std::array<MonthCell, kMonthCells> cells{};
    // The cell of a day of the month, or -1.
    int cellOfDay(int day) const;
};

// The grid of a month (1..12) of a year from 1601 to 30826; every cell empty for any other.
// With marks, each day is looked up in the device's calendar.
MonthGrid monthGrid(int year, int month, bool withAppointments);

}  // namespace worldtime
