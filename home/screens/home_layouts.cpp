#include "home/screens/home_layouts.h"

#include <array>
#include <cstddef>

#include "gfx/display_metrics.h"
#include "platform/api/draw.h"

namespace home {

namespace {

using namespace homeControl;
using namespace homeLayoutType;
using ui::LayoutRecord;
using ui::layoutType::DropDown;
using ui::layoutType::Label;
using ui::layoutType::TextButton;
namespace dt = platform::dt;

constexpr std::uint32_t kCentredLine =
    dt::Center | dt::VCenter | dt::SingleLine | dt::NoPrefix | dt::EndEllipsis;
constexpr std::uint32_t kCentredWrap = dt::Center | dt::WordBreak | dt::NoPrefix;
constexpr std::uint32_t kAlarmCaption = 224, kUpdateCaption = 225;

// Portrait: 240 x 268 between the task bar and the menu bar. The mode buttons run along the
// bottom; each mode fills the room above them. The busy indicator sits on the weather
// button's corner, where it never covers a mode's content.
constexpr std::array<LayoutRecord, 18> kPortrait{{
    {Cities, DropDown, 4, 4, 232, 22, 0, 0, 0},
    {Clock, CityClock, 56, 32, 128, 128, 0, 0, 0},
    {ClockLine1, Label, 4, 164, 232, 22, 0, 0, kCentredLine},
    {ClockLine2, Label, 4, 186, 232, 20, 0, 0, kCentredLine},
    {Calendar, MonthCalendar, 4, 2, 232, 208, 0, 0, 0},
    {PreviousMonth, TextButton, 6, 4, 66, 22, 0, 0, 0},
    {NextMonth, TextButton, 168, 4, 66, 22, 0, 0, 0},
    {WeatherPanel, WeatherSummary, 4, 4, 232, 180, 0, 0, 0},
    {Update, TextButton, 136, 188, 100, 22, 0, kUpdateCaption, 0},
    {AlarmPanel, QuickAlarmPanel, 4, 4, 232, 148, 0, 0, 0},
    {NowLine, Label, 8, 10, 224, 20, 0, 0, kCentredLine},
    {SetAlarm, TextButton, 50, 158, 140, 26, 0, kAlarmCaption, 0},
    {AlarmStatus, Label, 4, 186, 232, 24, 0, 0, kCentredWrap},
    {TimeMode, ModeButton, 4, 214, 55, 50, 1, 0, 0},
    {CalendarMode, ModeButton, 63, 214, 55, 50, 1, 0, 0},
    {WeatherMode, ModeButton, 122, 214, 55, 50, 1, 0, 0},
    {AlarmMode, ModeButton, 181, 214, 55, 50, 1, 0, 0},
    {Busy, BusyIndicator, 159, 216, 16, 16, 0, 0, 0},
}};

// Landscape: 320 x 188. The mode buttons stand in a column at the left.
constexpr std::array<LayoutRecord, 18> kLandscape{{
    {Cities, DropDown, 56, 4, 260, 22, 0, 0, 0},
    {Clock, CityClock, 128, 30, 116, 116, 0, 0, 0},
    {ClockLine1, Label, 56, 152, 260, 24, 0, 0, kCentredLine},
    {ClockLine2, Label, 56, 176, 260, 10, 0, 0, kCentredLine},
    {Calendar, MonthCalendar, 56, 2, 260, 184, 0, 0, 0},
    {PreviousMonth, TextButton, 58, 3, 70, 20, 0, 0, 0},
    {NextMonth, TextButton, 244, 3, 70, 20, 0, 0, 0},
    {WeatherPanel, WeatherSummary, 56, 2, 260, 156, 0, 0, 0},
    {Update, TextButton, 216, 162, 100, 22, 0, kUpdateCaption, 0},
    {AlarmPanel, QuickAlarmPanel, 56, 2, 260, 118, 0, 0, 0},
    {NowLine, Label, 60, 6, 252, 20, 0, 0, kCentredLine},
    {SetAlarm, TextButton, 116, 126, 140, 26, 0, kAlarmCaption, 0},
    {AlarmStatus, Label, 56, 156, 260, 28, 0, 0, kCentredWrap},
    {TimeMode, ModeButton, 4, 4, 46, 42, 1, 0, 0},
    {CalendarMode, ModeButton, 4, 50, 46, 42, 1, 0, 0},
    {WeatherMode, ModeButton, 4, 96, 46, 42, 1, 0, 0},
    {AlarmMode, ModeButton, 4, 142, 46, 42, 1, 0, 0},
    {Busy, BusyIndicator, 36, 98, 14, 14, 0, 0, 0},
}};

// Square: 240 x 188. As landscape, with a narrower room for the modes.
constexpr std::array<LayoutRecord, 18> kSquare{{
    {Cities, DropDown, 48, 4, 188, 22, 0, 0, 0},
    {Clock, CityClock, 92, 29, 100, 100, 0, 0, 0},
    {ClockLine1, Label, 48, 132, 188, 22, 0, 0, kCentredLine},
    {ClockLine2, Label, 48, 154, 188, 20, 0, 0, kCentredLine},
    {Calendar, MonthCalendar, 48, 2, 188, 184, 0, 0, 0},
    {PreviousMonth, TextButton, 49, 3, 42, 20, 0, 0, 0},
    {NextMonth, TextButton, 193, 3, 42, 20, 0, 0, 0},
    {WeatherPanel, WeatherSummary, 48, 2, 188, 156, 0, 0, 0},
    {Update, TextButton, 136, 162, 100, 22, 0, kUpdateCaption, 0},
    {AlarmPanel, QuickAlarmPanel, 48, 2, 188, 118, 0, 0, 0},
    {NowLine, Label, 52, 6, 180, 20, 0, 0, kCentredLine},
    {SetAlarm, TextButton, 72, 126, 140, 26, 0, kAlarmCaption, 0},
    {AlarmStatus, Label, 48, 156, 188, 28, 0, 0, kCentredWrap},
    {TimeMode, ModeButton, 4, 4, 40, 42, 1, 0, 0},
    {CalendarMode, ModeButton, 4, 50, 40, 42, 1, 0, 0},
    {WeatherMode, ModeButton, 4, 96, 40, 42, 1, 0, 0},
    {AlarmMode, ModeButton, 4, 142, 40, 42, 1, 0, 0},
    {Busy, BusyIndicator, 30, 98, 14, 14, 0, 0, 0},
}};

// Display mode on a VGA portrait screen: one device pixel per layout pixel over 480 x 588,
// the portrait arrangement with more room and the smaller text of that mode.
constexpr std::array<LayoutRecord, 18> kDisplayMode{{
    {Cities, DropDown, 8, 8, 464, 24, 0, 0, 0},
    {Clock, CityClock, 120, 56, 240, 240, 0, 0, 0},
    {ClockLine1, Label, 8, 320, 464, 24, 0, 0, kCentredLine},
    {ClockLine2, Label, 8, 346, 464, 22, 0, 0, kCentredLine},
    {Calendar, MonthCalendar, 8, 6, 464, 440, 0, 0, 0},
    {PreviousMonth, TextButton, 12, 10, 100, 30, 0, 0, 0},
    {NextMonth, TextButton, 368, 10, 100, 30, 0, 0, 0},
    {WeatherPanel, WeatherSummary, 8, 8, 464, 400, 0, 0, 0},
    {Update, TextButton, 352, 416, 120, 26, 0, kUpdateCaption, 0},
    {AlarmPanel, QuickAlarmPanel, 8, 8, 464, 320, 0, 0, 0},
    {NowLine, Label, 16, 18, 448, 24, 0, 0, kCentredLine},
    {SetAlarm, TextButton, 160, 344, 160, 30, 0, kAlarmCaption, 0},
    {AlarmStatus, Label, 8, 384, 464, 28, 0, 0, kCentredWrap},
    {TimeMode, ModeButton, 8, 488, 110, 92, 1, 0, 0},
    {CalendarMode, ModeButton, 126, 488, 110, 92, 1, 0, 0},
    {WeatherMode, ModeButton, 244, 488, 110, 92, 1, 0, 0},
    {AlarmMode, ModeButton, 362, 488, 110, 92, 1, 0, 0},
    {Busy, BusyIndicator, 330, 492, 20, 20, 0, 0, 0},
}};

}  // namespace

HomeLayoutKind homeLayoutKind() {
    const gfx::DisplayMetrics& m = gfx::displayMetrics();
    // The display-mode table needs the VGA screen's room; on a small screen the flag changes
    // no scale, so the usual tables fit.
    if (m.displayModeFlag && m.isVga && !m.isSquare && !gfx::isLandscape())
        return HomeLayoutKind::DisplayMode;
    if (gfx::isLandscape())
        return HomeLayoutKind::Landscape;
    if (m.isSquare)
        return HomeLayoutKind::Square;
    return HomeLayoutKind::Portrait;
}

std::span<const ui::LayoutRecord> homeLayout(HomeLayoutKind kind) {
    switch (kind) {
        case HomeLayoutKind::Landscape:
            return kLandscape;
        case HomeLayoutKind::Square:
            return kSquare;
        case HomeLayoutKind::DisplayMode:
            return kDisplayMode;
        default:
            return kPortrait;
    }
}

int clockLinePoints(HomeLayoutKind kind, int line) {
    int points = line == 1 ? 10 : 9;
    return kind == HomeLayoutKind::Portrait ? points : points - 1;
}

}  // namespace home
