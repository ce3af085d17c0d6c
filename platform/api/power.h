#pragma once
// Power: keeping the device awake. The device counts idle time from the last reset; screens
// that must stay on reset it regularly.

#include <cstdint>

namespace platform {

// Resets the device's idle timer (the handheld's SystemIdleTimerReset).
void systemIdleTimerReset();
// Tick count of the last reset (0 when never reset), for tools and tests.
std::uint32_t lastIdleTimerReset();

}  // namespace platform
