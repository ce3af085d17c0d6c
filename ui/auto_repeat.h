#pragma once
// The auto-repeat of a held scroll-bar zone: timer 9899 on the main window, first after
// 500 ms, then every 50 ms; each tick replays the last pointer position to the control that
// holds the pointer capture. One repeat runs at a time in the process.

#include <cstdint>

#include "platform/api/window.h"

namespace ui {

constexpr std::uintptr_t kAutoRepeatTimer = 9899;
constexpr std::uint32_t kAutoRepeatDelayMs = 500;
constexpr std::uint32_t kAutoRepeatIntervalMs = 50;

struct AutoRepeat {
    int zone = 0;                  // the held zone (1 to 5), 0 when none
    std::uint32_t intervalMs = 0;  // of the running timer, 0 when stopped
    int ticks = 0;                 // since the zone was pressed
    platform::Point lastPoint;     // replayed on every tick
    platform::WindowHandle window = 0;
};

// The process's repeat state.
AutoRepeat& autoRepeatState();

// Remembers the zone and point and starts the timer with the first delay.
void startAutoRepeat(platform::WindowHandle window, int zone, platform::Point point);
// A tick: the first one shortens the interval. Answers the point to replay.
platform::Point autoRepeatTick();
// Kills the timer and clears the zone.
void stopAutoRepeat();

}  // namespace ui
