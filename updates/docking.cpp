// The cradle registration of the comms program.

#include "updates/docking.h"

#include "core/comms.h"
#include "core/settings.h"
#include "platform/api/notifications.h"
#include "platform/api/state_notifications.h"
#include "updates/settings_keys.h"

namespace updates {

void clearDockingUpdates() {
    platform::registryStopNotification(kDockingNotificationName);
    for (auto handle : platform::userNotificationHandles()) {
        auto r = platform::userNotification(handle);
        if (r && r->application == core::kCommsProgramPath &&
            r->arguments == kDockingEventArguments) {
            platform::clearUserNotification(handle);
        }
    }
}

bool dockingUpdatesRegistered() {
    for (const auto& n : platform::stateNotifications()) {
        if (n.name == kDockingNotificationName)
            return true;
    }
    return false;
}

bool setDockingUpdates() {
    clearDockingUpdates();
    if (core::settings::read(keys::OptSchedDocking) != 1)
        return true;
    platform::StateNotification n;
    n.name = kDockingNotificationName;
    n.hive = platform::Hive::LocalMachine;
    n.key = kCradleKey;
    n.value = kCradleValue;
    n.application = core::kCommsProgramPath;
    n.condition = platform::StateCondition::Equal;
    n.target = 1;
    n.mask = 0xFFFFFFFF;
    return platform::registryNotifyApp(n);
}

}  // namespace updates
