#include "worldtime/screens/month_calendar_view.h"

#include "core/language.h"
#include "gfx/drawing.h"
#include "platform/api/locale.h"
#include "platform/api/process.h"
#include "ui/control_paint.h"
#include "worldtime/planner.h"
#include "worldtime/screens/planner_view.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr int kSelectedAlpha = 48;
constexpr std::uint32_t kCentred = dt::Center | dt::VCenter | dt::SingleLine;

}  // namespace

MonthCalendarView::MonthCalendarView() {
    isFocusable = true;
    startCalendar = [](std::wstring_view program, std::wstring_view commandLine) {
        return platform::startProgram(program, commandLine).has_value();
    };
}

void MonthCalendarView::showMonth(int year, int month, int selectedDay) {
    grid_ = monthGrid(year, month, true);
    selected_ = grid_.cellOfDay(selectedDay);
    invalidate();
}

std::wstring MonthCalendarView::headingText() const {
    if (grid_.month < 1)
        return {};
    SystemTime first{static_cast<std::uint16_t>(grid_.year),
                     static_cast<std::uint16_t>(grid_.month), 0, 1};
    return formatDate(first, L"MMMM yyyy").value_or(L"");
}

int MonthCalendarView::rowHeight() const {
    // The heading, the day names and six weeks share the height.
    return rect.height() / (kMonthRows + 2);
}

Rect MonthCalendarView::headingRect() const {
    return {rect.left, rect.top, rect.right, rect.top + rowHeight()};
}

Rect MonthCalendarView::cellRect(int cell) const {
    const int column = cell % kMonthColumns;
    const int row = cell / kMonthColumns;
    const int width = rect.width() / kMonthColumns;
    const int left = rect.left + (rect.width() - width * kMonthColumns) / 2 + column * width;
    const int top = rect.top + rowHeight() * (row + 2);
    return {left, top, left + width, top + rowHeight()};
}

int MonthCalendarView::cellAt(Point point) const {
    for (int cell = 0; cell < kMonthCells; ++cell) {
        if (cellRect(cell).contains(point))
            return cell;
    }
    return -1;
}

bool MonthCalendarView::choose(int cell, bool newAppointment) {
    if (cell < 0 || cell >= kMonthCells || grid_.cells[static_cast<std::size_t>(cell)].day < 1)
        return false;
    selected_ = cell;
    invalidate();
    SystemTime day{static_cast<std::uint16_t>(grid_.year), static_cast<std::uint16_t>(grid_.month),
                   0, static_cast<std::uint16_t>(grid_.cells[static_cast<std::size_t>(cell)].day)};
    // A calendar program that does not start is not reported: there is nothing to put right.
    if (startCalendar)
        startCalendar(kCalendarProgram, calendarCommandLine(day, newAppointment));
    return true;
}

void MonthCalendarView::paint(DeviceContext& dc, const Rect& invalid) {
    if (!isVisible || !rect.intersects(invalid))
        return;
    const Colour highlight = theme().mainColour;
    const Colour text = theme().textColour;
    dc.setTextColour(text);
    gfx::drawTextTransparent(dc, headingText(), headingRect(), kCentred, ui::smallFont(true));
    for (int column = 0; column < kMonthColumns; ++column) {
        Rect name = cellRect(column);
        name.top -= rowHeight();
        name.bottom -= rowHeight();
        gfx::drawTextTransparent(
            dc, core::languageString(kMonthDayNameStrings[static_cast<std::size_t>(column)]), name,
            kCentred, ui::smallFont(true));
    }
    for (int cell = 0; cell < kMonthCells; ++cell) {
        const MonthCell& c = grid_.cells[static_cast<std::size_t>(cell)];
        if (c.day < 1)
            continue;
        const Rect r = cellRect(cell);
        if (cell == selected_)
            blendRect(dc, r, highlight, kSelectedAlpha);
        if (c.appointment)
            dc.frameRect(r, highlight);
        if (cell == selected_ && hasFocus())
            ui::drawFocusFrame(dc, r, theme());
        gfx::drawTextTransparent(dc, std::to_wstring(c.day), r, kCentred, ui::smallFont());
    }
}

bool MonthCalendarView::pointer(std::uint32_t message, WParam, Point point) {
    if (!rect.contains(point))
        return false;
    if (message == wm::LButtonUp) {
        const int cell = cellAt(point);
        choose(cell, cell >= 0 && cell == selected_);
    }
    return true;
}

bool MonthCalendarView::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    int step = 0;
    switch (keyCode) {
        case vk::Left:
            step = -1;
            break;
        case vk::Right:
            step = 1;
            break;
        case vk::Up:
            step = -kMonthColumns;
            break;
        case vk::Down:
            step = kMonthColumns;
            break;
        case vk::Return:
            if (message == wm::KeyDown)
                choose(selected_, false);
            return true;
        default:
            return false;
    }
    const int next = selected_ < 0 ? grid_.cellOfDay(1) : selected_ + step;
    const bool inMonth =
        next >= 0 && next < kMonthCells && grid_.cells[static_cast<std::size_t>(next)].day > 0;
    if (!inMonth)
        return false;
    if (message == wm::KeyDown) {
        selected_ = next;
        invalidate();
    }
    return true;
}

}  // namespace worldtime
