#include "core/comms_request.h"

#include "core/comms.h"

namespace core {

void CommsRequestWatch::sent() {
    pending_ = true;
    goneSince_.reset();
    setBusy(true);
}

void CommsRequestWatch::withdrawn() {
    pending_ = false;
    goneSince_.reset();
    setBusy(false);
}

bool CommsRequestWatch::withdrawIfGone() {
    if (isCommsRunning()) {
        goneSince_.reset();
        return false;
    }
    platform::SteadyTime now = platform::steadyNow();
    if (!goneSince_)
        goneSince_ = now;
    if (now - *goneSince_ < kGoneGrace)
        return false;
    withdrawn();
    return true;
}

bool CommsRequestWatch::report(platform::WParam wParam, platform::LParam lParam) {
    // A report came: whatever the program does next, it was there until now.
    goneSince_.reset();
    switch (wParam) {
        case commsReport::Started:
            setBusy(true);
            return true;
        case commsReport::Done:
            if (pending_) {
                pending_ = false;
                setBusy(false);
                if (events_.answered)
                    events_.answered(lParam == 1);
            }
            return true;
        case commsReport::Error: {
            const bool mine = pending_;
            withdrawn();
            if (mine)
                showCommsError();
            return true;
        }
        case commsReport::Ended:
            withdrawn();
            return true;
        default:
            return false;
    }
}

void CommsRequestWatch::setBusy(bool busy) const {
    if (events_.busy)
        events_.busy(busy);
}

}  // namespace core
