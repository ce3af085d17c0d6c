#pragma once
// Targa pictures: the icons, buttons, clock faces and shadows of the install folder. Only
// true-colour pictures are read (uncompressed or run-length, 24 or 32 bits), because those
// are the only kinds the artwork uses; pixels are kept as R, G, B(, A) so that blending needs
// no conversion.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/api/memory.h"

namespace gfx {

// Pixel memory is written in full by whoever fills it (a decoder that runs short fails); a
// vector's zero-filling before that cost a tenth of the main program's start-up. Large
// pictures get their pages mapped at once (platform::allocateBlock).
using PixelBytes = std::vector<std::uint8_t, platform::BlockAllocator<std::uint8_t>>;

struct TargaPixels {
    int xOrigin = 0;  // from the file; not used for drawing
    int yOrigin = 0;
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;  // 3 or 4
    // Row 0 is the bottom row of the picture; each pixel R, G, B (and A), rows unpadded.
    PixelBytes pixels;

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bytesPerPixel; }
    const std::uint8_t* row(int r) const { return pixels.data() + r * rowBytes(); }
    std::uint8_t* row(int r) { return pixels.data() + r * rowBytes(); }
};

enum class TargaStatus {
    Loaded = 0,
    CannotOpen = 1,
    // Not an uncompressed or run-length true-colour Targa, or a header whose pixels the file
    // does not hold (cut short, or a size no file could hold).
    NotTrueColour = 2,
    UnsupportedDepth = 3,  // a pixel depth other than 24 or 32 bits
    // More pixels than any display shows (kMaxTargaPixels), or more than could be allocated.
    TooLarge = 4,
};

// The most pixels a picture may have: a 4096 x 4096 screen's worth, far beyond the largest
// picture of the install folder and the largest display.
constexpr std::size_t kMaxTargaPixels = 4096u * 4096u;

// Reads a Targa file by device path. out holds the picture on TargaStatus::Loaded and is
// empty otherwise.
TargaStatus loadTarga(std::wstring_view devicePath, std::unique_ptr<TargaPixels>& out);

// The same decoding from bytes already in memory.
TargaStatus decodeTarga(std::span<const std::uint8_t> bytes, std::unique_ptr<TargaPixels>& out);

// An uncompressed Targa file of the picture, rows from the bottom up as kept; empty when the
// picture is empty, inconsistent or too large for a Targa header.
std::vector<std::uint8_t> encodeTarga(const TargaPixels& picture);

}  // namespace gfx
