#pragma once
// Pixel-level helpers shared by the drawing code. Everything here works in the target
// bitmap's top-down pixel coordinates; callers translate context coordinates first.

#include <algorithm>
#include <cstdint>

#include "platform/api/draw.h"

namespace platform::drawing {

// Coordinates far beyond any screen are pulled into this range before arithmetic, so that
// adding an origin or taking a width can never overflow an int.
constexpr int kCoordLimit = 1 << 28;

constexpr int clampCoord(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kCoordLimit, kCoordLimit));
}
constexpr Rect clampRect(const Rect& r) {
    return {clampCoord(r.left), clampCoord(r.top), clampCoord(r.right), clampCoord(r.bottom)};
}

// Where a context draws: its bitmap, where the context's (0, 0) lies in it, and the clip
// (already inside the bitmap, possibly empty).
struct Surface {
    Bitmap* bitmap = nullptr;
    Point origin;
    Rect clip;

    // A rectangle in context coordinates, moved into the bitmap and clipped.
    Rect toTarget(const Rect& r) const {
        return clampRect(r).offset(origin.x, origin.y).intersect(clip);
    }
};

inline std::uint8_t* pixelAt(Bitmap& b, int x, int y) {
    return b.rowFromTop(y) + x * 3;
}
inline const std::uint8_t* pixelAt(const Bitmap& b, int x, int y) {
    return b.rowFromTop(y) + x * 3;
}

inline void storePixel(std::uint8_t* p, Colour c) {
    p[0] = static_cast<std::uint8_t>(blueOf(c));
    p[1] = static_cast<std::uint8_t>(greenOf(c));
    p[2] = static_cast<std::uint8_t>(redOf(c));
}
inline Colour loadPixel(const std::uint8_t* p) {
    return rgb(p[2], p[1], p[0]);
}

// Mixes source over destination with alpha 0..255; exact at both ends.
inline std::uint8_t mixChannel(int d, int s, int alpha) {
    return static_cast<std::uint8_t>((d * (255 - alpha) + s * alpha + 127) / 255);
}
inline void blendPixel(std::uint8_t* p, Colour c, int alpha) {
    if (alpha <= 0)
        return;
    if (alpha >= 255) {
        storePixel(p, c);
        return;
    }
    p[0] = mixChannel(p[0], blueOf(c), alpha);
    p[1] = mixChannel(p[1], greenOf(c), alpha);
    p[2] = mixChannel(p[2], redOf(c), alpha);
}
inline Colour mixColour(Colour a, Colour b, int alphaOfB) {
    return rgb(mixChannel(redOf(a), redOf(b), alphaOfB),
               mixChannel(greenOf(a), greenOf(b), alphaOfB),
               mixChannel(blueOf(a), blueOf(b), alphaOfB));
}

// Fills pixels x0..x1-1 of row y with one colour; the span must lie inside the bitmap.
void fillSpan(Bitmap& b, int y, int x0, int x1, Colour c);

// Fills an already clipped target rectangle with one colour.
void fillTargetRect(Bitmap& b, const Rect& r, Colour c);

// The colour a brush paints at a pixel. Patterns are aligned to context coordinates so that
// adjacent fills join seamlessly.
inline Colour brushColourAt(const Brush& brush, int contextX, int contextY, Colour text,
                            Colour background) {
    if (!brush.patterned)
        return brush.colour;
    const int bit = (brush.pattern[contextY & 7] >> (7 - (contextX & 7))) & 1;
    return bit ? text : background;
}

// Fills a clipped target rectangle with a brush; origin maps target to context coordinates.
void fillTargetRectWithBrush(Bitmap& b, const Rect& r, const Brush& brush, Point origin,
                             Colour text, Colour background);

}  // namespace platform::drawing
