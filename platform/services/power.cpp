#include "platform/api/power.h"

#include <time.h>

#include "platform/api/profile.h"

namespace platform {

namespace {

// The same clock as the window system's tick count.
std::uint32_t bootMilliseconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u);
}

}  // namespace

void systemIdleTimerReset() {
    setProfileNumber("power.idle_reset", bootMilliseconds());
}

std::uint32_t lastIdleTimerReset() {
    return static_cast<std::uint32_t>(profileNumber("power.idle_reset", 0));
}

}  // namespace platform
