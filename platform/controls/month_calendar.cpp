#include "platform/controls/month_calendar.h"

#include <algorithm>
#include <set>

#include "platform/api/locale.h"

namespace platform::controls {
namespace {

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 9999;

// Days since 1601-01-01 and back; the proleptic Gregorian calendar, as the clock uses.
long long serialOf(const CalendarDate& d) {
    long long days = 0;
    int y = d.year - kFirstYear;
    days += 365LL * y + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < d.month; ++m) days += daysInMonth(d.year, m);
    return days + d.day - 1;
}

CalendarDate dateOfSerial(long long serial) {
    CalendarDate d;
    // Start from an estimate of the year and correct it.
    int year = kFirstYear + static_cast<int>(serial / 366);
    while (serialOf({year + 1, 1, 1}) <= serial) ++year;
    d.year = year;
    long long rest = serial - serialOf({year, 1, 1});
    int month = 1;
    while (rest >= daysInMonth(year, month)) {
        rest -= daysInMonth(year, month);
        ++month;
    }
    d.month = month;
    d.day = static_cast<int>(rest) + 1;
    return d;
}

}  // namespace

CalendarDate dateOf(const SystemTime& time) {
    return {time.year, time.month, time.day};
}

int leadingDays(int year, int month) {
    return dayOfWeekOf(year, month, 1);
}

CalendarDate dateOfCell(int year, int month, int cell) {
    return addDays({year, month, 1}, cell - leadingDays(year, month));
}

bool cellHasDate(int year, int month, int cell) {
    long long serial = serialOf({year, month, 1}) + cell - leadingDays(year, month);
    return serial >= 0 && serial <= serialOf({kLastYear, 12, 31});
}

int cellOfDay(int year, int month, int day) {
    return leadingDays(year, month) + day - 1;
}

CalendarDate addDays(const CalendarDate& date, int days) {
    static const long long kFirst = serialOf({kFirstYear, 1, 1});
    static const long long kLast = serialOf({kLastYear, 12, 31});
    long long serial = std::clamp(serialOf(date) + days, kFirst, kLast);
    return dateOfSerial(serial);
}

CalendarDate addMonths(const CalendarDate& date, int months) {
    int index = date.year * 12 + (date.month - 1) + months;
    index = std::clamp(index, kFirstYear * 12, kLastYear * 12 + 11);
    CalendarDate d{index / 12, index % 12 + 1, date.day};
    d.day = std::min(d.day, daysInMonth(d.year, d.month));
    return d;
}

std::array<std::wstring, 7> weekdayInitials() {
    std::array<std::wstring, 7> names;
    std::set<wchar_t> firsts;
    for (int d = 0; d < 7; ++d) {
        names[static_cast<std::size_t>(d)] = abbreviatedDayName(d);
        const auto& n = names[static_cast<std::size_t>(d)];
        if (!n.empty())
            firsts.insert(n.front());
    }
    bool useLast = firsts.size() == 1;
    for (auto& n : names) {
        if (!n.empty())
            n = std::wstring(1, useLast ? n.back() : n.front());
    }
    return names;
}

Rect CalendarLayout::cellRect(int cell) const {
    int row = cell / kCalendarColumns;
    int column = cell % kCalendarColumns;
    int left = grid.left + column * cellWidth;
    int top = grid.top + row * cellHeight;
    return {left, top, left + cellWidth, top + cellHeight};
}

int CalendarLayout::cellAt(Point p) const {
    if (!grid.contains(p) || cellWidth <= 0 || cellHeight <= 0)
        return -1;
    int column = (p.x - grid.left) / cellWidth;
    int row = (p.y - grid.top) / cellHeight;
    if (column >= kCalendarColumns || row >= kCalendarRows)
        return -1;
    return row * kCalendarColumns + column;
}

CalendarLayout placeCalendar(const Rect& picker, const Rect& area, int textHeight, int dayWidth,
                             bool alignRight) {
    CalendarLayout l;
    textHeight = std::max(textHeight, 6);
    l.border = std::max(1, textHeight / 12);
    int gap = std::max(2, textHeight / 3);
    int margin = std::max(2, textHeight / 5);
    l.cellHeight = textHeight + gap;
    l.cellWidth = std::max(dayWidth + textHeight * 2 / 3, l.cellHeight + textHeight / 4);
    int headingHeight = l.cellHeight + gap;
    int lineRoom = l.border + margin;  // the rule under the weekday initials and its space

    int chrome = 2 * (l.border + margin);
    if (chrome + kCalendarColumns * l.cellWidth > area.width())
        l.cellWidth = std::max(1, (area.width() - chrome) / kCalendarColumns);
    int width = chrome + kCalendarColumns * l.cellWidth;
    int height = 2 * l.border + headingHeight + l.cellHeight + lineRoom +
                 kCalendarRows * l.cellHeight + margin;

    // Below the picker when it fits, else above it, else on the side with more room.
    int top = picker.bottom;
    if (top + height > area.bottom) {
        if (picker.top - height >= area.top) {
            top = picker.top - height;
        } else {
            bool moreBelow = area.bottom - picker.bottom >= picker.top - area.top;
            top = moreBelow ? area.bottom - height : area.top;
        }
    }
    top = std::max(area.top, std::min(top, area.bottom - height));
    int left = alignRight ? picker.right - width : picker.left;
    left = std::max(area.left, std::min(left, area.right - width));
    l.frame = {left, top, left + width, top + height};

    int inner = left + l.border;
    int y = top + l.border;
    int arrowWidth = std::max(l.cellWidth, headingHeight);
    l.heading = {inner, y, l.frame.right - l.border, y + headingHeight};
    l.previous = {l.heading.left, y, l.heading.left + arrowWidth, l.heading.bottom};
    l.next = {l.heading.right - arrowWidth, y, l.heading.right, l.heading.bottom};
    y = l.heading.bottom;
    int gridLeft = inner + margin;
    l.weekdays = {gridLeft, y, gridLeft + kCalendarColumns * l.cellWidth, y + l.cellHeight};
    y = l.weekdays.bottom + lineRoom;
    l.grid = {gridLeft, y, gridLeft + kCalendarColumns * l.cellWidth,
              y + kCalendarRows * l.cellHeight};
    return l;
}

}  // namespace platform::controls
