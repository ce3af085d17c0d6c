// Power: the idle timer, the system power state, device power requirements and the LEDs, all
// kept in the device's state so every program and vorndev see the same.

#include "platform/api/power.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/profile.h"
#include "platform/device/state_store.h"
#include "platform/device/text_case.h"

namespace platform {

namespace {

constexpr std::uint32_t kKnownPowerFlags = kPowerStateOn | kPowerStateIdle | kPowerStateSuspend |
                                           kPowerStateUserIdle | kPowerStateBacklightOn |
                                           kPowerStateUnattended;
constexpr int kLedCount = 2;
constexpr int kVibratorLed = 1;
// Device names as the handheld spells them ("BKL1:") are short.
constexpr std::size_t kMaxPowerDeviceName = 32;

// The same clock as the window system's tick count.
std::uint32_t bootMilliseconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u);
}

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("power",
                   "CREATE TABLE IF NOT EXISTS power_requirements ("
                   " handle INTEGER PRIMARY KEY AUTOINCREMENT, device TEXT NOT NULL,"
                   " state INTEGER NOT NULL, pid INTEGER NOT NULL, started INTEGER NOT NULL)");
    return s;
}

// When the process started (clock ticks since boot), so a requirement is not taken over by
// a later process that got the same id; 0 when it does not run.
std::int64_t processStartTime(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return 0;
    // Fields after the command name, which is in parentheses and may hold anything; the
    // start time is the 22nd field, the 20th after the name.
    std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::size_t at = close + 2;
    for (int field = 3; field < 22 && at < line.size(); ++field) {
        at = line.find(' ', at);
        if (at == std::string::npos)
            return 0;
        ++at;
    }
    return std::atoll(line.c_str() + std::min(at, line.size()));
}

bool requirementHolderRuns(int pid, std::int64_t started) {
    return isProcessAlive(pid) && processStartTime(pid) == started;
}

std::string ledKey(int led) {
    return "led." + std::to_string(led);
}

}  // namespace

void systemIdleTimerReset() {
    setProfileNumber("power.idle_reset", bootMilliseconds());
}

std::uint32_t lastIdleTimerReset() {
    return static_cast<std::uint32_t>(profileNumber("power.idle_reset", 0));
}

std::uint32_t systemPowerState() {
    auto flags = static_cast<std::uint32_t>(profileNumber("power.state", kPowerStateOn));
    return (flags & ~kKnownPowerFlags) ? kPowerStateOn : flags;
}

bool setSystemPowerState(std::uint32_t flags, bool /*force*/) {
    if (flags == 0 || (flags & ~kKnownPowerFlags))
        return false;
    setProfileNumber("power.state", flags);
    return true;
}

PowerRequirementHandle setPowerRequirement(std::wstring_view device, DevicePowerState state) {
    auto level = static_cast<int>(state);
    if (device.empty() || device.size() > kMaxPowerDeviceName || level < 0 || level > 4)
        return 0;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    PowerRequirementHandle handle = 0;
    s.transaction([&] {
        s.prepare("INSERT INTO power_requirements(device, state, pid, started) VALUES(?, ?, ?, ?)")
            .bind(1, toUtf8(text::foldCase(device)))
            .bind(2, level)
            .bind(3, static_cast<std::int64_t>(::getpid()))
            .bind(4, processStartTime(::getpid()))
            .run();
        handle = static_cast<PowerRequirementHandle>(s.lastInsertId());
    });
    return handle;
}

bool releasePowerRequirement(PowerRequirementHandle handle) {
    if (handle == 0)
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    int removed = 0;
    s.transaction([&] {
        removed = s.prepare("DELETE FROM power_requirements WHERE handle = ?")
                      .bind(1, static_cast<std::int64_t>(handle))
                      .run();
    });
    return removed > 0;
}

bool backlightHeld() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    struct Holder {
        std::int64_t handle, pid, started;
    };
    std::vector<Holder> holders;
    {
        auto st = s.prepare(
            "SELECT handle, pid, started FROM power_requirements"
            " WHERE device = 'bkl1:' AND state = 0");
        while (st.step()) holders.push_back({st.integer(0), st.integer(1), st.integer(2)});
    }
    bool held = false;
    for (const auto& h : holders) {
        if (requirementHolderRuns(static_cast<int>(h.pid), h.started)) {
            held = true;
        } else {
            // The device forgets the requirements of ended processes.
            s.transaction([&] {
                s.prepare("DELETE FROM power_requirements WHERE handle = ?")
                    .bind(1, h.handle)
                    .run();
            });
        }
    }
    return held;
}

int ledCount() {
    return kLedCount;
}

std::optional<LedInfo> ledInfo(int led) {
    if (led < 0 || led >= kLedCount)
        return std::nullopt;
    return LedInfo{led == kVibratorLed ? -1 : 0};
}

bool setLedState(int led, int state) {
    if (led < 0 || led >= kLedCount || state < 0 || state > 2)
        return false;
    setProfileNumber(ledKey(led), state);
    return true;
}

int ledState(int led) {
    if (led < 0 || led >= kLedCount)
        return 0;
    auto state = profileNumber(ledKey(led), 0);
    return state >= 0 && state <= 2 ? static_cast<int>(state) : 0;
}

}  // namespace platform
