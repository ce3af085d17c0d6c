// The installer hook's steps. The hook is loaded into the installer, which provides the
// device's services; it keeps nothing between calls.

#include "installer/hook_steps.h"

#include <chrono>
#include <thread>

#include "core/comms.h"
#include "core/settings.h"
#include "platform/api/modules.h"
#include "platform/api/notifications.h"
#include "platform/api/registry.h"
#include "platform/api/shell.h"
#include "platform/api/state_notifications.h"
#include "platform/api/window.h"
#include "updates/docking.h"

namespace installer {
namespace {

constexpr std::wstring_view kAlarmProgramPath = L"\\windows\\vornalarms.exe";
constexpr platform::WParam kSettingChangeTodayItems = 0xF2;
constexpr int kUnloadPollMs = 100;

bool pluginLoaded() {
    return !platform::processesUsingModule(core::kTodayPluginPath).empty();
}

// Every stored record, read the handheld's way: the handles, then each record's size and the
// record itself; a handle whose record cannot be read is skipped.
template <class Visit>
void forEachNotification(Visit visit) {
    for (auto handle : platform::userNotificationHandles()) {
        if (platform::userNotificationSize(handle) == 0)
            continue;
        if (auto record = platform::userNotification(handle))
            visit(handle, *record);
    }
}

bool isOurs(const platform::NotificationRecord& r) {
    return r.application == kAlarmProgramPath || r.application == core::kCommsProgramPath;
}

}  // namespace

HookEnvironment deviceEnvironment() {
    HookEnvironment env;
    env.wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    env.ask = [](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
        return platform::messageBox(0, text, caption, flags);
    };
    return env;
}

bool removeTodayItem(const HookEnvironment& env) {
    bool hadItem =
        platform::registryKeyExists(platform::Hive::LocalMachine, core::kTodayItemKeyPath);
    platform::deleteRegistryKey(platform::Hive::LocalMachine, core::kTodayItemKeyPath);
    if (auto desktop = platform::findWindow(core::kTodayWindowClass, core::kTodayWindowTitle)) {
        platform::sendMessage(desktop, platform::wm::SettingChange, kSettingChangeTodayItems, 0);
        platform::invalidateRect(desktop, nullptr, true);
    }
    // The Today screen lets go of the plug-in when it reloads its items; without an item
    // and without the plug-in loaded there is nothing to wait for.
    if (!hadItem && !pluginLoaded())
        return true;
    for (int waited = 0; waited < kTodayReloadWaitMs; waited += kUnloadPollMs) {
        if (!pluginLoaded())
            return true;
        env.wait(kUnloadPollMs);
    }
    return !pluginLoaded();
}

bool closeProgram(const ProgramWindow& program, const HookEnvironment& env) {
    bool hadWindow = false;
    for (int attempt = 0; attempt < kCloseAttempts; ++attempt) {
        auto window = platform::findWindow(program.className, program.title);
        if (!window)
            break;
        hadWindow = true;
        platform::postMessage(window, platform::wm::Close);
        env.wait(kCloseWaitMs);
    }
    if (platform::findWindow(program.className, program.title))
        return false;
    // A program whose window just went away may still be writing its files.
    if (hadWindow)
        env.wait(kCloseWaitMs);
    return true;
}

bool closePrograms(const HookEnvironment& env) {
    for (const auto& program : kClosingOrder) {
        if (!closeProgram(program, env))
            return false;
    }
    return true;
}

bool hasPendingNotifications() {
    bool pending = false;
    forEachNotification([&](platform::NotificationHandle, const platform::NotificationRecord& r) {
        pending = pending || isOurs(r);
    });
    for (const auto& n : platform::stateNotifications())
        pending = pending || n.name == updates::kDockingNotificationName;
    return pending;
}

void clearNotifications() {
    platform::registryStopNotification(updates::kDockingNotificationName);
    if (auto key =
            platform::RegistryKey::create(platform::Hive::CurrentUser, core::kSettingsKeyPath)) {
        key->setString(L"OptSchedDocking", L"0");
        if (auto pending = key->queryString(L"ScheduledUpdate", core::byteLimit::Number)) {
            std::uint32_t handle = 0;
            try {
                handle = static_cast<std::uint32_t>(std::stoul(*pending));
            } catch (const std::exception&) {
                handle = 0;
            }
            if (handle != 0)
                platform::clearUserNotification(handle);
        }
        key->setString(L"ScheduledUpdate", L"0");
        // The retry's record goes with the others below.
        key->setString(L"ErrorUpdate", L"0");
    }
    // Alarms, snoozes and the quick alarm all start the alarm program; the comms program's
    // records are the scheduled update, a retry after an error and the older cradle event.
    forEachNotification(
        [](platform::NotificationHandle handle, const platform::NotificationRecord& r) {
            if (isOurs(r))
                platform::clearUserNotification(handle);
        });
}

int installInit(const HookEnvironment& env) {
    if (!removeTodayItem(env)) {
        env.ask(kPluginInUse, kInstallError, platform::mb::Ok | platform::mb::IconInformation);
        return 1;
    }
    if (!closePrograms(env)) {
        env.ask(kCannotStop, kInstallError, platform::mb::Ok | platform::mb::IconInformation);
        return 1;
    }
    return 0;
}

int uninstallInit(const HookEnvironment& env) {
    if (int cancelled = installInit(env))
        return cancelled;
    if (hasPendingNotifications() &&
        env.ask(kRemoveQuestion, kProgramName, platform::mb::YesNo | platform::mb::IconQuestion) ==
            platform::id::Yes) {
        clearNotifications();
    }
    return 0;
}

}  // namespace installer
