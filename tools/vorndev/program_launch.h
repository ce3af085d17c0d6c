#pragma once
// Starting and stopping the programs of the device from vorndev. A started program learns its
// device root, its own device path and its display from the environment (VORN_DEVICE,
// VORN_SELF, VORN_DISPLAY), as every program the device's shell starts does.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorndev {

struct LaunchOptions {
    bool headless = false;  // VORN_DISPLAY=headless; otherwise the program chooses
    // A detached program outlives vorndev: it gets a session of its own and writes its output
    // to <root>/.device/log/output.log instead of this terminal. An attached one only gets a
    // process group of its own, so Ctrl-C reaches vorndev, which closes it properly.
    bool detached = true;
};

// Starts the program installed at a device path with an argument line (handed to it as its
// command line) and the given process grouping, as `vorndev start` needs. Returns its process
// id; throws Failure when it cannot start.
int startDeviceProgram(const std::wstring& devicePath, const std::wstring& argumentLine,
                       const LaunchOptions& options);

// Starts a program as the device's shell does (through the platform's process starter), with
// its output going to <root>/.device/log/output.log so it never holds on to this terminal or
// to the pipe of whoever runs vorndev. Returns its process id; Failure when it cannot start.
int runDeviceProgram(const std::wstring& devicePath, const std::wstring& argumentLine,
                     bool headless);

// Starts a host executable as a program of the device; with no device path the program
// picks its own.
int startHostProgram(const std::filesystem::path& executable, const std::vector<std::string>& args,
                     const std::optional<std::wstring>& devicePath, const LaunchOptions& options);

// True while the process runs (a zombie has ended). Reaps it when it is vorndev's child.
bool isProgramRunning(int processId);

// The process ids owning top-level windows on the device, in order of their first window.
std::vector<int> programsWithWindows();

// Waits until every program has at least one top-level window; false on time-out.
bool waitForWindows(const std::vector<int>& processIds, std::chrono::milliseconds timeout);

// Closes programs as a person would: wm::Close to each of their top-level windows; what still
// runs after the grace period gets SIGTERM, and SIGKILL a little later. Returns the ids of the
// programs that had to be signalled.
std::vector<int> closePrograms(const std::vector<int>& processIds, std::chrono::milliseconds grace);

}  // namespace vorndev
