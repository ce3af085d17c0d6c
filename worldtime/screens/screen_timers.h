#pragma once
// Timers of the world-time screens.

#include <cstdint>

namespace worldtime {

// Checks once a second whether the minute changed, so clocks and panels move on the minute.
constexpr std::uintptr_t kMinuteTimer = 4001;
constexpr std::uint32_t kMinuteTimerMs = 1000;

// The daylight map's ring: its next frame every 50 ms while the screen is shown.
constexpr std::uintptr_t kPulseTimer = 4005;
constexpr std::uint32_t kPulseTimerMs = 50;

}  // namespace worldtime
