#pragma once
// Delivering a test program's messages by hand: what was posted, without timers, and key
// presses as the focused window gets them; and the test clock, which tests move forward to
// run their timers instead of sleeping.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/api/clock.h"
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

// Dispatches every message waiting now, timers that are due included (not the quit message).
inline void deliverAll() {
    Message m;
    while (peekMessage(m, true)) {
        if (m.id == wm::Quit)
            continue;
        translateMessage(m);
        dispatchMessage(m);
    }
}

// Waits for messages and dispatches them, due timers too, until the condition holds; false
// when it still does not after the given time (generous: a loaded machine, a sanitizer build
// and another process on the other end all slow a test down).
template <class Condition>
bool deliverUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        waitMessage(20);
        deliverAll();
    }
    return true;
}

// While it lives, time stands still for the program (calendar and timers) except when the
// test moves it with fastForward or advanceClockOverride.
class TestClock {
  public:
    explicit TestClock(FileTime hostUtc) { setClockOverride(hostUtc); }
    ~TestClock() { setClockOverride(std::nullopt); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;
};

// Moves the test clock (setClockOverride) on by ms, in steps of at most stepMs, delivering
// after each step whatever fell due, as the running loop would have. A timer starts its next
// interval when it is delivered, so steps that divide its interval keep it on time.
inline void fastForward(std::int64_t ms, std::int64_t stepMs = 10) {
    for (std::int64_t done = 0; done < ms;) {
        std::int64_t step = std::min(stepMs, ms - done);
        advanceClockOverride(step);
        done += step;
        deliverAll();
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
