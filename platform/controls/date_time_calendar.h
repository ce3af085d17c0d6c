#pragma once
// The date picker's drop-down month calendar. It is a screen layer over the program's windows,
// as the shell's pop-up menus are, so that windows repainting beneath never cover it, and it
// takes all input while open: keys and taps come back to the picker window as the messages
// below (in order with the rest of its messages), and the picker hands them to calendarKey
// and calendarTap. One calendar is open at a time in a program.

#include <cstdint>
#include <optional>

#include "platform/api/window.h"
#include "platform/controls/month_calendar.h"

namespace platform::controls {

namespace calendarMessage {
constexpr std::uint32_t Key = wm::User + 0x300;      // wParam: the virtual key pressed
constexpr std::uint32_t Tap = wm::User + 0x301;      // lParam: the screen point released at
constexpr std::uint32_t Dismiss = wm::User + 0x302;  // a tap outside, or a soft key
}  // namespace calendarMessage

struct CalendarAnswer {
    enum class Kind { None, Pick, Cancel };
    Kind kind = Kind::None;
    CalendarDate date;  // for Pick
};

// Opens the calendar for a picker on the month of `selected`, closing any other one.
// The font is the picker's; the calendar sizes itself from it.
void openCalendar(WindowHandle picker, const FontRef& font, const SystemTime& selected,
                  bool alignRight);
// Closes it without telling anyone; does nothing when none is open.
void closeCalendar();
bool isCalendarOpenFor(WindowHandle picker);

// Left and Right move a day, Up and Down a week, PageUp and PageDown a month (all across
// months and years), Enter picks, Back (Escape) cancels.
CalendarAnswer calendarKey(std::uint32_t key);
// The arrows change the month, a day cell picks its date (also one of the neighbouring
// months' days shown in grey).
CalendarAnswer calendarTap(Point screenPoint);

// The open calendar's layout and highlighted day, for tests and for drawing.
const CalendarLayout* openCalendarLayout();
std::optional<CalendarDate> calendarCursor();

}  // namespace platform::controls
