#pragma once
// A throw-away device for tests: a fresh device root in a temporary folder, removed when the
// test program ends. One per test program, because the window system and the program's socket
// belong to the process.

#include <filesystem>
#include <string_view>

namespace platform::test {

// Creates the device on first call (with the given screen profile) and returns its root.
const std::filesystem::path& useTestDevice(std::string_view screen = "240x320");

// Path of a built program, for tests that start other programs.
std::filesystem::path builtProgram(std::string_view name);

}  // namespace platform::test
