#pragma once
// Helpers of the comms tests: the recorded answers of the source tree, small pictures made on
// the spot, and files on the throw-away device.

#include <filesystem>
#include <string>
#include <string_view>

namespace commsprogram::test {

// A recorded answer from tests/commsprogram/replays.
std::string replay(std::string_view name);

// A JPEG of the size given, one colour.
std::string jpegPicture(int width, int height, std::uint32_t bgr);
// A PNG of the size given: opaque red in the left half, fully transparent in the right.
std::string pngOverlay(int width, int height);

// Writes bytes to a device file (creating its folder) and reads them back; empty when missing.
void writeDeviceFile(std::wstring_view devicePath, std::string_view bytes);
std::string readDeviceFile(std::wstring_view devicePath);
bool deviceFileExists(std::wstring_view devicePath);

}  // namespace commsprogram::test
