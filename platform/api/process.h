#pragma once
// Starting the device's programs, as the handheld's shell does: a program is named by its
// device path ("\windows\vornalarms.exe") and receives one argument line. The started
// program learns the device root (VORN_DEVICE) and its own device path (VORN_SELF) from its
// environment; the display choice (VORN_DISPLAY) is passed on as it stands.

#include <optional>
#include <string_view>

namespace platform {

using ProcessId = int;

// Starts the program at a device path with the argument line as its one argument (none when
// the line is empty). Returns its process id, or nothing when the path names no executable
// file of the device.
std::optional<ProcessId> startProgram(std::wstring_view devicePath,
                                      std::wstring_view arguments = {});

// True while the process runs (a finished process that nobody has reaped yet counts as
// ended).
bool isProcessAlive(ProcessId pid);

struct ProcessEnd {
    bool ended = false;
    // For programs this process started and that exited normally; nothing when a signal
    // ended it or when another process started it.
    std::optional<int> exitCode;
};

// Waits up to timeoutMs (negative: without limit) for a process to end.
ProcessEnd waitForProcess(ProcessId pid, int timeoutMs);

}  // namespace platform
