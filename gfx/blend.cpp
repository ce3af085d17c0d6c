// Per-pixel blending on 24-bit DIBs. The mixes use ">> 8" as the handheld code always has, so
// the numbers the screens were tuned with come out the same.

#include "gfx/blend.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "gfx/resample.h"

namespace gfx {
namespace {

// Luma weights in thousandths; integers keep a grey pixel exactly grey.
inline int greyOf(int r, int g, int b) {
    return (299 * r + 587 * g + 114 * b) / 1000;
}

// How much of the destination is kept for each alpha at the given opacity. Opacity exactly
// 1.0 is the common case and keeps 255 - alpha.
std::array<int, 256> keepTable(double opacity) {
    std::array<int, 256> keep{};
    opacity = std::clamp(opacity, 0.0, 1.0);
    for (int a = 0; a < 256; ++a) {
        keep[a] = opacity == 1.0 ? 255 - a : 255 - static_cast<int>(a * opacity);
    }
    return keep;
}

// Weights (out of 256) of the rounded-corner fade: entry [row][column] counted from the
// corner: 0, 1/4, 1/2, 0.8 and 1 trace a quarter circle of about four pixels' radius.
constexpr int CornerSize = 5;
// clang-format off
constexpr int CornerWeights[CornerSize][CornerSize] = {
    {0,   64,  128, 205, 256},
    {64,  205, 256, 256, 256},
    {128, 256, 256, 256, 256},
    {205, 256, 256, 256, 256},
    {256, 256, 256, 256, 256},
};
// clang-format on

}  // namespace

int blendTarga(const TargaPixels& picture, platform::Bitmap* destination, int x, int y,
               bool greyscale, double opacity) {
    if (!destination)
        return 0;
    const int bpp = picture.bytesPerPixel;
    if (picture.pixels.size() < picture.rowBytes() * picture.height)
        return 0;
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(picture.height, destination->height() - y);
    const int firstColumn = std::max(0, -x);
    const int lastColumn = std::min(picture.width, destination->width() - x);
    if (firstRow >= lastRow || firstColumn >= lastColumn)
        return 1;

    const std::array<int, 256> keepFor = keepTable(opacity);
    for (int r = firstRow; r < lastRow; ++r) {
        const std::uint8_t* s = picture.row(r) + firstColumn * bpp;
        std::uint8_t* d =
            destination->bits() + (y + r) * destination->stride() + (x + firstColumn) * 3;
        for (int c = firstColumn; c < lastColumn; ++c, s += bpp, d += 3) {
            const int alpha = bpp == 4 ? s[3] : 255;
            if (alpha == 0)
                continue;
            int red = s[0], green = s[1], blue = s[2];
            if (greyscale)
                red = green = blue = greyOf(red, green, blue);
            if (alpha == 255) {
                d[0] = static_cast<std::uint8_t>(blue);
                d[1] = static_cast<std::uint8_t>(green);
                d[2] = static_cast<std::uint8_t>(red);
                continue;
            }
            const int keep = keepFor[alpha];
            const int take = 255 - keep;
            d[0] = static_cast<std::uint8_t>((blue * take + d[0] * keep) >> 8);
            d[1] = static_cast<std::uint8_t>((green * take + d[1] * keep) >> 8);
            d[2] = static_cast<std::uint8_t>((red * take + d[2] * keep) >> 8);
        }
    }
    return 1;
}

void drawTarga(platform::DeviceContext& dc, const TargaPixels& picture, int x, int y,
               bool greyscale, double opacity) {
    if (picture.width <= 0 || picture.height <= 0)
        return;
    Scratch scratch = scratchDib(picture.width, picture.height);
    const platform::Rect area = platform::rectOfSize(x, y, picture.width, picture.height);
    scratch.dc.blit({0, 0, picture.width, picture.height}, dc, {x, y});
    blendTarga(picture, &scratch.dib, 0, 0, greyscale, opacity);
    dc.blit(area, scratch.dc, {0, 0});
}

void drawTargaScaled(platform::DeviceContext& dc, const TargaPixels& picture, int x, int y,
                     int width, int height) {
    const TargaPixels resized = resampleTarga(picture, width, height);
    if (resized.width == 0)
        return;
    drawTarga(dc, resized, x, y, false, 1.0);
}

int blendDib(const platform::Bitmap& source, const platform::Bitmap& background,
             platform::Bitmap& destination, int alpha) {
    if (alpha < 0 || alpha > 255)
        return 0;
    const int width = source.width();
    const int height = source.height();
    if (background.width() != width || background.height() != height ||
        destination.width() != width || destination.height() != height) {
        return 0;
    }
    const int keep = 255 - alpha;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* s = source.bits() + row * source.stride();
        const std::uint8_t* b = background.bits() + row * background.stride();
        std::uint8_t* d = destination.bits() + row * destination.stride();
        for (int i = 0; i < width * 3; i += 3) {
            const bool white = s[i] == 255 && s[i + 1] == 255 && s[i + 2] == 255;
            if (white)
                continue;
            const bool black = s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 0;
            for (int ch = 0; ch < 3; ++ch) {
                d[i + ch] =
                    black ? 0
                          : static_cast<std::uint8_t>((b[i + ch] * keep + s[i + ch] * alpha) >> 8);
            }
        }
    }
    return 1;
}

int tintDib(platform::Bitmap* dib, platform::Colour colour, int x, int y, int width, int height,
            int alpha, bool rounded) {
    if (!dib || alpha < 0 || alpha > 255)
        return 0;
    const int tint[3] = {platform::blueOf(colour), platform::greenOf(colour),
                         platform::redOf(colour)};
    const platform::Rect area =
        platform::rectOfSize(x, y, width, height).intersect({0, 0, dib->width(), dib->height()});
    for (int top = area.top; top < area.bottom; ++top) {
        std::uint8_t* row = dib->rowFromTop(top);
        const int fromTop = top - y;
        const int fromBottom = y + height - 1 - top;
        const int edgeRow = std::min(fromTop, fromBottom);
        for (int left = area.left; left < area.right; ++left) {
            int a = alpha;
            if (rounded && edgeRow < CornerSize) {
                const int edgeColumn = std::min(left - x, x + width - 1 - left);
                if (edgeColumn < CornerSize)
                    a = a * CornerWeights[edgeRow][edgeColumn] >> 8;
            }
            if (a == 0)
                continue;  // nothing to add; the plain mix would darken by one level
            std::uint8_t* p = row + left * 3;
            for (int ch = 0; ch < 3; ++ch) {
                p[ch] = static_cast<std::uint8_t>((tint[ch] * a + p[ch] * (255 - a)) >> 8);
            }
        }
    }
    return 1;
}

}  // namespace gfx
