#pragma once
// Delivering a test program's messages by hand: what was posted, without timers (tests send
// those themselves when they want them), and key presses as the focused window gets them.

#include <cstdint>

#include "platform/api/window.h"

namespace platform::test {

// Dispatches every posted message waiting now, except timers and the quit message.
inline void deliverPosted() {
    Message m;
    while (peekMessage(m, true)) {
        if (m.id == wm::Quit || m.id == wm::Timer)
            continue;
        translateMessage(m);
        dispatchMessage(m);
    }
}

// A key pressed and released on the focused window (else on the fallback window), then
// whatever that posted.
inline void pressKeyOn(WindowHandle fallback, std::uint32_t code) {
    WindowHandle target = focusWindow() ? focusWindow() : fallback;
    sendMessage(target, wm::KeyDown, code, 1);
    sendMessage(target, wm::KeyUp, code, static_cast<LParam>(0xC0000001u));
    deliverPosted();
}

}  // namespace platform::test
