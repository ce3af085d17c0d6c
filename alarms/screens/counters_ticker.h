#pragma once
// Keeps the counters counting while their screen is not shown: a hidden child of the main
// window with a timer of its own, so a counter that runs out while the user is elsewhere
// still rings on time.

#include <cstdint>
#include <functional>

#include "platform/api/window.h"

namespace alarms {

class CounterTicker {
  public:
    CounterTicker() = default;
    ~CounterTicker();
    CounterTicker(const CounterTicker&) = delete;
    CounterTicker& operator=(const CounterTicker&) = delete;

    // Calls onTick every intervalMs until stopped; false when the window could not be made.
    bool start(platform::WindowHandle parent, std::uint32_t intervalMs,
               std::function<void()> onTick);
    void stop();
    bool running() const { return window_ != 0; }

  private:
    static platform::LResult proc(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam);

    platform::WindowHandle window_ = 0;
    std::function<void()> onTick_;
};

}  // namespace alarms
