#pragma once
// The platform's native controls: a text edit field (window class "EDIT") and a date/time
// picker (window class "SysDateTimePick32"), child windows that programs create with
// createWindow. Message numbers, styles and notification records carry the handheld's numbers,
// because screens store edit styles in their layout tables and parents recognise the
// notifications by code.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/api/clock.h"
#include "platform/api/window.h"

namespace platform {

constexpr std::wstring_view kEditClass = L"EDIT";
constexpr std::wstring_view kDateTimePickerClass = L"SysDateTimePick32";

// Registers both classes for this program; further calls do nothing. Program start-up calls
// it; tests that create controls without a program call it themselves.
void registerNativeControls();

// wm::Cut, Copy, Paste and Clear work on an edit field's selection and the device's
// clipboard (platform/api/clipboard.h); read-only fields copy but do not cut, paste or clear,
// password fields give nothing out, and pasted text passes the same filters and limit as
// typed text. Ctrl+X, C, V and A do the same from the keyboard (A selects everything), and a
// tap-and-hold on a field offers Cut, Copy and Paste in a context menu.
namespace wm {
constexpr std::uint32_t GetTextLength = 0x000E, Cut = 0x0300, Copy = 0x0301, Paste = 0x0302,
                        Clear = 0x0303;
}

// Window styles the controls look at.
namespace ws {
constexpr std::uint32_t Child = 0x40000000, Visible = 0x10000000, Border = 0x00800000,
                        VScroll = 0x00200000, TabStop = 0x00010000;
}

// Edit styles.
namespace es {
constexpr std::uint32_t Left = 0x0, Center = 0x1, Right = 0x2, Multiline = 0x4, Uppercase = 0x8,
                        Lowercase = 0x10, Password = 0x20, AutoVScroll = 0x40, AutoHScroll = 0x80,
                        NoHideSel = 0x100, ReadOnly = 0x800, WantReturn = 0x1000, Number = 0x2000;
}

// Edit messages. EM_GETSEL answers start | end << 16 and also stores both through the
// pointers in wParam and lParam when they are not null (each a std::uint32_t*).
// EM_SETSEL selects wParam .. lParam; a start of -1 clears the selection, an end of -1 means
// the end of the text. EM_LIMITTEXT sets the longest text typing may make (0: no limit).
namespace em {
constexpr std::uint32_t GetSel = 0x00B0, SetSel = 0x00B1, ScrollCaret = 0x00B7,
                        GetLineCount = 0x00BA, LineFromChar = 0x00C9, ReplaceSel = 0x00C2,
                        LimitText = 0x00C5, GetFirstVisibleLine = 0x00CE, SetReadOnly = 0x00CF,
                        SetInputMode = wm::User + 222, GetInputMode = wm::User + 223;
}

// Notifications an edit field sends its parent as wm::Command: wParam holds the control id in
// the low word and the code in the high word, lParam the field's handle.
namespace en {
constexpr std::uint32_t SetFocus = 0x0100, KillFocus = 0x0200, Change = 0x0300;
}

// Input modes of EM_SETINPUTMODE (lParam). In the numbers mode only digits and the
// characters of a number (. , - +) can be typed.
namespace eim {
constexpr LParam Spell = 0, Ambiguous = 1, Numbers = 2;
}

// Date/time picker styles. The time format includes the up-down style.
namespace dts {
constexpr std::uint32_t UpDown = 0x1, ShowNone = 0x2, ShortDateFormat = 0x0, LongDateFormat = 0x4,
                        TimeFormat = 0x9, AppCanParse = 0x10, RightAlign = 0x20;
}

// Date/time picker messages. DTM_GETSYSTEMTIME and DTM_SETSYSTEMTIME pass a SystemTime* in
// lParam (wParam GdtValid); DTM_SETFORMAT passes a null-terminated wchar_t picture in lParam
// (null restores the style's default format). DTM_GETMONTHCAL answers non-zero (the
// picker's own handle: the calendar is drawn by the picker, not a window of its own) while
// the drop-down month calendar is open; DTM_CLOSEMONTHCAL closes it without a change.
namespace dtm {
constexpr std::uint32_t GetSystemTime = 0x1001, SetSystemTime = 0x1002, GetMonthCal = 0x1008,
                        CloseMonthCal = 0x100D, SetFormat = 0x1032;
}
constexpr LResult GdtError = -1, GdtValid = 0, GdtNone = 1;

// Notification codes (negative numbers, sent as their unsigned 32-bit form).
constexpr std::uint32_t DtnFirst = static_cast<std::uint32_t>(-760);
constexpr std::uint32_t DtnDateTimeChange = DtnFirst + 1;  // -759, 0xFFFFFD09
// A picker without the up-down style (the date kinds) has a drop-down button that opens a
// month calendar (also Enter or F4 on the picker). These two come with a plain NotifyHeader
// when it opens and when it closes; a date picked in it comes as DtnDateTimeChange first.
constexpr std::uint32_t DtnDropDown = DtnFirst + 6;  // -754
constexpr std::uint32_t DtnCloseUp = DtnFirst + 7;   // -753

// The header of every wm::Notify record; lParam points at it. wParam is the control id.
struct NotifyHeader {
    WindowHandle from = 0;
    std::uintptr_t idFrom = 0;
    std::uint32_t code = 0;
};

// DtnDateTimeChange: the picker's new value.
struct DateTimeChange {
    NotifyHeader header;
    std::uint32_t flags = static_cast<std::uint32_t>(GdtValid);
    SystemTime time;
};

// wm::SetFont: wParam points at a FontRef, which the control keeps a copy of; lParam non-zero
// repaints.
//
// wm::CtlColorEdit: before painting, an edit field asks its parent for colours with wParam
// pointing at the DeviceContext it will draw with and lParam its own handle. A parent that
// wants its own colours sets the context's text and background colours and answers
// brushAnswer(fill colour); an answer of 0 keeps the field's defaults.
constexpr LResult brushAnswer(Colour fill) {
    return static_cast<LResult>(0x100000000LL | static_cast<LResult>(fill & 0xFFFFFF));
}
constexpr std::optional<Colour> brushOfAnswer(LResult answer) {
    if ((answer >> 32) != 1)
        return std::nullopt;
    return static_cast<Colour>(answer & 0xFFFFFF);
}

}  // namespace platform
