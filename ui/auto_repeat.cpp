#include "ui/auto_repeat.h"

namespace ui {

AutoRepeat& autoRepeatState() {
    static AutoRepeat state;
    return state;
}

void startAutoRepeat(platform::WindowHandle window, int zone, platform::Point point) {
    AutoRepeat& a = autoRepeatState();
    if (a.window && a.window != window)
        platform::killTimer(a.window, kAutoRepeatTimer);
    a = AutoRepeat{zone, kAutoRepeatDelayMs, 0, point, window};
    platform::setTimer(window, kAutoRepeatTimer, kAutoRepeatDelayMs);
}

platform::Point autoRepeatTick() {
    AutoRepeat& a = autoRepeatState();
    if (a.intervalMs == 0)
        return a.lastPoint;
    if (++a.ticks == 1) {
        a.intervalMs = kAutoRepeatIntervalMs;
        platform::setTimer(a.window, kAutoRepeatTimer, kAutoRepeatIntervalMs);
    }
    return a.lastPoint;
}

void stopAutoRepeat() {
    AutoRepeat& a = autoRepeatState();
    if (a.window)
        platform::killTimer(a.window, kAutoRepeatTimer);
    a = AutoRepeat{};
}

}  // namespace ui
