#pragma once
// State notifications, as the handheld's shell keeps them: a named registration that starts a
// device program when a registry value changes so that it meets a condition (the device put
// in its cradle sets HKLM\System\State\Hardware "Cradled" to 1). Registrations live in the
// machine-state store beside the timed notifications, so they survive a restart of the device,
// and the notification service checks them whenever the registry changes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/notifications.h"
#include "platform/api/registry.h"

namespace platform {

// How the value (a DWORD, masked) compares with the target (REG_CT_*). A value that is absent
// or not a DWORD never meets a condition.
enum class StateCondition : std::uint32_t {
    Anything = 0,  // any change of the value
    Equal = 1,
    NotEqual = 2,
    Greater = 3,
    GreaterOrEqual = 4,
    Less = 5,
    LessOrEqual = 6,
};

struct StateNotification {
    std::wstring name;  // unique among registrations; compared without regard to case
    Hive hive = Hive::LocalMachine;
    std::wstring key;
    std::wstring value;
    std::wstring application;  // device path of the program to start
    std::wstring arguments;
    StateCondition condition = StateCondition::Equal;
    std::uint32_t target = 0;
    std::uint32_t mask = 0xFFFFFFFF;
    friend bool operator==(const StateNotification&, const StateNotification&) = default;
};

// True when a DWORD value meets the registration's condition.
bool meetsStateCondition(const StateNotification& n, std::uint32_t value);

// Stores a registration, replacing one of the same name. What the value is now counts as
// already seen: only a later change that meets the condition starts the program. False when
// refused (an empty or over-long name, key, value or application, an unknown condition).
bool registryNotifyApp(const StateNotification& notification);

// Removes the registration of that name; false when there was none.
bool registryStopNotification(std::wstring_view name);

// Every registration, oldest first.
std::vector<StateNotification> stateNotifications();

// The service's step: for every registration whose value changed since it was last looked at
// so that it now meets the condition (and did not before), starts the program. Several
// processes may call this at once; each change starts the program once. The runs are logged
// with the timed notifications' runs (handle 0, an event record).
std::vector<NotificationRun> runStateNotifications();

}  // namespace platform
