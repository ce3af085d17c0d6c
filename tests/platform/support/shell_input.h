#pragma once
// Driving the shell from a test: injected taps and key presses, and pumping the program's
// messages (through the modal pump the shell's own loops use) until a condition holds.

#include <chrono>
#include <cstdint>

#include "platform/api/draw.h"
#include "platform/gui/screen.h"

namespace platform::test {

inline void pressKey(std::uint32_t key) {
    gui::injectInput({gui::InputEvent::Kind::KeyDown, {}, key, 0});
    gui::injectInput({gui::InputEvent::Kind::KeyUp, {}, key, 0});
}

inline void tap(Point p) {
    gui::injectInput({gui::InputEvent::Kind::PointerDown, p});
    gui::injectInput({gui::InputEvent::Kind::PointerUp, p});
}

inline Point centreOf(const Rect& r) {
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

// True when the condition came true within the time; generous for a loaded machine.
template <class Condition>
bool pumpUntil(Condition done, int ms = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        gui::pumpModal(10);
    }
    return true;
}

inline void pumpFor(int ms) {
    pumpUntil([] { return false; }, ms);
}

}  // namespace platform::test
