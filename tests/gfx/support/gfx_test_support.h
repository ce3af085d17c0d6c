#pragma once
// Helpers for the presentation engine's tests: a test device with the install folder in it,
// small Targa files written byte by byte, and pictures made by ImageMagick's convert.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace gfx::test {

// The install folder's device path ("\Program Files\Vorn Roamer\"), a link to the project's
// data folder inside a fresh test device with the given screen profile.
std::wstring useInstallFolder(std::string_view screen = "240x320");

// A writable folder of the test device with a trailing backslash ("\gfxtest\<name>\").
std::wstring scratchFolder(std::string_view name);

// Host path of a device path of the test device.
std::filesystem::path hostOf(std::wstring_view devicePath);

void writeBytes(std::wstring_view devicePath, const std::vector<std::uint8_t>& bytes);

// An 18-byte Targa header.
std::vector<std::uint8_t> targaHeader(int type, int width, int height, int depth,
                                      std::uint8_t descriptor = 0);

// Switches the test device's screen and tells the platform, as a rotation would.
void switchScreen(std::string_view screen, int dpi = 0);

// Runs ImageMagick's convert with the arguments; false when it fails or is missing.
bool runConvert(const std::string& arguments);
bool convertAvailable();

}  // namespace gfx::test
