// Display metrics on every screen profile, the font size rule, the graphics state's counted
// fonts, and the small drawing helpers.

#include <gtest/gtest.h>

#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/fonts.h"
#include "gfx/graphics_state.h"
#include "tests/gfx/support/gfx_test_support.h"

namespace gfx {
namespace {

struct ScreenCase {
    const char* screen;
    int dpi;
    double scale;
    int fontDivisor;
    bool square;
    bool landscape;
    int smallFontHeight;  // 8 points
};

TEST(DisplayMetrics, FollowTheScreenProfile) {
    const ScreenCase cases[] = {
        {"240x320", 96, 1.0, 1, false, false, -11},  // 8 x 96 / 72 = 10.67
        {"640x480", 96, 2.0, 2, false, true, -21},   // 8 x 96 / 36 = 21.33
        {"480x640", 192, 2.0, 1, false, false, -21}, {"320x240", 96, 1.0, 1, false, true, -11},
        {"240x240", 96, 1.0, 1, true, false, -11},   {"480x480", 192, 2.0, 1, true, false, -21},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.screen);
        test::switchScreen(c.screen, c.dpi);
        computeDisplayMetrics();
        const DisplayMetrics& m = displayMetrics();
        EXPECT_EQ(m.scaleX, c.scale);
        EXPECT_EQ(m.scaleY, c.scale);
        EXPECT_EQ(m.isVga, c.scale == 2.0);
        EXPECT_EQ(m.fontDivisor, c.fontDivisor);
        EXPECT_EQ(m.isSquare, c.square);
        EXPECT_EQ(isLandscape(), c.landscape);
        EXPECT_EQ(fontSpecFor(8, FontWeightNormal, false, false, FontQualitySystem).height,
                  c.smallFontHeight);
        EXPECT_EQ(scaleRect({3, 5, 7, 9}),
                  (platform::Rect{static_cast<int>(3 * c.scale), static_cast<int>(5 * c.scale),
                                  static_cast<int>(7 * c.scale), static_cast<int>(9 * c.scale)}));
    }
    test::switchScreen("240x320");
    computeDisplayMetrics();
}

TEST(DisplayMetrics, ScaleRectTruncatesAndMulDivRoundsHalfAwayFromZero) {
    DisplayMetrics saved = displayMetrics();
    displayMetrics().scaleX = 1.5;
    displayMetrics().scaleY = 1.25;
    EXPECT_EQ(scaleRect({1, 1, 3, 3}), (platform::Rect{1, 1, 4, 3}));
    displayMetrics() = saved;

    EXPECT_EQ(mulDivRound(8, 96, 72), 11);
    EXPECT_EQ(mulDivRound(9, 96, 72), 12);
    EXPECT_EQ(mulDivRound(1, 1, 2), 1);
    EXPECT_EQ(mulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(mulDivRound(-8, 96, 72), -11);
    EXPECT_EQ(mulDivRound(7, 1, 4), 2);
    EXPECT_EQ(mulDivRound(5, 1, 4), 1);
    EXPECT_EQ(mulDivRound(5, 7, 0), 0);
}

TEST(Fonts, DescriptionAndQuality) {
    test::useInstallFolder();
    computeDisplayMetrics();
    const platform::FontSpec spec = fontSpecFor(9, FontWeightBold, true, true, FontQualitySystem);
    EXPECT_EQ(spec.face, L"Tahoma");
    EXPECT_EQ(spec.height, -12);
    EXPECT_EQ(spec.weight, 700);
    EXPECT_TRUE(spec.italic);
    EXPECT_TRUE(spec.underline);
    EXPECT_EQ(spec.quality, 5);
    EXPECT_EQ(fontSpecFor(8, 400, false, false, FontQualityDefault).quality, 0);
    EXPECT_EQ(fontSpecFor(8, 400, false, false, FontQualityClearType).quality, 5);
}

TEST(Fonts, LiveFontsAreCountedUntilTheLastHolderLetsGo) {
    test::useInstallFolder();
    const int before = liveFontCount();
    {
        GraphicsState& state = createGraphicsState();
        EXPECT_EQ(liveFontCount(), before + 4);
        EXPECT_EQ(state.smallFont()->spec().height, -11);
        EXPECT_EQ(state.mediumBoldFont()->spec().weight, 700);
        EXPECT_EQ(state.stripeBrush().pattern[0], 0xFF);
        EXPECT_EQ(state.stripeBrush().pattern[1], 0x00);

        platform::FontRef font = createFont(7);
        EXPECT_EQ(liveFontCount(), before + 5);
        platform::DeviceContext dc;
        dc.selectFont(font);
        deleteFont(font);
        EXPECT_EQ(font, nullptr);
        EXPECT_EQ(liveFontCount(), before + 5);  // the context still holds it
        dc.selectFont(nullptr);
        EXPECT_EQ(liveFontCount(), before + 4);
        // Measuring through the state's drawing context leaves no font behind.
        EXPECT_GT(textWidth(nullptr, L"Hello"), 0);
    }
    destroyGraphicsState();
    EXPECT_EQ(graphicsState(), nullptr);
    EXPECT_EQ(liveFontCount(), before);
}

TEST(DrawingHelpers, TextIsMeasuredAndDrawnWithoutChangingTheContext) {
    test::useInstallFolder();
    GraphicsState& state = createGraphicsState();
    platform::Size size;
    const int narrow = textWidth(state.smallFont(), L"Vorn", &size);
    EXPECT_EQ(size.width, narrow);
    EXPECT_GT(size.height, 0);
    EXPECT_GT(textWidth(state.smallFont(), L"Vorn Roamer"), narrow);
    EXPECT_GT(textWidth(state.mediumBoldFont(), L"Vorn"), narrow);
    EXPECT_EQ(textWidth(nullptr, L""), 0);

    platform::DeviceContext dc;
    auto bitmap = std::make_shared<platform::Bitmap>(80, 30);
    bitmap->fill(0x00FF00);
    dc.selectBitmap(bitmap);
    const int smallHeight = textHeight(dc, state.smallFont());
    EXPECT_GT(smallHeight, 0);
    EXPECT_GE(textHeight(dc, state.mediumFont()), smallHeight);
    EXPECT_EQ(dc.font(), nullptr);
    dc.setTextColour(0);
    dc.setBackgroundColour(0xFFFFFF);
    drawTextTransparent(dc, L"W", {0, 0, 80, 30}, platform::dt::SingleLine, state.mediumFont());
    EXPECT_EQ(dc.backgroundMode(), platform::BackgroundMode::Opaque);
    EXPECT_EQ(dc.font(), nullptr);
    int inked = 0, other = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            const platform::Colour c = bitmap->pixel(x, y);
            if (c == 0xFFFFFFu)
                ++other;  // an opaque background would show white
            if (c != 0x00FF00u)
                ++inked;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(other, 0);
    destroyGraphicsState();
}

TEST(DrawingHelpers, LinesFramesFillsAndGradientBars) {
    platform::DeviceContext dc;
    auto bitmap = std::make_shared<platform::Bitmap>(40, 20);
    bitmap->fill(0xFFFFFF);
    dc.selectBitmap(bitmap);
    dc.selectPen(platform::Pen{0x0000FF, 1});

    drawLine(dc, 0, 0, 10, 0, 0x00FF00, 1);
    EXPECT_EQ(bitmap->pixel(5, 0), 0x00FF00u);
    EXPECT_EQ(dc.pen().colour, 0x0000FFu);  // the context's pen is back

    drawFrame(dc, 2, 4, 8, 9);
    for (auto [x, y] : {std::pair{2, 4}, {8, 4}, {8, 9}, {2, 9}, {5, 4}, {8, 6}, {2, 7}}) {
        EXPECT_EQ(bitmap->pixel(x, y), 0x0000FFu) << x << "," << y;
    }
    EXPECT_EQ(bitmap->pixel(5, 6), 0xFFFFFFu);

    fillRectColour(dc, 10, 10, 12, 12, 0x123456);
    EXPECT_EQ(bitmap->pixel(11, 11), 0x123456u);
    EXPECT_EQ(bitmap->pixel(12, 11), 0xFFFFFFu);

    const platform::Colour colour = platform::rgb(200, 100, 40);
    gradientBar(dc, 20, 2, 40, 6, colour);
    EXPECT_EQ(bitmap->pixel(20, 3), scaleColour(colour, 0.55));
    EXPECT_EQ(bitmap->pixel(30, 3), colour);
    const int left = platform::redOf(bitmap->pixel(22, 3));
    const int right = platform::redOf(bitmap->pixel(37, 3));
    EXPECT_LT(left, 200);
    EXPECT_GT(left, 110);
    EXPECT_LT(right, 200);
    EXPECT_EQ(bitmap->pixel(25, 6), 0xFFFFFFu);
}

TEST(Colours, LightenAndScale) {
    EXPECT_EQ(lightenColour(0x00F0E010, 24), 0x00F0F828u);
    EXPECT_EQ(lightenColour(0x00101010, 44), 0x003C3C3Cu);
    // Channels from 232 up stay; raised channels stop at 255.
    EXPECT_EQ(lightenColour(platform::rgb(231, 232, 0), 44), platform::rgb(255, 232, 44));
    EXPECT_EQ(scaleColour(platform::rgb(200, 101, 3), 0.55), platform::rgb(110, 55, 1));
    EXPECT_EQ(scaleColour(platform::rgb(200, 10, 0), 2.0), platform::rgb(255, 20, 0));
    EXPECT_EQ(kColourTable.size(), 16u);
    EXPECT_EQ(kColourTable[4].colour, 0x0000FFu);  // red is the low byte
}

}  // namespace
}  // namespace gfx
