#include "platform/gui/log_limiter.h"

namespace platform::gui {

std::optional<std::string> LogLimiter::endIntervalIfOver(Clock::time_point now,
                                                         const std::string& what) {
    if (!intervalStart_ || now - *intervalStart_ < interval_)
        return std::nullopt;
    std::optional<std::string> line;
    if (heldBack_ > 0) {
        auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(now - *intervalStart_).count();
        line = std::to_string(heldBack_) + " more " + what + " in the last " +
               std::to_string(seconds) + " s";
    }
    intervalStart_.reset();
    logged_ = 0;
    heldBack_ = 0;
    return line;
}

bool LogLimiter::admit(Clock::time_point now) {
    if (!intervalStart_)
        intervalStart_ = now;
    if (logged_ < linesPerInterval_) {
        ++logged_;
        return true;
    }
    ++heldBack_;
    return false;
}

}  // namespace platform::gui
