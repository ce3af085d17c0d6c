// Alpha blending onto DIBs and device contexts, cross fades and tints.

#include <gtest/gtest.h>

#include "gfx/blend.h"

namespace gfx {
namespace {

using platform::Bitmap;
using platform::rgb;

TargaPixels onePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    TargaPixels p;
    p.width = p.height = 1;
    p.pixels = {r, g, b, a};
    return p;
}

// Pixel at column x of memory row `row` (row 0 = bottom), as a colour.
platform::Colour memoryPixel(const Bitmap& bitmap, int x, int row) {
    const std::uint8_t* p = bitmap.bits() + row * bitmap.stride() + x * 3;
    return rgb(p[2], p[1], p[0]);
}

TEST(BlendTarga, MixesByAlphaAndOpacity) {
    Bitmap white(1, 1);
    white.fill(0xFFFFFF);
    // Alpha 128 of black over white: (0 x 128 + 255 x 127) >> 8 = 126.
    ASSERT_EQ(blendTarga(onePixel(0, 0, 0, 128), &white, 0, 0, false, 1.0), 1);
    EXPECT_EQ(white.pixel(0, 0), rgb(126, 126, 126));

    // Opacity weakens partly transparent pixels: keep = 255 - 128 x 0.5 = 191.
    white.fill(0xFFFFFF);
    blendTarga(onePixel(0, 0, 0, 128), &white, 0, 0, false, 0.5);
    EXPECT_EQ(white.pixel(0, 0), rgb(190, 190, 190));

    // ... but never opaque ones.
    Bitmap target(1, 1);
    target.fill(0xFFFFFF);
    blendTarga(onePixel(10, 20, 30, 255), &target, 0, 0, false, 0.5);
    EXPECT_EQ(target.pixel(0, 0), rgb(10, 20, 30));

    // Transparent pixels leave the destination alone.
    blendTarga(onePixel(200, 200, 200, 0), &target, 0, 0, false, 1.0);
    EXPECT_EQ(target.pixel(0, 0), rgb(10, 20, 30));

    EXPECT_EQ(blendTarga(onePixel(0, 0, 0, 255), nullptr, 0, 0, false, 1.0), 0);
}

TEST(BlendTarga, GreyscaleUsesLuma) {
    Bitmap target(2, 1);
    target.fill(0);
    TargaPixels p;
    p.width = 2;
    p.height = 1;
    p.pixels = {100, 150, 200, 255, 90, 90, 90, 255};
    blendTarga(p, &target, 0, 0, true, 1.0);
    // 0.299 x 100 + 0.587 x 150 + 0.114 x 200 = 140.75, truncated.
    EXPECT_EQ(target.pixel(0, 0), rgb(140, 140, 140));
    EXPECT_EQ(target.pixel(1, 0), rgb(90, 90, 90));  // grey stays exactly grey
}

TEST(BlendTarga, PlacesBottomUpRowsAndClipsAtTheEdges) {
    // 2 x 2 picture: bottom row red, top row green, all opaque.
    TargaPixels p;
    p.width = p.height = 2;
    p.pixels = {255, 0, 0, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    Bitmap target(4, 3);
    target.fill(0);
    blendTarga(p, &target, 1, 1, false, 1.0);
    EXPECT_EQ(memoryPixel(target, 1, 1), rgb(255, 0, 0));
    EXPECT_EQ(memoryPixel(target, 2, 2), rgb(0, 255, 0));
    EXPECT_EQ(memoryPixel(target, 1, 0), 0u);
    EXPECT_EQ(memoryPixel(target, 3, 1), 0u);

    // Hanging over every edge: only the part inside is drawn.
    target.fill(0);
    blendTarga(p, &target, -1, -1, false, 1.0);
    EXPECT_EQ(memoryPixel(target, 0, 0), rgb(0, 255, 0));
    EXPECT_EQ(memoryPixel(target, 1, 0), 0u);
    target.fill(0);
    blendTarga(p, &target, 3, 2, false, 1.0);
    EXPECT_EQ(memoryPixel(target, 3, 2), rgb(255, 0, 0));
    EXPECT_EQ(blendTarga(p, &target, 50, -50, false, 1.0), 1);
}

TEST(DrawTarga, BlendsOntoAContextAtTopLeftCoordinates) {
    platform::DeviceContext dc;
    auto bitmap = std::make_shared<Bitmap>(6, 5);
    bitmap->fill(0xFFFFFF);
    dc.selectBitmap(bitmap);
    TargaPixels p;
    p.width = 2;
    p.height = 2;
    // Bottom row: opaque blue, transparent; top row: half black, opaque red.
    p.pixels = {0, 0, 255, 255, 9, 9, 9, 0, 0, 0, 0, 128, 255, 0, 0, 255};
    drawTarga(dc, p, 3, 1);
    EXPECT_EQ(bitmap->pixel(3, 2), rgb(0, 0, 255));
    EXPECT_EQ(bitmap->pixel(4, 2), 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixel(3, 1), rgb(126, 126, 126));
    EXPECT_EQ(bitmap->pixel(4, 1), rgb(255, 0, 0));
    EXPECT_EQ(bitmap->pixel(2, 1), 0xFFFFFFu);

    // Scaled: a flat opaque picture fills exactly the rectangle asked for.
    TargaPixels flat;
    flat.width = flat.height = 3;
    for (int i = 0; i < 9; ++i) flat.pixels.insert(flat.pixels.end(), {0, 128, 0, 255});
    bitmap->fill(0xFFFFFF);
    drawTargaScaled(dc, flat, 1, 1, 4, 2);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(bitmap->pixel(x, y), inside ? rgb(0, 128, 0) : 0xFFFFFFu) << x << "," << y;
        }
    }
}

TEST(BlendDib, WhiteIsTransparentBlackIsCopiedOthersMix) {
    Bitmap source(3, 1), background(3, 1), destination(3, 1);
    source.setPixel(0, 0, 0xFFFFFF);
    source.setPixel(1, 0, 0x000000);
    source.setPixel(2, 0, rgb(200, 100, 0));
    background.fill(rgb(0, 100, 200));
    destination.fill(rgb(1, 2, 3));
    ASSERT_EQ(blendDib(source, background, destination, 64), 1);
    EXPECT_EQ(destination.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(destination.pixel(1, 0), 0u);
    // (background x 191 + source x 64) >> 8 per channel.
    EXPECT_EQ(destination.pixel(2, 0), rgb(50, 99, 149));

    Bitmap wrongSize(2, 1);
    EXPECT_EQ(blendDib(source, wrongSize, destination, 64), 0);
    EXPECT_EQ(blendDib(source, background, wrongSize, 64), 0);
    EXPECT_EQ(blendDib(source, background, destination, 256), 0);
    EXPECT_EQ(blendDib(source, background, destination, -1), 0);
}

TEST(TintDib, TintsARectangleWithRoundedCorners) {
    Bitmap dib(20, 12);
    dib.fill(0);
    ASSERT_EQ(tintDib(&dib, rgb(255, 255, 255), 2, 1, 14, 10, 255, false), 1);
    EXPECT_EQ(dib.pixel(2, 1), rgb(254, 254, 254));  // (255 x 255) >> 8
    EXPECT_EQ(dib.pixel(15, 10), rgb(254, 254, 254));
    EXPECT_EQ(dib.pixel(1, 1), 0u);
    EXPECT_EQ(dib.pixel(16, 10), 0u);
    EXPECT_EQ(dib.pixel(2, 11), 0u);

    dib.fill(0);
    tintDib(&dib, rgb(255, 255, 255), 2, 1, 14, 10, 255, true);
    // The outermost corner pixel stays, the centre and edge middles get the full tint, and the
    // four corners are alike.
    const int corners[4][2] = {{2, 1}, {15, 1}, {2, 10}, {15, 10}};
    for (const auto& c : corners) EXPECT_EQ(dib.pixel(c[0], c[1]), 0u);
    EXPECT_EQ(dib.pixel(9, 5), rgb(254, 254, 254));
    EXPECT_EQ(dib.pixel(2, 6), rgb(254, 254, 254));
    EXPECT_EQ(dib.pixel(9, 1), rgb(254, 254, 254));
    const platform::Colour inner = dib.pixel(3, 2);
    EXPECT_GT(platform::redOf(inner), 0);
    EXPECT_LT(platform::redOf(inner), 254);
    EXPECT_EQ(dib.pixel(14, 2), inner);
    EXPECT_EQ(dib.pixel(3, 9), inner);
    EXPECT_EQ(dib.pixel(14, 9), inner);

    EXPECT_EQ(tintDib(nullptr, 0, 0, 0, 1, 1, 10, false), 0);
    EXPECT_EQ(tintDib(&dib, 0, 0, 0, 1, 1, 256, false), 0);
    EXPECT_EQ(tintDib(&dib, 0, -5, -5, 100, 100, 128, true), 1);  // clipped, no overrun
}

}  // namespace
}  // namespace gfx
