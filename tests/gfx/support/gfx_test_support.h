#pragma once
// Helpers for the presentation engine's tests: a test device with the install folder in it,
// small Targa files written byte by byte, and pictures made by ImageMagick's convert.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/targa.h"

namespace gfx::test {

// The install folder's device path ("\Program Files\Vorn Roamer\"), a link to the project's
// data folder inside a fresh test device with the given screen profile.
std::wstring useInstallFolder(std::string_view screen = "240x320");

// A writable folder of the test device with a trailing backslash ("\gfxtest\<name>\").
std::wstring scratchFolder(std::string_view name);

// Host path of a device path of the test device.
std::filesystem::path hostOf(std::wstring_view devicePath);

void writeBytes(std::wstring_view devicePath, const std::vector<std::uint8_t>& bytes);

// A width x height picture of bpp bytes a pixel whose pixel (x, y) is pick(x, y) (an array
// of R, G, B, A; A is left out at 3 bytes a pixel).
template <typename Pick>
TargaPixels makePicture(int width, int height, Pick pick, int bpp = 4) {
    TargaPixels p;
    p.width = width;
    p.height = height;
    p.bytesPerPixel = bpp;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::array<std::uint8_t, 4> px = pick(x, y);
            p.pixels.insert(p.pixels.end(), px.begin(), px.begin() + bpp);
        }
    }
    return p;
}

// An 18-byte Targa header.
std::vector<std::uint8_t> targaHeader(int type, int width, int height, int depth,
                                      std::uint8_t descriptor = 0);

// Switches the test device's screen and tells the platform, as a rotation would.
void switchScreen(std::string_view screen, int dpi = 0);

// Runs ImageMagick's convert with the arguments; false when it fails or is missing.
bool runConvert(const std::string& arguments);
bool convertAvailable();

}  // namespace gfx::test
