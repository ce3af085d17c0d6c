#pragma once
// The phone's status and watching registry values for change. The phone status is the DWORD
// "Status" under HKEY_LOCAL_MACHINE\System\State\Phone, as on the handheld; tools set it.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/api/registry.h"

namespace platform {

// Bits of the phone status.
constexpr std::uint32_t kPhoneIncomingCall = 0x00010000;
constexpr std::uint32_t kPhoneCallInProgress = 0x00020000;
constexpr std::uint32_t kPhoneCallTalking = 0x20000000;
constexpr std::uint32_t kPhoneBusyMask =
    kPhoneIncomingCall | kPhoneCallInProgress | kPhoneCallTalking;

std::uint32_t phoneStatus();
void setPhoneStatus(std::uint32_t status);

// Calls back (on a thread of the platform) whenever the value changes, with its new value
// (nothing when it was removed). The watch ends when the object is destroyed; destroying it
// waits for a callback that is running.
class RegistryValueWatch {
  public:
    virtual ~RegistryValueWatch() = default;
};
using RegistryValueChanged = std::function<void(std::optional<RegistryValue>)>;
std::unique_ptr<RegistryValueWatch> watchRegistryValue(Hive hive, std::wstring_view key,
                                                       std::wstring_view value,
                                                       RegistryValueChanged changed);

// The phone status watch the alarm program uses.
std::unique_ptr<RegistryValueWatch> watchPhoneStatus(std::function<void(std::uint32_t)> changed);

}  // namespace platform
