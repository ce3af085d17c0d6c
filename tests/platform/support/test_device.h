#pragma once
// A throw-away device for tests: a fresh device root in a temporary folder, removed when the
// test program ends. One per test program, because the window system and the program's socket
// belong to the process.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::test {

// Creates the device on first call (240x320 unless a screen is named) and returns its root.
// A call that names a screen sets that profile: tests of one program share the device but
// each may ask for its own screen.
const std::filesystem::path& useTestDevice(std::string_view screen = {});

// Path of a built program, for tests that start other programs.
std::filesystem::path builtProgram(std::string_view name);

// Starts this test program again on another device (VORN_DEVICE replaced, not added: the
// platform reads the first copy) with more environment variables ("NAME=value"); the child's
// pid, or -1 when it could not start.
pid_t spawnSelfOnDevice(const std::filesystem::path& root, const std::vector<std::string>& extra);

}  // namespace platform::test
