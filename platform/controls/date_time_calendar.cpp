#include "platform/controls/date_time_calendar.h"

#include <algorithm>

#include "platform/api/locale.h"
#include "platform/api/shell.h"
#include "platform/gui/window_system.h"
#include "platform/shell/key_filters.h"

namespace platform::controls {
namespace {

// Over the shell's bars and the input panel, under the hold animation, menus and message
// boxes.
constexpr int kLayerZ = 180;

constexpr Colour kFace = rgb(255, 255, 255);
constexpr Colour kFrame = rgb(64, 64, 64);
constexpr Colour kHeading = rgb(51, 102, 204);
constexpr Colour kHeadingText = rgb(255, 255, 255);
constexpr Colour kWeekdayText = rgb(51, 102, 204);
constexpr Colour kRule = rgb(176, 176, 176);
constexpr Colour kDayText = rgb(0, 0, 0);
constexpr Colour kOtherMonthText = rgb(150, 150, 150);
constexpr Colour kCursor = rgb(51, 102, 204);
constexpr Colour kCursorText = rgb(255, 255, 255);
constexpr Colour kToday = rgb(204, 32, 32);

struct Calendar {
    WindowHandle picker = 0;
    FontRef font;
    FontRef bold;
    CalendarDate cursor;
    CalendarDate today;
    CalendarLayout layout;
    std::array<std::wstring, 7> initials;
    int layer = 0;
    bool pressed = false;  // the stylus went down inside the calendar
};

std::optional<Calendar>& calendar() {
    static auto* c = new std::optional<Calendar>();
    return *c;
}

void changed() {
    if (calendar())
        gui::markScreenChanged(calendar()->layout.frame);
}

// A filled triangle pointing left or right, its tip `half` pixels from the centre.
void drawSideArrow(DeviceContext& dc, const Rect& r, bool right, int half, Colour c) {
    int cx = r.left + r.width() / 2;
    int cy = r.top + r.height() / 2;
    for (int column = 0; column <= half; ++column) {
        int x = right ? cx - half / 2 + column : cx + half / 2 - column;
        int reach = half - column;
        dc.fillRect({x, cy - reach, x + 1, cy + reach + 1}, c);
    }
}

void paintCalendar(DeviceContext& dc) {
    if (!calendar())
        return;
    const Calendar& c = *calendar();
    const CalendarLayout& l = c.layout;
    dc.fillRect(l.frame, kFace);
    for (int i = 0; i < l.border; ++i) {
        dc.frameRect({l.frame.left + i, l.frame.top + i, l.frame.right - i, l.frame.bottom - i},
                     kFrame);
    }
    dc.setBackgroundMode(BackgroundMode::Transparent);

    // Heading: month and year between the arrows.
    dc.fillRect(l.heading, kHeading);
    int arrowHalf = std::max(3, l.heading.height() / 4);
    drawSideArrow(dc, l.previous, false, arrowHalf, kHeadingText);
    drawSideArrow(dc, l.next, true, arrowHalf, kHeadingText);
    dc.selectFont(c.bold);
    dc.setTextColour(kHeadingText);
    std::wstring title = monthName(c.cursor.month) + L" " + std::to_wstring(c.cursor.year);
    dc.drawText(title, Rect{l.previous.right, l.heading.top, l.next.left, l.heading.bottom},
                dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix);

    // Weekday initials and the rule under them.
    dc.setTextColour(kWeekdayText);
    for (int d = 0; d < kCalendarColumns; ++d) {
        Rect cell{l.weekdays.left + d * l.cellWidth, l.weekdays.top,
                  l.weekdays.left + (d + 1) * l.cellWidth, l.weekdays.bottom};
        dc.drawText(c.initials[static_cast<std::size_t>(d)], cell,
                    dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix);
    }
    dc.fillRect(
        {l.weekdays.left, l.weekdays.bottom, l.weekdays.right, l.weekdays.bottom + l.border},
        kRule);

    // The days; the neighbouring months' in grey.
    dc.selectFont(c.font);
    for (int cell = 0; cell < kCalendarCells; ++cell) {
        if (!cellHasDate(c.cursor.year, c.cursor.month, cell))
            continue;
        CalendarDate date = dateOfCell(c.cursor.year, c.cursor.month, cell);
        Rect r = l.cellRect(cell);
        bool isCursor = date == c.cursor;
        if (isCursor) {
            dc.fillRect(r, kCursor);
            dc.setTextColour(kCursorText);
        } else {
            dc.setTextColour(date.month == c.cursor.month ? kDayText : kOtherMonthText);
        }
        if (date == c.today) {
            for (int i = 0; i < std::max(1, l.border); ++i) {
                dc.frameRect({r.left + i, r.top + i, r.right - i, r.bottom - i}, kToday);
            }
        }
        dc.drawText(std::to_wstring(date.day), r,
                    dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix);
    }
}

bool onInput(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    auto& c = calendar();
    if (!c)
        return false;
    switch (e.kind) {
        case Kind::KeyDown:
            if (e.key == vk::F1 || e.key == vk::F2) {
                postMessage(c->picker, calendarMessage::Dismiss);
            } else {
                postMessage(c->picker, calendarMessage::Key, e.key);
            }
            return true;
        case Kind::KeyUp:
        case Kind::Char:
            return true;
        case Kind::PointerDown:
            if (!c->layout.frame.contains(e.position)) {
                // The tap that closes the calendar goes no further.
                shell::swallowPointerUntilRelease();
                postMessage(c->picker, calendarMessage::Dismiss);
                return true;
            }
            c->pressed = true;
            return true;
        case Kind::PointerMove:
            return true;
        case Kind::PointerUp:
            if (c->pressed && c->layout.frame.contains(e.position)) {
                postMessage(c->picker, calendarMessage::Tap, 0,
                            makeLParam(e.position.x, e.position.y));
            }
            c->pressed = false;
            return true;
        case Kind::CloseRequest:
            return false;
    }
    return false;
}

// Between the task bar and the menu bar when it fits there beside the picker; else over the
// bars rather than over the picker (on the square and landscape screens).
CalendarLayout placeOnScreen(const Rect& picker, int textHeight, int dayWidth, bool alignRight) {
    Size screen = screenSize();
    int bar = shellBarHeight();
    Rect between{0, bar, screen.width, screen.height - bar};
    CalendarLayout l = placeCalendar(picker, between, textHeight, dayWidth, alignRight);
    if (!l.frame.intersects(picker))
        return l;
    return placeCalendar(picker, {0, 0, screen.width, screen.height}, textHeight, dayWidth,
                         alignRight);
}

CalendarAnswer moveCursor(const CalendarDate& to) {
    calendar()->cursor = to;
    changed();
    return {};
}

}  // namespace

void openCalendar(WindowHandle picker, const FontRef& font, const SystemTime& selected,
                  bool alignRight) {
    closeCalendar();
    Calendar c;
    c.picker = picker;
    c.font = font ? font : Font::create(FontSpec{});
    FontSpec boldSpec = c.font->spec();
    boldSpec.weight = 700;
    c.bold = Font::create(boldSpec);
    c.cursor = dateOf(selected);
    c.today = dateOf(deviceLocalTime());
    c.initials = weekdayInitials();

    DeviceContext measuring;
    measuring.selectFont(c.font);
    int textHeight = measuring.textMetrics().height;
    int dayWidth = 0;
    for (int d = 0; d <= 9; ++d) {
        std::wstring twice(2, static_cast<wchar_t>(L'0' + d));
        dayWidth = std::max(dayWidth, measuring.textExtent(twice).width);
    }
    c.layout = placeOnScreen(windowRect(picker), textHeight, dayWidth, alignRight);
    calendar() = std::move(c);

    gui::ScreenLayer layer;
    layer.z = kLayerZ;
    layer.paint = paintCalendar;
    layer.input = onInput;
    layer.area = [] { return calendar() ? calendar()->layout.frame : Rect{}; };
    calendar()->layer = gui::addScreenLayer(std::move(layer));
}

void closeCalendar() {
    auto& c = calendar();
    if (!c)
        return;
    int layer = c->layer;
    c.reset();
    gui::removeScreenLayer(layer);
}

bool isCalendarOpenFor(WindowHandle picker) {
    return calendar() && calendar()->picker == picker;
}

CalendarAnswer calendarKey(std::uint32_t key) {
    if (!calendar())
        return {};
    const CalendarDate& at = calendar()->cursor;
    switch (key) {
        case vk::Left:
            return moveCursor(addDays(at, -1));
        case vk::Right:
            return moveCursor(addDays(at, 1));
        case vk::Up:
            return moveCursor(addDays(at, -7));
        case vk::Down:
            return moveCursor(addDays(at, 7));
        case vk::PageUp:
            return moveCursor(addMonths(at, -1));
        case vk::PageDown:
            return moveCursor(addMonths(at, 1));
        case vk::Return:
            return {CalendarAnswer::Kind::Pick, at};
        case vk::Escape:
            return {CalendarAnswer::Kind::Cancel, {}};
        default:
            return {};
    }
}

CalendarAnswer calendarTap(Point p) {
    if (!calendar())
        return {};
    const Calendar& c = *calendar();
    if (c.layout.previous.contains(p))
        return moveCursor(addMonths(c.cursor, -1));
    if (c.layout.next.contains(p))
        return moveCursor(addMonths(c.cursor, 1));
    int cell = c.layout.cellAt(p);
    if (cell < 0 || !cellHasDate(c.cursor.year, c.cursor.month, cell))
        return {};
    return {CalendarAnswer::Kind::Pick, dateOfCell(c.cursor.year, c.cursor.month, cell)};
}

const CalendarLayout* openCalendarLayout() {
    return calendar() ? &calendar()->layout : nullptr;
}

std::optional<CalendarDate> calendarCursor() {
    if (!calendar())
        return std::nullopt;
    return calendar()->cursor;
}

}  // namespace platform::controls
