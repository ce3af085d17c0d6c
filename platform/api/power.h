#pragma once
// Power: keeping the device awake, the system power state, the backlight requirement and the
// notification LEDs (one of which is the vibrator). Everything is kept in the device's state
// so tools and tests can read it and other programs see it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Resets the device's idle timer (the handheld's SystemIdleTimerReset).
void systemIdleTimerReset();
// Tick count of the last reset (0 when never reset), for tools and tests.
std::uint32_t lastIdleTimerReset();

// System power-state flags (POWER_STATE_*).
constexpr std::uint32_t kPowerStateOn = 0x00010000;
constexpr std::uint32_t kPowerStateIdle = 0x00100000;
constexpr std::uint32_t kPowerStateSuspend = 0x00200000;
constexpr std::uint32_t kPowerStateUserIdle = 0x01000000;
constexpr std::uint32_t kPowerStateBacklightOn = 0x02000000;
constexpr std::uint32_t kPowerStateUnattended = 0x00400000;

std::uint32_t systemPowerState();
// Sets the system power state from its flags (kPowerStateOn, ...). `force` as on the handheld.
bool setSystemPowerState(std::uint32_t flags, bool force);

// A device power requirement ("BKL1:" at D0 keeps the backlight at full power). Requirements
// belong to the process that set them; the device forgets those of ended processes.
enum class DevicePowerState : int { D0 = 0, D1 = 1, D2 = 2, D3 = 3, D4 = 4 };
using PowerRequirementHandle = std::uint32_t;  // 0 is never a handle
PowerRequirementHandle setPowerRequirement(std::wstring_view device, DevicePowerState state);
bool releasePowerRequirement(PowerRequirementHandle handle);
// True while any live process requires the backlight ("BKL1:") at D0.
bool backlightHeld();

// Notification LEDs. The device has kLedCount LEDs; the vibrator is the one whose cycle
// adjustment reads -1, as on the handheld.
struct LedInfo {
    int cycleAdjust = 0;
};
int ledCount();
std::optional<LedInfo> ledInfo(int led);
// state: 0 off, 1 on, 2 blink. False for an LED the device does not have.
bool setLedState(int led, int state);
int ledState(int led);

}  // namespace platform
