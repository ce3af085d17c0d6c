#pragma once
// The home-mode screen's controls for each kind of display: portrait, landscape, square, and
// the display-mode table for a VGA screen drawn at one device pixel per layout pixel. Each
// table is in layout pixels of the 1.0 scale (the display-mode table in device pixels).

#include <cstdint>
#include <span>

#include "ui/layout.h"

namespace home {

// Control ids of the page. 1 to 15 are the controls every table places; 16 to 18 are the
// panels the modes show.
namespace homeControl {
constexpr std::uint16_t Cities = 1, Clock = 2, ClockLine1 = 3, ClockLine2 = 4, TimeMode = 5,
                        CalendarMode = 6, WeatherMode = 7, AlarmMode = 8, PreviousMonth = 9,
                        NextMonth = 10, SetAlarm = 11, NowLine = 12, AlarmStatus = 13, Update = 14,
                        Busy = 15, Calendar = 16, WeatherPanel = 17, AlarmPanel = 18;
}

// The screen's own control types.
namespace homeLayoutType {
constexpr std::uint16_t ModeButton = 220, CityClock = 221, MonthCalendar = 222,
                        WeatherSummary = 223, QuickAlarmPanel = 224, BusyIndicator = 225;
}

// Which table the display takes.
enum class HomeLayoutKind { Portrait, Landscape, Square, DisplayMode };
HomeLayoutKind homeLayoutKind();

std::span<const ui::LayoutRecord> homeLayout(HomeLayoutKind kind);

// Labels 3 and 4 in points: 10 and 9, one less in landscape, on a square screen or in
// display mode.
int clockLinePoints(HomeLayoutKind kind, int line);

}  // namespace home
