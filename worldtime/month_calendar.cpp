#include "worldtime/month_calendar.h"

#include "platform/api/calendar.h"

namespace worldtime {

int MonthGrid::cellOfDay(int day) const {
    for (int cell = 0; cell < kMonthCells; ++cell) {
        if (cells[static_cast<std::size_t>(cell)].day == day && day > 0)
            return cell;
    }
    return -1;
}

MonthGrid monthGrid(int year, int month, bool withAppointments) {
    MonthGrid grid;
    grid.year = year;
    grid.month = month;
    if (year < 1601 || year > 30826 || month < 1 || month > 12)
        return grid;
    const int first = platform::dayOfWeekOf(year, month, 1);  // Sunday = 0, the first column
    const int days = platform::daysInMonth(year, month);
    for (int day = 1; day <= days; ++day) {
        MonthCell& cell = grid.cells[static_cast<std::size_t>(first + day - 1)];
        cell.day = day;
        cell.appointment = withAppointments && platform::hasAppointmentOn(year, month, day);
    }
    return grid;
}

}  // namespace worldtime
