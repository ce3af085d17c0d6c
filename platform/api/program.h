#pragma once
// Program start-up. Every program of the system (and every tool that draws) calls
// startProgram first: it finds the device root, learns the program's own device path and
// picks the display backend.

#include <string>
#include <string_view>

namespace platform {

struct StartOptions {
    // The program's device path when it was not started by the device's shell (a person
    // running the host binary by hand).
    std::wstring defaultDevicePath;
    // Title shown by a windowed backend.
    std::wstring displayName;
};

// Environment the device's process starter sets for a program it starts:
//   VORN_DEVICE   the device root (host folder)
//   VORN_SELF     the program's own device path
//   VORN_DISPLAY  "sdl" or "headless"; when unset, sdl if a display is reachable
// Returns the command line: the program's arguments joined by single spaces.
std::wstring startProgram(int argc, char** argv, const StartOptions& options);

// Start-up of a program that never shows a screen (the command-line tools): the same device
// root, device path and command line, without a display backend, so it needs no window system
// and links none (it lives in vorn_platform_services).
std::wstring startWindowlessProgram(int argc, char** argv, const StartOptions& options);

// The display backend in use ("sdl" or "headless").
std::string displayBackendName();

// A line in the device log (<root>/.device/log) and on standard error, with the program's
// name and the time.
void logLine(std::string_view text);

}  // namespace platform
