#pragma once
// Pictures between the forms servers send and the form the handheld stores: PNG decoded with
// its alpha channel, and bitmaps encoded as JPEG. Both take hostile input and bound the size.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/api/draw.h"

namespace platform {

// Straight (not premultiplied) RGBA, rows top-down.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Nothing for bytes that are not a PNG, are damaged, or exceed 4096 x 4096 pixels.
std::optional<RgbaPicture> decodePng(std::span<const std::uint8_t> bytes);

// Baseline JPEG at the quality given (1..100); empty on failure.
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, int quality);

}  // namespace platform
