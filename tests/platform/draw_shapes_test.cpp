// Pixel-exact checks of the bitmap layout, fills, clipping, lines and shapes.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/api/draw.h"

namespace platform {
namespace {

constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kGreen = rgb(0, 255, 0);
constexpr Colour kBlue = rgb(0, 0, 255);
constexpr Colour kWhite = rgb(255, 255, 255);

std::shared_ptr<Bitmap> canvas(DeviceContext& dc, int w, int h, Colour fill = 0) {
    auto b = std::make_shared<Bitmap>(w, h);
    b->fill(fill);
    dc.selectBitmap(b);
    return b;
}

// Pixels of one colour in a bitmap, and their bounding box.
struct Coverage {
    int count = 0;
    Rect box;
};
Coverage coverageOf(const Bitmap& b, Colour c) {
    Coverage out;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            if (b.pixel(x, y) != c)
                continue;
            ++out.count;
            out.box = out.box.unite({x, y, x + 1, y + 1});
        }
    }
    return out;
}

TEST(DrawBitmap, MemoryLayoutIsBottomUpBgrWithPaddedRows) {
    Bitmap b(3, 2);
    EXPECT_EQ(b.stride(), 12);  // 9 bytes raised to a multiple of 4
    EXPECT_EQ(b.byteSize(), 24u);
    b.setPixel(0, 0, rgb(1, 2, 3));  // top-left: lives in the last row in memory
    b.setPixel(2, 1, rgb(4, 5, 6));  // bottom-right: first row in memory
    const std::uint8_t* bits = b.bits();
    EXPECT_EQ(bits[12 + 0], 3);
    EXPECT_EQ(bits[12 + 1], 2);
    EXPECT_EQ(bits[12 + 2], 1);
    EXPECT_EQ(bits[6], 6);
    EXPECT_EQ(bits[7], 5);
    EXPECT_EQ(bits[8], 4);
    EXPECT_EQ(b.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(b.pixel(-1, 0), 0u);
    EXPECT_EQ(b.pixel(3, 0), 0u);
    b.setPixel(5, 5, kWhite);  // ignored, no crash
    Bitmap tiny(0, -4);
    EXPECT_EQ(tiny.width(), 1);
    EXPECT_EQ(tiny.height(), 1);
    EXPECT_EQ(tiny.pixel(0, 0), 0u);
}

TEST(DrawFill, SolidFillsExactRectangleAndClipsToBitmap) {
    DeviceContext dc;
    auto b = canvas(dc, 20, 10);
    dc.fillRect({2, 3, 7, 5}, kRed);
    const Coverage red = coverageOf(*b, kRed);
    EXPECT_EQ(red.count, 10);
    EXPECT_EQ(red.box, (Rect{2, 3, 7, 5}));

    b->fill(0);
    dc.fillRect({-100, -100, 3, 2}, kGreen);
    EXPECT_EQ(coverageOf(*b, kGreen).box, (Rect{0, 0, 3, 2}));
    b->fill(0);
    dc.fillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kBlue);
    EXPECT_EQ(coverageOf(*b, kBlue).count, 200);
    dc.fillRect({5, 5, 5, 9}, kRed);  // empty
    dc.fillRect({8, 8, 2, 2}, kRed);  // inverted, empty
    EXPECT_EQ(coverageOf(*b, kRed).count, 0);
    // Row padding bytes stay untouched (width 20 * 3 = 60 is already aligned; use 5 wide).
    DeviceContext dc2;
    auto odd = canvas(dc2, 5, 3);
    dc2.fillRect({0, 0, 5, 3}, kWhite);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(odd->bits()[row * odd->stride() + 15], 0);
}

TEST(DrawFill, UserClipAndWindowContextLimitEveryWrite) {
    DeviceContext dc;
    auto b = canvas(dc, 20, 20);
    dc.setClip({5, 5, 10, 10});
    dc.fillRect({0, 0, 20, 20}, kRed);
    EXPECT_EQ(coverageOf(*b, kRed).box, (Rect{5, 5, 10, 10}));
    EXPECT_EQ(dc.clip(), (Rect{5, 5, 10, 10}));
    dc.setPixel(2, 2, kGreen);
    EXPECT_EQ(b->pixel(2, 2), 0u);
    EXPECT_EQ(dc.pixel(2, 2), 0u);
    dc.clearClip();
    EXPECT_EQ(dc.clip(), (Rect{0, 0, 20, 20}));

    // A window at (4, 6) of the screen, 8x5 client, partly clipped by its paint area.
    auto screen = std::make_shared<Bitmap>(30, 30);
    DeviceContext win(screen, {4, 6}, {0, 0, 8, 5});
    EXPECT_EQ(win.size(), (Size{8, 5}));
    win.fillRect({-50, -50, 50, 50}, kBlue);
    EXPECT_EQ(coverageOf(*screen, kBlue).box, (Rect{4, 6, 12, 11}));
    win.setPixel(0, 0, kRed);
    EXPECT_EQ(screen->pixel(4, 6), kRed);
    EXPECT_EQ(win.pixel(0, 0), kRed);
    win.setClip({2, 2, 100, 100});  // the user clip cannot widen the window's area
    EXPECT_EQ(win.clip(), (Rect{2, 2, 8, 5}));
    EXPECT_EQ(win.selectBitmap(std::make_shared<Bitmap>(3, 3)), nullptr);
    EXPECT_EQ(win.bitmap(), screen);

    // A window hanging off the screen's edge never writes outside the screen.
    DeviceContext off(screen, {25, 27}, {0, 0, 10, 10}, {10, 10});
    off.fillRect({0, 0, 10, 10}, kGreen);
    EXPECT_EQ(coverageOf(*screen, kGreen).box, (Rect{25, 27, 30, 30}));
    EXPECT_EQ(off.size(), (Size{10, 10}));
}

TEST(DrawFill, FrameAndRectangleOutlineInside) {
    DeviceContext dc;
    auto b = canvas(dc, 12, 12);
    dc.frameRect({1, 1, 6, 5}, kRed);
    EXPECT_EQ(coverageOf(*b, kRed).count, 2 * 5 + 2 * 2);
    EXPECT_EQ(coverageOf(*b, kRed).box, (Rect{1, 1, 6, 5}));
    EXPECT_EQ(b->pixel(2, 2), 0u);
    b->fill(0);
    dc.frameRect({3, 3, 4, 4}, kGreen);  // a single pixel
    EXPECT_EQ(coverageOf(*b, kGreen).count, 1);

    b->fill(0);
    dc.selectPen(Pen{kRed, 2});
    dc.selectBrush(Brush::solid(kBlue));
    dc.rectangle({1, 1, 9, 8});
    EXPECT_EQ(coverageOf(*b, kRed).box, (Rect{1, 1, 9, 8}));
    EXPECT_EQ(coverageOf(*b, kBlue).box, (Rect{3, 3, 7, 6}));
    EXPECT_EQ(coverageOf(*b, kRed).count, 8 * 7 - 4 * 3);
    b->fill(0);
    dc.selectPen(Pen{0, 1, false});
    dc.rectangle({1, 1, 4, 4});
    EXPECT_EQ(coverageOf(*b, kBlue).box, (Rect{1, 1, 4, 4}));
}

TEST(DrawFill, PatternBrushUsesTextAndBackgroundColours) {
    DeviceContext dc;
    auto b = canvas(dc, 16, 16);
    const std::uint8_t checker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    dc.setTextColour(kRed);
    dc.setBackgroundColour(kGreen);
    dc.fillRect({0, 0, 16, 16}, Brush::fromPattern(checker));
    EXPECT_EQ(b->pixel(0, 0), kRed);  // bit set, leftmost
    EXPECT_EQ(b->pixel(1, 0), kGreen);
    EXPECT_EQ(b->pixel(0, 1), kGreen);
    EXPECT_EQ(b->pixel(9, 1), kRed);
    EXPECT_EQ(b->pixel(15, 15), kRed);
    EXPECT_EQ(coverageOf(*b, kRed).count, 128);

    // The pattern is anchored to context coordinates: a fill starting at x = 3 still has
    // the bit of column 3 there, and in a window context the window's origin is column 0.
    b->fill(0);
    const std::uint8_t column0[8] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
    dc.fillRect({3, 0, 16, 2}, Brush::fromPattern(column0));
    EXPECT_EQ(b->pixel(3, 0), kGreen);
    EXPECT_EQ(b->pixel(8, 0), kRed);
    auto screen = std::make_shared<Bitmap>(20, 4);
    DeviceContext win(screen, {5, 0}, {0, 0, 10, 4});
    win.setTextColour(kRed);
    win.setBackgroundColour(kGreen);
    win.fillRect({0, 0, 10, 1}, Brush::fromPattern(column0));
    EXPECT_EQ(screen->pixel(5, 0), kRed);
    EXPECT_EQ(screen->pixel(13, 0), kRed);
    EXPECT_EQ(screen->pixel(6, 0), kGreen);
    win.fillRect({0, 2, 10, 3}, Brush::none());
    EXPECT_EQ(screen->pixel(5, 2), 0u);
}

TEST(DrawGradient, EndColumnsAreExactAndClippingKeepsTheRamp) {
    DeviceContext dc;
    auto b = canvas(dc, 40, 4);
    dc.gradientFillHorizontal({0, 0, 11, 2}, rgb(0, 100, 200), rgb(100, 0, 250));
    EXPECT_EQ(b->pixel(0, 0), rgb(0, 100, 200));
    EXPECT_EQ(b->pixel(10, 1), rgb(100, 0, 250));
    EXPECT_EQ(b->pixel(5, 0), rgb(50, 50, 225));
    EXPECT_EQ(b->pixel(11, 0), 0u);
    EXPECT_EQ(b->pixel(0, 2), 0u);
    // Only the right half visible: the visible columns keep their place on the ramp.
    dc.setClip({16, 0, 40, 4});
    dc.gradientFillHorizontal({11, 2, 22, 4}, rgb(0, 100, 200), rgb(100, 0, 250));
    EXPECT_EQ(b->pixel(15, 2), 0u);
    EXPECT_EQ(b->pixel(16, 2), rgb(50, 50, 225));
    EXPECT_EQ(b->pixel(21, 3), rgb(100, 0, 250));
    dc.clearClip();
    dc.gradientFillHorizontal({30, 0, 31, 4}, kRed, kBlue);  // one column: the left colour
    EXPECT_EQ(b->pixel(30, 3), kRed);
    dc.gradientFillHorizontal({-5000000, 0, 5000000, 1}, kRed, kBlue);  // huge, no overflow
    EXPECT_EQ(b->pixel(20, 0), rgb(127, 0, 128));
}

TEST(DrawLine, OnePixelLinesExcludeTheEndPoint) {
    DeviceContext dc;
    auto b = canvas(dc, 20, 20);
    dc.line(2, 3, 8, 3, kRed);
    EXPECT_EQ(coverageOf(*b, kRed).count, 6);
    EXPECT_EQ(coverageOf(*b, kRed).box, (Rect{2, 3, 8, 4}));
    b->fill(0);
    dc.line(5, 10, 5, 4, kGreen);  // upwards
    EXPECT_EQ(coverageOf(*b, kGreen).box, (Rect{5, 5, 6, 11}));
    b->fill(0);
    dc.line(0, 0, 10, 10, kBlue);
    const Coverage diag = coverageOf(*b, kBlue);
    EXPECT_EQ(diag.count, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b->pixel(i, i), kBlue);
    b->fill(0);
    dc.line(0, 0, 10, 3, kRed);  // shallow: one pixel per column
    const Coverage shallow = coverageOf(*b, kRed);
    EXPECT_EQ(shallow.count, 10);
    EXPECT_EQ(shallow.box, (Rect{0, 0, 10, 4}));  // 9 * 0.3 rounds to 3
    EXPECT_EQ(b->pixel(5, 2), kRed);
    b->fill(0);
    dc.line(4, 4, 4, 4, kRed);  // zero length draws nothing
    EXPECT_EQ(coverageOf(*b, kRed).count, 0);

    // moveTo / lineTo chain: the joints are covered once, the final end point not at all.
    dc.selectPen(Pen{kGreen, 1});
    dc.moveTo(1, 1);
    dc.lineTo(6, 1);
    dc.lineTo(6, 6);
    EXPECT_EQ(coverageOf(*b, kGreen).count, 10);
    EXPECT_EQ(b->pixel(6, 1), kGreen);
    EXPECT_EQ(b->pixel(6, 6), 0u);
    dc.selectPen(Pen{kBlue, 1, false});
    dc.lineTo(1, 6);
    EXPECT_EQ(coverageOf(*b, kBlue).count, 0);

    // Far-away end points are clipped, not walked, and never write outside.
    b->fill(0);
    dc.line(-1000000000, 7, 1000000000, 7, kRed);
    EXPECT_EQ(coverageOf(*b, kRed).box, (Rect{0, 7, 20, 8}));
    dc.line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kRed);
    dc.line(INT_MAX, 0, INT_MIN, 19, kRed, 5);
}

TEST(DrawLine, WideLinesHaveTheirWidth) {
    DeviceContext dc;
    auto b = canvas(dc, 30, 20);
    dc.line(5, 10, 20, 10, kRed, 3);
    const Coverage h = coverageOf(*b, kRed);
    EXPECT_EQ(h.box.top, 9);
    EXPECT_EQ(h.box.bottom, 12);
    EXPECT_EQ(b->pixel(12, 9), kRed);
    EXPECT_EQ(b->pixel(12, 11), kRed);
    EXPECT_EQ(b->pixel(20, 10), kRed);  // wide lines include the end (round cap)
    b->fill(0);
    dc.line(10, 2, 10, 15, kGreen, 2);
    const Coverage v = coverageOf(*b, kGreen);
    EXPECT_EQ(v.box.width(), 2);
    for (int y = 2; y <= 15; ++y) {
        int row = 0;
        for (int x = 0; x < 30; ++x) row += b->pixel(x, y) == kGreen;
        EXPECT_EQ(row, 2) << "row " << y;
    }
}

// Mean of a colour channel over a window of pixels, to compare anti-aliased ink.
double inkAlongColumn(const Bitmap& b, int x) {
    double sum = 0;
    for (int y = 0; y < b.height(); ++y) sum += redOf(b.pixel(x, y)) / 255.0;
    return sum;
}

TEST(DrawLine, AntialiasedLineCarriesItsWidthInInk) {
    DeviceContext dc;
    auto b = canvas(dc, 40, 20);
    dc.antialiasedLine(5.0, 10.25, 35.0, 10.25, kRed, 2.5);
    // Away from the caps, each column carries the line's width in coverage.
    EXPECT_NEAR(inkAlongColumn(*b, 20), 2.5, 0.05);
    EXPECT_EQ(b->pixel(20, 10), kRed);  // fully inside
    // The line spans y 9.0 to 11.5: row 9 full, row 11 half covered, row 8 untouched.
    EXPECT_EQ(b->pixel(20, 9), kRed);
    EXPECT_NEAR(redOf(b->pixel(20, 11)), 128, 2);
    EXPECT_EQ(greenOf(b->pixel(20, 11)), 0);
    EXPECT_EQ(b->pixel(20, 8), 0u);

    b->fill(0);
    dc.antialiasedLine(2.0, 2.0, 30.0, 16.0, kRed, 1.0);
    double total = 0;
    for (int x = 0; x < 40; ++x) total += inkAlongColumn(*b, x);
    const double length = std::hypot(28.0, 14.0);
    EXPECT_NEAR(total, length + 0.785, 1.5);             // the line's area plus its round caps
    dc.antialiasedLine(-1e300, 0, 1e300, 5, kRed, 3.0);  // absurd input, no crash
    dc.antialiasedLine(0, 0, 10, 10, kRed, -1.0);
}

TEST(DrawShapes, EllipseIsSymmetricWithSoftEdgeAndStaysInItsBox) {
    DeviceContext dc;
    auto b = canvas(dc, 40, 40);
    dc.selectPen(Pen{kRed, 1, false});
    dc.selectBrush(Brush::solid(kWhite));
    dc.ellipse({10, 10, 30, 30});
    EXPECT_EQ(b->pixel(20, 20), kWhite);
    EXPECT_EQ(b->pixel(10, 10), 0u);  // corner of the box stays outside
    int partial = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const Colour c = b->pixel(x, y);
            EXPECT_EQ(c, b->pixel(39 - x, y)) << x << "," << y;
            EXPECT_EQ(c, b->pixel(x, 39 - y)) << x << "," << y;
            if (c != 0 && c != kWhite)
                ++partial;
            if (c != 0) {
                EXPECT_TRUE(Rect({10, 10, 30, 30}).contains({x, y}));
            }
        }
    }
    EXPECT_GT(partial, 8);  // anti-aliased edge
    double area = 0;
    for (int x = 0; x < 40; ++x) area += inkAlongColumn(*b, x);
    EXPECT_NEAR(area, 3.14159 * 100, 6.0);

    // Pen ring with brush inside.
    b->fill(0);
    dc.selectPen(Pen{kRed, 2});
    dc.selectBrush(Brush::solid(kBlue));
    dc.ellipse({0, 0, 40, 40});
    EXPECT_EQ(b->pixel(20, 20), kBlue);
    EXPECT_EQ(b->pixel(20, 0), kRed);
    EXPECT_EQ(b->pixel(0, 20), kRed);
    dc.ellipse({-100000000, -5, 100000000, 5});  // enormous box, clipped
}

TEST(DrawShapes, PolygonFillsEvenOddAndOutlinesEveryEdge) {
    DeviceContext dc;
    auto b = canvas(dc, 30, 30);
    dc.selectPen(Pen{0, 1, false});
    dc.selectBrush(Brush::solid(kGreen));
    const std::vector<Point> square = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    dc.polygon(square);
    EXPECT_EQ(coverageOf(*b, kGreen).count, 100);
    EXPECT_EQ(coverageOf(*b, kGreen).box, (Rect{2, 2, 12, 12}));

    // A five-pointed star: its centre is covered twice, so even-odd leaves it empty.
    b->fill(0);
    const std::vector<Point> star = {{15, 1}, {24, 28}, {1, 11}, {29, 11}, {6, 28}};
    dc.polygon(star);
    EXPECT_EQ(b->pixel(15, 15), 0u);
    EXPECT_EQ(b->pixel(15, 6), kGreen);

    b->fill(0);
    dc.selectPen(Pen{kRed, 1});
    dc.selectBrush(Brush::none());
    dc.polygon(square);
    const Coverage outline = coverageOf(*b, kRed);
    EXPECT_EQ(outline.box, (Rect{2, 2, 13, 13}));  // every vertex, the outline closed
    EXPECT_EQ(outline.count, 40);
    const std::vector<Point> wild = {{INT_MIN, 0}, {INT_MAX, 5}, {0, INT_MAX}};
    dc.selectBrush(Brush::solid(kBlue));
    dc.polygon(wild);
}

}  // namespace
}  // namespace platform
