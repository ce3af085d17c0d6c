#include "alarms/backlight_hold.h"

#include <cstdint>
#include <mutex>

#include "platform/api/power.h"

namespace alarms {
namespace {

struct Hold {
    std::mutex mutex;
    bool held = false;
    std::uint32_t keptPowerState = 0;
    platform::PowerRequirementHandle requirement = 0;
};

Hold& processHold() {
    static Hold hold;
    return hold;
}

}  // namespace

void holdBacklight(bool on) {
    Hold& hold = processHold();
    std::lock_guard lock(hold.mutex);
    if (on == hold.held)
        return;
    if (on) {
        hold.keptPowerState = platform::systemPowerState();
        platform::setSystemPowerState(platform::kPowerStateOn, true);
        hold.requirement = platform::setPowerRequirement(L"BKL1:", platform::DevicePowerState::D0);
        hold.held = true;
        return;
    }
    if (hold.requirement != 0)
        platform::releasePowerRequirement(hold.requirement);
    hold.requirement = 0;
    platform::setSystemPowerState(hold.keptPowerState, true);
    hold.held = false;
}

bool backlightHoldActive() {
    Hold& hold = processHold();
    std::lock_guard lock(hold.mutex);
    return hold.held;
}

}  // namespace alarms
