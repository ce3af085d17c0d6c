#pragma once
// Keeps a flood of alike events from flooding the device log: within each interval the first
// few are logged one by one and the rest only counted; once the interval is over, the count
// is logged on one line.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::gui {

class LogLimiter {
  public:
    using Clock = std::chrono::steady_clock;

    LogLimiter(int linesPerInterval, Clock::duration interval)
        : linesPerInterval_(linesPerInterval), interval_(interval) {}

    // Ends the interval when it is over at `now`; gives the line that reports the events
    // held back in it ("N more <what> in the last S s"), if any were.
    std::optional<std::string> endIntervalIfOver(Clock::time_point now, const std::string& what);
    // True when an event at `now` may be logged on its own line; false when it is only
    // counted.
    bool admit(Clock::time_point now);

  private:
    int linesPerInterval_;
    Clock::duration interval_;
    std::optional<Clock::time_point> intervalStart_;
    int logged_ = 0;
    std::uint64_t heldBack_ = 0;
};

}  // namespace platform::gui
