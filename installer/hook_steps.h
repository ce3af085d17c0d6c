#pragma once
// The installer hook's steps: taking the Today item away, closing the system's programs and
// clearing the notifications that would start a program no longer there. The entry points
// (hook_entry.cpp) run them with the real waits and message boxes; tests pass their own.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace installer {

struct HookEnvironment {
    // Waits so long; the hook's pauses for other programs to react.
    std::function<void(int milliseconds)> wait;
    // Shows a message box and answers its button (platform::id::Yes, ...).
    std::function<int(std::wstring_view text, std::wstring_view caption, std::uint32_t flags)> ask;
};

// Sleeps and owner-less message boxes.
HookEnvironment deviceEnvironment();

struct ProgramWindow {
    std::wstring_view className;
    std::wstring_view title;
};

// The programs in the order they are closed. The alarm program goes first: it lives only
// while an alarm rings, and closing it before the main program lets it finish its own write of
// the alarm store (the re-armed or snoozed alarm) before anything else happens.
constexpr std::array<ProgramWindow, 3> kClosingOrder{{
    {L"VORNALARMS", L"Vorn Roamer Alarm"},
    {L"Vorn Roamer", L"Vorn Roamer"},
    {L"Vorn Roamer Comms", L"Vorn Roamer Comms"},
}};

constexpr int kCloseAttempts = 10;
constexpr int kCloseWaitMs = 500;
constexpr int kTodayReloadWaitMs = 2000;

// Deletes the Today item's key and tells the Today screen to reload its items, then waits up
// to 2 s for the screen to let go of the plug-in. False when a program of the device still has
// the plug-in loaded afterwards.
bool removeTodayItem(const HookEnvironment& env);

// Closes one program: while its window is there, up to ten times, WM_CLOSE and a 500 ms wait;
// 500 ms more after a window went away. False when the window is still there at the end.
bool closeProgram(const ProgramWindow& program, const HookEnvironment& env);

// Closes the programs in order; stops at the first that does not close (false).
bool closePrograms(const HookEnvironment& env);

// True when a notification or registration of the system is pending (an alarm, a scheduled or
// retried update, the cradle start): only then is there something to ask about on removal.
bool hasPendingNotifications();

// Removes every alarm notification, every notification of the comms program, the cradle
// registration, and sets OptSchedDocking to "0" and ScheduledUpdate to "0". The alarm store
// and the other settings stay.
void clearNotifications();

// The messages the hook shows.
constexpr std::wstring_view kCannotStop =
    L"Unable to stop a Vorn Roamer component. Please make sure all Vorn Roamer programs or "
    L"scheduled updates are not running.";
constexpr std::wstring_view kPluginInUse =
    L"The Today/Homescreen plugin appears to be in use. Please switch off any Vorn Roamer "
    L"homescreen plugins and reboot the device before continuing";
constexpr std::wstring_view kInstallError = L"Install Error";
constexpr std::wstring_view kRemoveQuestion =
    L"Do you want all future Vorn Roamer alarms and scheduled updates removed ? If you are "
    L"upgrading you may want to keep these so select NO.";
constexpr std::wstring_view kProgramName = L"Vorn Roamer";

// The Init entry points' work: 0 to go on, 1 to cancel.
int installInit(const HookEnvironment& env);
int uninstallInit(const HookEnvironment& env);

}  // namespace installer
