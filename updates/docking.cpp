// The cradle registration of the comms program.

#include "updates/docking.h"

#include <optional>

#include "core/comms.h"
#include "core/settings.h"
#include "platform/api/notifications.h"
#include "platform/api/state_notifications.h"
#include "updates/settings_keys.h"

namespace updates {

namespace {

platform::StateNotification dockingRegistration() {
    platform::StateNotification n;
    n.name = kDockingNotificationName;
    n.hive = platform::Hive::LocalMachine;
    n.key = kCradleKey;
    n.value = kCradleValue;
    n.application = core::kCommsProgramPath;
    n.condition = platform::StateCondition::Equal;
    n.target = 1;
    n.mask = 0xFFFFFFFF;
    return n;
}

std::optional<platform::StateNotification> currentRegistration() {
    for (auto& n : platform::stateNotifications()) {
        if (n.name == kDockingNotificationName)
            return std::move(n);
    }
    return std::nullopt;
}

bool isDockingEventRecord(const std::optional<platform::NotificationRecord>& r) {
    return r && r->application == core::kCommsProgramPath && r->arguments == kDockingEventArguments;
}

bool hasDockingEventRecords() {
    for (auto handle : platform::userNotificationHandles()) {
        if (isDockingEventRecord(platform::userNotification(handle)))
            return true;
    }
    return false;
}

}  // namespace

void clearDockingUpdates() {
    platform::registryStopNotification(kDockingNotificationName);
    for (auto handle : platform::userNotificationHandles()) {
        if (isDockingEventRecord(platform::userNotification(handle)))
            platform::clearUserNotification(handle);
    }
}

bool dockingUpdatesRegistered() {
    return currentRegistration().has_value();
}

bool setDockingUpdates() {
    const bool wanted = core::settings::read(keys::OptSchedDocking) == 1;
    const platform::StateNotification registration = dockingRegistration();
    // Most starts find the registration as the option wants it and leave it alone. Made
    // again, it would count the cradle's present value as seen, and a docking that the
    // notification service had not acted on yet would start nothing.
    const auto current = currentRegistration();
    if (current.has_value() == wanted && (!current || *current == registration) &&
        !hasDockingEventRecords()) {
        return true;
    }
    clearDockingUpdates();
    if (!wanted)
        return true;
    return platform::registryNotifyApp(registration);
}

}  // namespace updates
