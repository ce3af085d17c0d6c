// The date/time picker's window: a row of fields with an up-down button, or for the date kinds
// a drop-down button. Up and Down (or the up-down button) change the chosen field, Left and
// Right choose another, digits type into it, a tap chooses the field under the stylus. The
// drop-down button (or Enter, or F4) opens the month calendar, which has the keys while it is
// open. Every change is reported to the parent with DtnDateTimeChange.

#include <algorithm>
#include <map>
#include <memory>

#include "platform/api/controls.h"
#include "platform/api/locale.h"
#include "platform/controls/date_time_calendar.h"
#include "platform/controls/date_time_fields.h"
#include "platform/controls/native_controls.h"

namespace platform::controls {
namespace {

constexpr Colour kTextColour = rgb(0, 0, 0);
constexpr Colour kFieldColour = rgb(255, 255, 255);
constexpr Colour kDisabledText = rgb(128, 128, 128);
constexpr Colour kBorderColour = rgb(110, 110, 110);
constexpr Colour kSelectionColour = rgb(51, 102, 204);
constexpr Colour kSelectionText = rgb(255, 255, 255);
constexpr Colour kButtonColour = rgb(228, 228, 228);
constexpr Colour kButtonPressedColour = rgb(190, 190, 190);
constexpr Colour kArrowColour = rgb(60, 60, 60);

struct Picker {
    WindowHandle window = 0;
    std::uint32_t style = 0;
    SystemTime value;
    std::vector<DateTimeField> fields;
    int chosen = -1;  // index into fields of the chosen (editable) field
    int typed = -1;   // the number typed so far into the chosen field
    FontRef font;
    DeviceContext measuring;

    int border() const { return (style & ws::Border) ? 1 : 0; }
    // Without the up-down style (the time format includes it) the button drops a calendar.
    bool hasDropDown() const { return (style & dts::UpDown) == 0; }
    Rect buttonRect() const {
        Rect c = clientRect(window);
        int width = std::max(9, c.height() * 3 / 5);
        return {c.right - border() - width, c.top + border(), c.right - border(),
                c.bottom - border()};
    }
    int padding() { return std::max(2, measuring.textMetrics().height / 6); }
    // Left edges of the fields, and the right edge of the last one.
    std::vector<int> fieldEdges() {
        std::vector<int> edges;
        int x = border() + padding();
        for (const auto& f : fields) {
            edges.push_back(x);
            x += measuring.textExtent(fieldText(f, value)).width;
        }
        edges.push_back(x);
        return edges;
    }
};

std::map<WindowHandle, std::unique_ptr<Picker>>& pickers() {
    static auto* all = new std::map<WindowHandle, std::unique_ptr<Picker>>();
    return *all;
}

Picker* pickerOf(WindowHandle window) {
    auto it = pickers().find(window);
    return it == pickers().end() ? nullptr : it->second.get();
}

std::wstring defaultPicture(std::uint32_t style) {
    if ((style & dts::TimeFormat) == dts::TimeFormat)
        return timePicture();
    if (style & dts::LongDateFormat)
        return longDatePicture();
    return shortDatePicture();
}

int firstEditable(const Picker& p) {
    for (std::size_t i = 0; i < p.fields.size(); ++i) {
        if (p.fields[i].editable())
            return static_cast<int>(i);
    }
    return -1;
}

void setFormat(Picker& p, std::wstring_view picture) {
    p.fields = parsePicture(picture);
    p.chosen = firstEditable(p);
    p.typed = -1;
    invalidateRect(p.window, nullptr, true);
}

void reportChange(Picker& p) {
    invalidateRect(p.window, nullptr, true);
    WindowHandle parent = parentWindow(p.window);
    if (!parent)
        return;
    DateTimeChange change;
    change.header = {p.window, static_cast<std::uintptr_t>(controlId(p.window)), DtnDateTimeChange};
    change.time = p.value;
    sendMessage(parent, wm::Notify, static_cast<WParam>(controlId(p.window)),
                reinterpret_cast<LParam>(&change));
}

void notifyCode(Picker& p, std::uint32_t code) {
    WindowHandle parent = parentWindow(p.window);
    if (!parent)
        return;
    NotifyHeader header{p.window, static_cast<std::uintptr_t>(controlId(p.window)), code};
    sendMessage(parent, wm::Notify, static_cast<WParam>(controlId(p.window)),
                reinterpret_cast<LParam>(&header));
}

void dropDown(Picker& p) {
    if (!p.hasDropDown() || isCalendarOpenFor(p.window) || !isWindowEnabled(p.window))
        return;
    p.typed = -1;
    openCalendar(p.window, p.font, p.value, (p.style & dts::RightAlign) != 0);
    invalidateRect(p.window, nullptr, true);
    notifyCode(p, DtnDropDown);
}

// Closes the calendar; a picked date replaces the value's date and keeps its time of day.
// The parent hears of a new date first, then that the calendar closed. Either may destroy
// the picker, so it is looked up again after each.
void closeUp(WindowHandle window, const CalendarAnswer& answer) {
    if (!isCalendarOpenFor(window))
        return;
    closeCalendar();
    Picker* p = pickerOf(window);
    if (!p)
        return;
    invalidateRect(window, nullptr, true);
    if (answer.kind == CalendarAnswer::Kind::Pick && dateOf(p->value) != answer.date) {
        SystemTime t = p->value;
        t.year = static_cast<std::uint16_t>(answer.date.year);
        t.month = static_cast<std::uint16_t>(answer.date.month);
        t.day = static_cast<std::uint16_t>(answer.date.day);
        t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
        p->value = t;
        p->typed = -1;
        reportChange(*p);
        p = pickerOf(window);
    }
    if (p)
        notifyCode(*p, DtnCloseUp);
}

void calendarAnswered(WindowHandle window, const CalendarAnswer& answer) {
    if (answer.kind != CalendarAnswer::Kind::None)
        closeUp(window, answer);
}

void choose(Picker& p, int direction) {
    if (p.fields.empty())
        return;
    int n = static_cast<int>(p.fields.size());
    int i = p.chosen < 0 ? firstEditable(p) : p.chosen;
    for (int step = 0; step < n; ++step) {
        i = ((i + direction) % n + n) % n;
        if (p.fields[static_cast<std::size_t>(i)].editable())
            break;
    }
    p.chosen = i;
    p.typed = -1;
    invalidateRect(p.window, nullptr, true);
}

void step(Picker& p, int direction) {
    if (p.chosen < 0)
        return;
    p.value = stepField(p.value, p.fields[static_cast<std::size_t>(p.chosen)].kind, direction);
    p.typed = -1;
    reportChange(p);
}

void typeDigit(Picker& p, int digit) {
    if (p.chosen < 0)
        return;
    FieldKind kind = p.fields[static_cast<std::size_t>(p.chosen)].kind;
    int maxDigits = kind == FieldKind::Year ? 4 : 2;
    int candidate = p.typed >= 0 ? p.typed * 10 + digit : digit;
    bool full =
        p.typed >= 0 && std::to_wstring(p.typed).size() >= static_cast<std::size_t>(maxDigits);
    if (full || !setFieldNumber(p.value, kind, candidate)) {
        // Start the number again with this digit.
        candidate = digit;
        if (!setFieldNumber(p.value, kind, candidate)) {
            p.typed = digit;
            return;
        }
    }
    p.typed = candidate;
    reportChange(p);
}

bool keyDown(Picker& p, WParam key) {
    if (isCalendarOpenFor(p.window)) {
        calendarAnswered(p.window, calendarKey(static_cast<std::uint32_t>(key)));
        return true;
    }
    if (p.hasDropDown() && (key == vk::Return || key == vk::F4)) {
        dropDown(p);
        return true;
    }
    switch (key) {
        case vk::Up:
            step(p, 1);
            return true;
        case vk::Down:
            step(p, -1);
            return true;
        case vk::Left:
            choose(p, -1);
            return true;
        case vk::Right:
            choose(p, 1);
            return true;
        default:
            if (key >= vk::Digit0 && key <= vk::Digit0 + 9) {
                typeDigit(p, static_cast<int>(key - vk::Digit0));
                return true;
            }
            return false;
    }
}

void pointerDown(Picker& p, Point at) {
    if (focusWindow() != p.window)
        setFocus(p.window);
    Rect button = p.buttonRect();
    if (button.contains(at) && p.hasDropDown()) {
        dropDown(p);
        return;
    }
    if (button.contains(at)) {
        if (p.chosen < 0)
            p.chosen = firstEditable(p);
        step(p, at.y < button.top + button.height() / 2 ? 1 : -1);
        return;
    }
    auto edges = p.fieldEdges();
    for (std::size_t i = 0; i < p.fields.size(); ++i) {
        if (p.fields[i].editable() && at.x >= edges[i] && at.x < edges[i + 1]) {
            p.chosen = static_cast<int>(i);
            p.typed = -1;
            invalidateRect(p.window, nullptr, true);
            return;
        }
    }
}

void drawArrow(DeviceContext& dc, const Rect& r, bool up) {
    int w = std::max(3, r.width() / 2) | 1;
    int h = (w + 1) / 2;
    int cx = r.left + r.width() / 2;
    int top = r.top + (r.height() - h) / 2;
    for (int row = 0; row < h; ++row) {
        int half = up ? row : h - 1 - row;
        dc.fillRect({cx - half, top + row, cx + half + 1, top + row + 1}, kArrowColour);
    }
}

void paint(Picker& p) {
    PaintSession session(p.window);
    DeviceContext& dc = session.dc();
    Rect client = clientRect(p.window);
    bool enabled = isWindowEnabled(p.window);
    bool focused = focusWindow() == p.window;
    dc.fillRect(client, kFieldColour);
    if (p.border())
        dc.frameRect(client, kBorderColour);

    Rect button = p.buttonRect();
    bool dropped = isCalendarOpenFor(p.window);
    dc.fillRect(button, dropped ? kButtonPressedColour : kButtonColour);
    dc.fillRect({button.left, button.top, button.left + 1, button.bottom}, kBorderColour);
    if (p.hasDropDown()) {
        drawArrow(dc, {button.left + 1, button.top, button.right, button.bottom}, false);
    } else {
        int middle = button.top + button.height() / 2;
        dc.fillRect({button.left, middle, button.right, middle + 1}, kBorderColour);
        drawArrow(dc, {button.left + 1, button.top, button.right, middle}, true);
        drawArrow(dc, {button.left + 1, middle + 1, button.right, button.bottom}, false);
    }

    Rect outer = dc.clip();
    dc.setClip(
        Rect{client.left + p.border(), client.top, button.left, client.bottom}.intersect(outer));
    dc.selectFont(p.font);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    int height = p.measuring.textMetrics().height;
    int y = (client.height() - height) / 2;
    auto edges = p.fieldEdges();
    for (std::size_t i = 0; i < p.fields.size(); ++i) {
        std::wstring text = fieldText(p.fields[i], p.value);
        bool chosen = focused && static_cast<int>(i) == p.chosen;
        if (chosen) {
            dc.fillRect({edges[i], y, edges[i + 1], y + height}, kSelectionColour);
            dc.setTextColour(kSelectionText);
        } else {
            dc.setTextColour(enabled ? kTextColour : kDisabledText);
        }
        dc.textOut(edges[i], y, text);
    }
    dc.setClip(outer);
}

void create(WindowHandle window, LParam lParam) {
    auto p = std::make_unique<Picker>();
    p->window = window;
    if (lParam)
        p->style = reinterpret_cast<const WindowCreate*>(lParam)->style;
    p->value = deviceLocalTime();
    p->value.milliseconds = 0;
    p->font = Font::create(FontSpec{});
    p->measuring.selectFont(p->font);
    setFormat(*p, defaultPicture(p->style));
    pickers()[window] = std::move(p);
}

LResult setTime(Picker& p, LParam lParam) {
    if (!lParam)
        return 0;
    SystemTime t = *reinterpret_cast<const SystemTime*>(lParam);
    if (!isValidSystemTime(t))
        return 0;
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
    p.value = t;
    p.typed = -1;
    invalidateRect(p.window, nullptr, true);
    return 1;
}

LResult pickerProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (message == wm::Create) {
        create(window, lParam);
        return 0;
    }
    Picker* p = pickerOf(window);
    if (!p)
        return defWindowProc(window, message, wParam, lParam);
    switch (message) {
        case wm::Destroy:
            // The parent is going too; nobody is told that the calendar closed.
            if (isCalendarOpenFor(window))
                closeCalendar();
            pickers().erase(window);
            return 0;
        case wm::Paint:
            paint(*p);
            return 0;
        case wm::EraseBackground:
            return 1;
        case wm::KillFocus:
        case wm::Enable:
        case wm::Move:
        case wm::Size:
            // The calendar belongs to a focused, enabled picker where it was opened.
            closeUp(window, {CalendarAnswer::Kind::Cancel, {}});
            [[fallthrough]];
        case wm::SetFocus:
            if ((p = pickerOf(window))) {
                p->typed = -1;
                invalidateRect(window, nullptr, true);
            }
            return 0;
        case wm::ShowWindow:
            if (!wParam)
                closeUp(window, {CalendarAnswer::Kind::Cancel, {}});
            return defWindowProc(window, message, wParam, lParam);
        case calendarMessage::Key:
            if (isCalendarOpenFor(window))
                calendarAnswered(window, calendarKey(static_cast<std::uint32_t>(wParam)));
            return 0;
        case calendarMessage::Tap:
            if (isCalendarOpenFor(window))
                calendarAnswered(window, calendarTap(pointFromLParam(lParam)));
            return 0;
        case calendarMessage::Dismiss:
        case dtm::CloseMonthCal:
            closeUp(window, {CalendarAnswer::Kind::Cancel, {}});
            return 0;
        case dtm::GetMonthCal:
            return isCalendarOpenFor(window) ? static_cast<LResult>(window) : 0;
        case wm::SetFont:
            if (wParam) {
                p->font = *reinterpret_cast<const FontRef*>(wParam);
                p->measuring.selectFont(p->font);
            }
            invalidateRect(window, nullptr, true);
            return 0;
        case wm::KeyDown:
            keyDown(*p, wParam);
            return 0;
        case wm::LButtonDown:
            pointerDown(*p, pointFromLParam(lParam));
            return 0;
        case dtm::GetSystemTime:
            if (lParam)
                *reinterpret_cast<SystemTime*>(lParam) = p->value;
            return GdtValid;
        case dtm::SetSystemTime:
            return setTime(*p, lParam);
        case dtm::SetFormat:
            setFormat(*p, lParam ? std::wstring_view(reinterpret_cast<const wchar_t*>(lParam))
                                 : std::wstring_view(defaultPicture(p->style)));
            return 1;
        default:
            return defWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

WindowClass dateTimePickerWindowClass() {
    WindowClass cls;
    cls.name = std::wstring(kDateTimePickerClass);
    cls.proc = pickerProc;
    cls.background = std::nullopt;
    return cls;
}

}  // namespace platform::controls
