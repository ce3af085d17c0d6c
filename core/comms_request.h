#pragma once
// A screen's own request to the comms program, followed through the program's reports
// ("VornRoamerComms"): the screen shows itself busy while the program works, and only the
// answer to its own request is handed back; the program also runs scheduled updates, whose
// reports must not be taken for an answer. An error is shown only for the screen's request.

#include <chrono>
#include <functional>
#include <optional>

#include "platform/api/clock.h"
#include "platform/api/window.h"

namespace core {

class CommsRequestWatch {
  public:
    struct Events {
        std::function<void(bool busy)> busy;
        // The program finished the request; success: its answer was written.
        std::function<void(bool success)> answered;
    };

    explicit CommsRequestWatch(Events events) : events_(std::move(events)) {}

    // The screen started its request (busy until the program reports) or withdrew it.
    void sent();
    void withdrawn();
    bool pending() const { return pending_; }
    // A screen rebuilt for a rotation carries on with its predecessor's request.
    void carryOn(bool pending) { pending_ = pending; }

    // One report of the program (the message's wParam and lParam); false when wParam is no
    // report.
    bool report(platform::WParam wParam, platform::LParam lParam);

    // Asked on each tick of a screen's busy animation: true once the comms program has not
    // been running for kGoneGrace, which withdraws the request. A program that went away
    // without its last report (killed, crashed) leaves the screen idle, but its last reports
    // may still be on their way from the other process when it is already gone, and an answer
    // taken for lost would leave the screen without it.
    bool withdrawIfGone();
    static constexpr std::chrono::milliseconds kGoneGrace{2000};

  private:
    void setBusy(bool busy) const;

    Events events_;
    bool pending_ = false;
    std::optional<platform::SteadyTime> goneSince_;
};

}  // namespace core
