// Copies between contexts: blit, stretch blit, raster operations, clipping, overlap.

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/api/draw.h"

namespace platform {
namespace {

// A bitmap whose every pixel names its own position.
std::shared_ptr<Bitmap> numbered(int w, int h) {
    auto b = std::make_shared<Bitmap>(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b->setPixel(x, y, rgb(x, y, 7));
    }
    return b;
}

TEST(DrawBlit, CopiesTheRequestedAreaAndClipsBothSides) {
    DeviceContext src;
    src.selectBitmap(numbered(50, 40));
    DeviceContext dst;
    auto out = std::make_shared<Bitmap>(20, 20);
    dst.selectBitmap(out);

    dst.blit({2, 3, 12, 8}, src, {30, 20});
    EXPECT_EQ(out->pixel(2, 3), rgb(30, 20, 7));
    EXPECT_EQ(out->pixel(11, 7), rgb(39, 24, 7));
    EXPECT_EQ(out->pixel(12, 7), 0u);
    EXPECT_EQ(out->pixel(11, 8), 0u);
    EXPECT_EQ(out->pixel(1, 3), 0u);

    // Destination partly outside: only the visible pixels, still from the right place.
    out->fill(0);
    dst.blit({-5, -5, 5, 5}, src, {10, 10});
    EXPECT_EQ(out->pixel(0, 0), rgb(15, 15, 7));
    EXPECT_EQ(out->pixel(4, 4), rgb(19, 19, 7));
    EXPECT_EQ(out->pixel(5, 5), 0u);

    // Source partly outside its bitmap: those destination pixels stay as they were.
    out->fill(rgb(1, 1, 1));
    dst.blit({0, 0, 10, 10}, src, {45, -3});
    EXPECT_EQ(out->pixel(0, 2), rgb(1, 1, 1));
    EXPECT_EQ(out->pixel(0, 3), rgb(45, 0, 7));
    EXPECT_EQ(out->pixel(4, 9), rgb(49, 6, 7));
    EXPECT_EQ(out->pixel(5, 9), rgb(1, 1, 1));

    dst.setClip({0, 0, 1, 1});
    out->fill(0);
    dst.blit({0, 0, 20, 20}, src, {0, 0});
    EXPECT_EQ(out->pixel(0, 0), rgb(0, 0, 7));
    EXPECT_EQ(out->pixel(1, 0), 0u);
    dst.clearClip();
    dst.blit({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, src, {INT_MAX, INT_MIN});
    dst.blit({0, 0, 20, 20}, src, {INT_MIN, INT_MAX});
}

TEST(DrawBlit, RasterOperationsCombineBytes) {
    DeviceContext src;
    auto s = std::make_shared<Bitmap>(2, 1);
    s->setPixel(0, 0, rgb(0xF0, 0x0F, 0xFF));
    s->setPixel(1, 0, rgb(0x33, 0x00, 0x81));
    src.selectBitmap(s);
    DeviceContext dst;
    auto d = std::make_shared<Bitmap>(2, 1);
    dst.selectBitmap(d);
    auto reset = [&] {
        d->setPixel(0, 0, rgb(0x3C, 0xFF, 0x00));
        d->setPixel(1, 0, rgb(0x0F, 0x10, 0x80));
    };
    reset();
    dst.blit({0, 0, 2, 1}, src, {0, 0}, RasterOp::SrcAnd);
    EXPECT_EQ(d->pixel(0, 0), rgb(0x30, 0x0F, 0x00));
    EXPECT_EQ(d->pixel(1, 0), rgb(0x03, 0x00, 0x80));
    reset();
    dst.blit({0, 0, 2, 1}, src, {0, 0}, RasterOp::SrcPaint);
    EXPECT_EQ(d->pixel(0, 0), rgb(0xFC, 0xFF, 0xFF));
    reset();
    dst.blit({0, 0, 2, 1}, src, {0, 0}, RasterOp::SrcInvert);
    EXPECT_EQ(d->pixel(0, 0), rgb(0xCC, 0xF0, 0xFF));
    EXPECT_EQ(d->pixel(1, 0), rgb(0x3C, 0x10, 0x01));
    reset();
    dst.selectBrush(Brush::solid(rgb(9, 8, 7)));
    dst.blit({1, 0, 2, 1}, src, {0, 0}, RasterOp::PatCopy);
    EXPECT_EQ(d->pixel(0, 0), rgb(0x3C, 0xFF, 0x00));
    EXPECT_EQ(d->pixel(1, 0), rgb(9, 8, 7));
}

TEST(DrawBlit, OverlappingCopyWithinOneBitmapIsLikeACopyFromASnapshot) {
    DeviceContext dc;
    auto b = numbered(30, 30);
    dc.selectBitmap(b);
    dc.blit({5, 5, 25, 25}, dc, {2, 3});  // shift right/down by (3, 2): overlaps itself
    EXPECT_EQ(b->pixel(5, 5), rgb(2, 3, 7));
    EXPECT_EQ(b->pixel(24, 24), rgb(21, 22, 7));
    EXPECT_EQ(b->pixel(10, 10), rgb(7, 8, 7));
    dc.blit({0, 0, 20, 20}, dc, {5, 5});  // and back up/left
    EXPECT_EQ(b->pixel(0, 0), rgb(2, 3, 7));
    EXPECT_EQ(b->pixel(19, 19), rgb(21, 22, 7));
}

TEST(DrawBlit, WindowContextsReadAndWriteTheirPartOfTheScreen) {
    auto screen = numbered(40, 40);
    DeviceContext win(screen, {10, 20}, {0, 0, 15, 10});
    DeviceContext mem;
    auto copy = std::make_shared<Bitmap>(20, 20);
    mem.selectBitmap(copy);
    mem.blit({0, 0, 20, 20}, win, {0, 0});
    EXPECT_EQ(copy->pixel(0, 0), rgb(10, 20, 7));
    EXPECT_EQ(copy->pixel(14, 9), rgb(24, 29, 7));
    EXPECT_EQ(copy->pixel(15, 9), 0u);  // beyond the window's area: not read
    EXPECT_EQ(copy->pixel(14, 10), 0u);

    win.drawBitmap({-2, -2, 5, 5}, *numbered(8, 8), {0, 0});
    EXPECT_EQ(screen->pixel(10, 20), rgb(2, 2, 7));
    EXPECT_EQ(screen->pixel(9, 20), rgb(9, 20, 7));  // outside the window, untouched
    EXPECT_EQ(screen->pixel(14, 24), rgb(6, 6, 7));
    EXPECT_EQ(screen->pixel(15, 24), rgb(15, 24, 7));
}

TEST(DrawBlit, StretchSamplesNearestPixelCentres) {
    DeviceContext src;
    src.selectBitmap(numbered(4, 4));
    DeviceContext dst;
    auto out = std::make_shared<Bitmap>(16, 16);
    dst.selectBitmap(out);
    dst.stretchBlit({0, 0, 8, 8}, src, {0, 0, 4, 4});  // 2x
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) EXPECT_EQ(out->pixel(x, y), rgb(x / 2, y / 2, 7));
    }
    EXPECT_EQ(out->pixel(8, 0), 0u);

    DeviceContext big;
    big.selectBitmap(numbered(16, 16));
    out->fill(0);
    dst.stretchBlit({0, 0, 4, 4}, big, {0, 0, 16, 16});  // quarter size: centre of 4x4 cells
    EXPECT_EQ(out->pixel(0, 0), rgb(2, 2, 7));
    EXPECT_EQ(out->pixel(3, 1), rgb(14, 6, 7));
    EXPECT_EQ(out->pixel(4, 0), 0u);

    // Stretch clipped by the destination keeps the mapping of the whole rectangle.
    out->fill(0);
    dst.setClip({4, 4, 16, 16});
    dst.stretchBlit({0, 0, 12, 12}, src, {0, 0, 4, 4});  // 3x
    EXPECT_EQ(out->pixel(3, 3), 0u);
    EXPECT_EQ(out->pixel(4, 4), rgb(1, 1, 7));
    EXPECT_EQ(out->pixel(11, 11), rgb(3, 3, 7));
    EXPECT_EQ(out->pixel(12, 12), 0u);
    dst.clearClip();
    dst.stretchBlit({0, 0, 16, 16}, src, {2, 2, 6, 6});  // half the source is missing
    EXPECT_EQ(out->pixel(0, 0), rgb(2, 2, 7));
    EXPECT_EQ(out->pixel(7, 7), rgb(3, 3, 7));
    EXPECT_EQ(out->pixel(8, 8), rgb(2, 2, 7));  // source column 4 is outside: left as it was
    EXPECT_EQ(out->pixel(15, 15), 0u);
    dst.stretchBlit({0, 0, 5, 5}, dst, {0, 0, 16, 16});  // from itself: reads the old pixels
    EXPECT_EQ(out->pixel(0, 0), rgb(2, 2, 7));
    EXPECT_EQ(out->pixel(1, 1), rgb(3, 3, 7));
    dst.stretchBlit({0, 0, 16, 16}, src, {0, 0, 0, 4});  // empty source: nothing
    EXPECT_EQ(out->pixel(1, 1), rgb(3, 3, 7));
    dst.stretchBlit({INT_MIN, 0, INT_MAX, 5}, src, {0, 0, 4, 4});
}

}  // namespace
}  // namespace platform
