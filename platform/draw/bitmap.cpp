// Bitmaps in the handheld's 24-bit bottom-up layout, and the span fills everything else uses.

#include <cstring>
#include <stdexcept>

#include "platform/api/draw.h"
#include "platform/draw/raster.h"

namespace platform {

namespace {
// Larger bitmaps are refused rather than letting the byte count overflow.
constexpr long long kMaxBitmapBytes = 1LL << 30;
}  // namespace

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), stride_(0) {
    const long long stride = (static_cast<long long>(width_) * 3 + 3) & ~3LL;
    if (stride * height_ > kMaxBitmapBytes)
        throw std::length_error("bitmap too large");
    stride_ = static_cast<int>(stride);
    bits_ = ZeroedBlock(byteSize());  // zero-filled: black
}

Colour Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return drawing::loadPixel(drawing::pixelAt(*this, x, y));
}

void Bitmap::setPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    drawing::storePixel(drawing::pixelAt(*this, x, y), c);
}

void Bitmap::fill(Colour c) {
    drawing::fillTargetRect(*this, {0, 0, width_, height_}, c);
}

Brush Brush::fromPattern(const std::uint8_t rows[8]) {
    Brush b;
    b.patterned = true;
    std::memcpy(b.pattern, rows, 8);
    return b;
}

namespace drawing {

void fillSpan(Bitmap& b, int y, int x0, int x1, Colour c) {
    std::uint8_t* p = pixelAt(b, x0, y);
    const int n = x1 - x0;
    if (n <= 0)
        return;
    storePixel(p, c);
    // Doubling copies fill the rest in a handful of memcpy calls.
    int done = 1;
    while (done < n) {
        const int chunk = std::min(done, n - done);
        std::memcpy(p + done * 3, p, static_cast<std::size_t>(chunk) * 3);
        done += chunk;
    }
}

void fillTargetRect(Bitmap& b, const Rect& r, Colour c) {
    if (r.isEmpty())
        return;
    fillSpan(b, r.top, r.left, r.right, c);
    const std::uint8_t* first = pixelAt(b, r.left, r.top);
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 3;
    for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(pixelAt(b, r.left, y), first, bytes);
}

void fillTargetRectWithBrush(Bitmap& b, const Rect& r, const Brush& brush, Point origin,
                             Colour text, Colour background) {
    if (r.isEmpty())
        return;
    if (!brush.patterned) {
        fillTargetRect(b, r, brush.colour);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = pixelAt(b, r.left, y);
        for (int x = r.left; x < r.right; ++x, p += 3) {
            storePixel(p, brushColourAt(brush, x - origin.x, y - origin.y, text, background));
        }
    }
}

}  // namespace drawing
}  // namespace platform
