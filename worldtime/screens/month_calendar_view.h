#pragma once
// The month calendar widget: the month as "MMMM yyyy" over a row of day names and six weeks of
// day cells. The selected day is tinted in the theme's colour and days with an appointment
// are framed in it. Choosing a day opens the calendar program on it, to view the day or to
// add an appointment; an empty cell does nothing.

#include <functional>
#include <string>

#include "ui/control.h"
#include "worldtime/month_calendar.h"

namespace worldtime {

class MonthCalendarView final : public ui::Control {
  public:
    MonthCalendarView();

    // Shows a month and reads its appointment marks; the selection goes to the given day
    // (none when 0 or not in the month).
    void showMonth(int year, int month, int selectedDay);
    const MonthGrid& grid() const { return grid_; }
    int selectedCell() const { return selected_; }
    std::wstring headingText() const;

    // The rectangles of the heading, of a day name and of a cell, in window pixels.
    platform::Rect headingRect() const;
    platform::Rect cellRect(int cell) const;
    // The cell under a point, or -1.
    int cellAt(platform::Point point) const;

    // Chooses a cell: selects it and opens the calendar program on its day; false for an
    // empty cell, which changes nothing.
    bool choose(int cell, bool newAppointment);

    // How the calendar program is started (its device path and command line); by default
    // through the platform. Tests put their own here.
    std::function<bool(std::wstring_view program, std::wstring_view commandLine)> startCalendar;

    // While focused the selected day is framed as well as tinted.
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    // A tap views the day; a tap on the selected day again opens a new appointment on it.
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;
    // The arrows move the selection within the month; Enter views the selected day. An arrow
    // that would leave the month is not used (false), so the screen can move the focus on.
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;

  private:
    int rowHeight() const;

    MonthGrid grid_;
    int selected_ = -1;
};

}  // namespace worldtime
