// The layout painter, checked on pixels: clock hands where the time puts them, text kept in
// its rectangle, the highlight and its opacity, the tab strip's lines and captions, pictures,
// and the shipped layouts painted at both scales without an object outside the item.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/settings.h"
#include "home/home_data.h"
#include "home/layout_painter.h"
#include "platform/api/device.h"
#include "tests/home/support/home_test_support.h"

using home::LayoutModel;
using home::LayoutPainter;
using home::PaintColours;
using home::PaintState;
using home::test::countOtherPixels;
using home::test::countPixels;
using home::test::kDownloads;
using home::test::kMainPath;

namespace {

constexpr platform::Colour kWhite = 0xFFFFFF;
constexpr platform::Colour kBlack = 0x000000;

LayoutModel layoutOf(std::string_view text, double scale = 1.0) {
    return home::parseLayout({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                             scale);
}

struct Canvas {
    explicit Canvas(int width, int height)
        : bitmap(std::make_shared<platform::Bitmap>(width, height)) {
        bitmap->fill(kWhite);
        dc.selectBitmap(bitmap);
    }
    std::shared_ptr<platform::Bitmap> bitmap;
    platform::DeviceContext dc;
};

PaintColours testColours() {
    PaintColours colours;
    colours.text = 0x000000;
    colours.highlightedText = 0xFFFFFF;
    colours.highlight = 0x0000FF;  // red
    colours.line = 0x00FF00;       // green
    return colours;
}

class HomePainterTest : public ::testing::Test {
  protected:
    void SetUp() override { home::test::prepareDevice(); }
};

TEST(HomeClockHands, PointWhereTheTimeSays) {
    platform::Rect box{0, 0, 100, 100};
    // 3:00: the hour hand points right, the minute hand up; both start behind the centre.
    home::ClockHands three = home::clockHands(box, 3, 0);
    EXPECT_NEAR(three.hour.x2, 50 + 31.5, 0.01);
    EXPECT_NEAR(three.hour.y2, 50, 0.01);
    EXPECT_NEAR(three.hour.x1, 45, 0.01);
    EXPECT_NEAR(three.minute.x2, 50, 0.01);
    EXPECT_NEAR(three.minute.y2, 50 - 37.5, 0.01);
    EXPECT_NEAR(three.minute.y1, 55, 0.01);
    // 15:47: the hour hand has moved 47 div 12 = 3 positions past three o'clock.
    home::ClockHands later = home::clockHands(box, 15, 47);
    double angle = 6.0 * 18 * 3.14159 / 180.0;
    EXPECT_NEAR(later.hour.x2, 50 + std::sin(angle) * 31.5, 0.01);
    EXPECT_NEAR(later.hour.y2, 50 - std::cos(angle) * 31.5, 0.01);
    // The radius follows the width.
    home::ClockHands wide = home::clockHands({10, 10, 50, 90}, 0, 15);
    EXPECT_NEAR(wide.minute.x2, 30 + 15, 0.01);
}

TEST(HomeHighlight, OpacityFromTheLayoutsPercentage) {
    EXPECT_FALSE(home::highlightAlpha(-1));
    EXPECT_EQ(home::highlightAlpha(0), 0);
    EXPECT_EQ(home::highlightAlpha(100), 179);  // 70 % of 255
    EXPECT_EQ(home::highlightAlpha(143), 255);
    EXPECT_EQ(home::highlightAlpha(500), 255);
}

TEST_F(HomePainterTest, ClockHandsAreDrawnBlackAndAntiAliased) {
    core::writeSetting(L"OptClock", L"none.tga");  // no face: only the hands
    LayoutModel model = layoutOf(
        "<xml><homescreen><layout><obj type=\"clock\" x=\"0\" y=\"0\" w=\"60\" h=\"60\" "
        "city=\"1\"/></layout></homescreen></xml>");
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    data.loadFavourites();
    // 15:00 in London (UTC in winter): hour hand to the right, minute hand up.
    platform::FileTime at = home::test::utcAt(2027, 1, 10, 15, 0);
    home::LayoutContent content = data.gather(model.layouts[0], at, false);
    Canvas canvas(60, 60);
    LayoutPainter painter{std::wstring(kMainPath)};
    PaintState state;
    state.clockFace = L"none.tga";
    painter.paint(canvas.dc, {0, 0, 60, 60}, model, 0, content, state, testColours(), at);
    const platform::Bitmap& b = *canvas.bitmap;
    // Right of the centre and above it: hands. Left of the tail and below it: nothing.
    EXPECT_GT(countOtherPixels(b, {36, 28, 48, 32}, kWhite), 5);
    EXPECT_GT(countOtherPixels(b, {28, 12, 32, 24}, kWhite), 5);
    EXPECT_EQ(countOtherPixels(b, {0, 20, 20, 60}, kWhite), 0);
    EXPECT_EQ(countOtherPixels(b, {0, 40, 60, 60}, kWhite), 0);
    EXPECT_GT(countPixels(b, {36, 28, 48, 32}, kBlack), 0);
    // Anti-aliased: the edges hold shades between black and white.
    int shades = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            platform::Colour c = b.pixel(x, y);
            shades += c != kWhite && c != kBlack;
        }
    }
    EXPECT_GT(shades, 10);

    // Four hours later the hour hand points down to seven o'clock.
    Canvas later(60, 60);
    platform::FileTime seven = home::test::utcAt(2027, 1, 10, 19, 0);
    painter.paint(later.dc, {0, 0, 60, 60}, model, 0, content, state, testColours(), seven);
    EXPECT_GT(countOtherPixels(*later.bitmap, {18, 36, 30, 50}, kWhite), 5);
    EXPECT_EQ(countOtherPixels(*later.bitmap, {36, 28, 60, 32}, kWhite), 0);
}

TEST_F(HomePainterTest, TextStaysInItsRectangleWithItsJustification) {
    LayoutModel model = layoutOf(
        "<xml><homescreen><obj type=\"fnt\" name=\"Tahoma\" size=\"10\" id=\"1\"/><layout>"
        "<obj type=\"static\" x=\"10\" y=\"10\" w=\"40\" h=\"14\" fnt=\"1\" text=\"A long text "
        "that does not fit\"/>"
        "<obj type=\"static\" x=\"10\" y=\"30\" w=\"100\" h=\"14\" fnt=\"1\" jst=\"right\" "
        "text=\"Hi\"/>"
        "<obj type=\"static\" x=\"10\" y=\"50\" w=\"100\" h=\"40\" fnt=\"1\" text=\"One\nTwo\"/>"
        "</layout></homescreen></xml>");
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    home::LayoutContent content = data.gather(model.layouts[0], 0, false);
    Canvas canvas(200, 100);
    LayoutPainter painter{std::wstring(kMainPath)};
    // An item moved by its origin: every object moves with it.
    platform::Rect item{20, 0, 200, 100};
    painter.paint(canvas.dc, item, model, 0, content, PaintState{}, testColours(), 0);
    const platform::Bitmap& b = *canvas.bitmap;
    EXPECT_GT(countOtherPixels(b, {30, 10, 70, 24}, kWhite), 20);
    // Clipped on the right of the first rectangle, nothing between the rows.
    EXPECT_EQ(countOtherPixels(b, {70, 10, 200, 24}, kWhite), 0);
    EXPECT_EQ(countOtherPixels(b, {0, 24, 200, 30}, kWhite), 0);
    // Right-justified: the text sits at the right end of its rectangle.
    EXPECT_EQ(countOtherPixels(b, {30, 30, 100, 44}, kWhite), 0);
    EXPECT_GT(countOtherPixels(b, {110, 30, 130, 44}, kWhite), 5);
    // A line feed breaks the line: two rows of text.
    EXPECT_GT(countOtherPixels(b, {30, 50, 130, 62}, kWhite), 5);
    EXPECT_GT(countOtherPixels(b, {30, 63, 130, 76}, kWhite), 5);
}

TEST_F(HomePainterTest, HighlightAndTabStrip) {
    LayoutModel model = layoutOf(
        "<xml><homescreen hilite=\"100\" tabheight=\"16\">"
        "<obj type=\"tab\" tabname=\"One\" layout=\"a\" id=\"1\"/>"
        "<obj type=\"tab\" tabname=\"Two\" layout=\"b\" id=\"2\"/>"
        "<layout name=\"a\" height=\"40\"><obj type=\"static\" x=\"30\" y=\"4\" w=\"100\" h=\"14\" "
        "text=\"Panel\"/></layout><layout name=\"b\" height=\"40\"/></homescreen></xml>");
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    std::size_t index = *model.layoutForTab(1, 240);
    home::LayoutContent content = data.gather(model.layouts[index], 0, false);
    platform::Rect item{0, 0, 240, 56};
    LayoutPainter painter{std::wstring(kMainPath)};
    PaintColours colours = testColours();

    Canvas idle(240, 56);
    painter.paint(idle.dc, item, model, index, content, PaintState{}, colours, 0);
    // Without the focus: no highlight, the text in the text colour.
    EXPECT_EQ(idle.bitmap->pixel(200, 50), kWhite);
    EXPECT_GT(countPixels(*idle.bitmap, {30, 20, 130, 34}, kBlack), 0);
    EXPECT_EQ(countOtherPixels(*idle.bitmap, {200, 40, 240, 56}, kWhite), 0);
    // Tab lines: left edges of both tabs (x 20 and 130), the first tab's right edge, and the
    // bottom line under the tab that is not current.
    EXPECT_EQ(home::tabRect(item, model, 1), (platform::Rect{20, 0, 130, 16}));
    EXPECT_EQ(home::tabRect(item, model, 2), (platform::Rect{130, 0, 240, 16}));
    EXPECT_EQ(countPixels(*idle.bitmap, {20, 0, 21, 16}, colours.line), 16);
    EXPECT_EQ(countPixels(*idle.bitmap, {130, 0, 131, 16}, colours.line), 16);
    EXPECT_EQ(countPixels(*idle.bitmap, {129, 0, 130, 16}, colours.line), 16);
    EXPECT_EQ(countPixels(*idle.bitmap, {239, 0, 240, 15}, colours.line), 0);
    EXPECT_EQ(countPixels(*idle.bitmap, {22, 15, 128, 16}, colours.line), 0);
    EXPECT_EQ(countPixels(*idle.bitmap, {132, 15, 238, 16}, colours.line), 238 - 132);
    // Captions centred in their tabs.
    EXPECT_GT(countOtherPixels(*idle.bitmap, {60, 2, 90, 14}, kWhite), 0);
    EXPECT_GT(countOtherPixels(*idle.bitmap, {170, 2, 200, 14}, kWhite), 0);

    Canvas lit(240, 56);
    PaintState focused;
    focused.focused = true;
    painter.paint(lit.dc, item, model, index, content, focused, colours, 0);
    // The panel below the strip and the current tab are tinted (70 % red), the other tab not.
    platform::Colour tint = lit.bitmap->pixel(200, 50);
    EXPECT_NE(tint, kWhite);
    EXPECT_GT(platform::redOf(tint), 200);
    EXPECT_LT(platform::blueOf(tint), 120);
    EXPECT_EQ(lit.bitmap->pixel(100, 3), tint);
    EXPECT_EQ(lit.bitmap->pixel(200, 3), kWhite);
    EXPECT_EQ(lit.bitmap->pixel(10, 50), tint);
    // The text turns to the highlighted text colour.
    EXPECT_GT(countPixels(*lit.bitmap, {30, 20, 130, 34}, colours.highlightedText), 0);
    EXPECT_EQ(countPixels(*lit.bitmap, {30, 20, 130, 34}, kBlack), 0);

    // A negative percentage draws no highlight; a large one a solid one.
    model.hilite = -5;
    Canvas none(240, 56);
    painter.paint(none.dc, item, model, index, content, focused, colours, 0);
    EXPECT_EQ(none.bitmap->pixel(200, 50), kWhite);
    model.hilite = 200;
    Canvas solid(240, 56);
    painter.paint(solid.dc, item, model, index, content, focused, colours, 0);
    EXPECT_EQ(solid.bitmap->pixel(200, 50), colours.highlight);
}

TEST_F(HomePainterTest, PicturesAndMissingContent) {
    LayoutModel model = layoutOf(
        "<xml><homescreen><layout>"
        "<obj type=\"nextalarmicn\" x=\"40\" y=\"4\" w=\"24\" h=\"24\"/>"
        "<obj type=\"weather\" x=\"80\" y=\"4\" w=\"32\" h=\"32\" city=\"1\" day=\"1\"/>"
        "<obj type=\"nextalarmicn\" x=\"140\" y=\"4\" w=\"24\" h=\"24\" alarmoff=\"nothing\"/>"
        "</layout></homescreen></xml>");
    home::HomeData data({std::wstring(kMainPath), std::wstring(kDownloads)});
    data.loadFavourites();
    home::LayoutContent content = data.gather(model.layouts[0], 0, false);
    Canvas canvas(200, 40);
    LayoutPainter painter{std::wstring(kMainPath)};
    painter.paint(canvas.dc, {0, 0, 200, 40}, model, 0, content, PaintState{}, testColours(), 0);
    // The home icon, the alarm-off picture, the no-report weather icon; a missing picture
    // draws nothing.
    EXPECT_GT(countOtherPixels(*canvas.bitmap, {1, 1, 17, 17}, kWhite), 20);
    EXPECT_GT(countOtherPixels(*canvas.bitmap, {40, 4, 64, 28}, kWhite), 20);
    EXPECT_GT(countOtherPixels(*canvas.bitmap, {80, 4, 112, 36}, kWhite), 20);
    EXPECT_EQ(countOtherPixels(*canvas.bitmap, {140, 0, 200, 40}, kWhite), 0);
    // Fewer contents than objects, or a layout index past the list, paint what they can.
    Canvas partial(200, 40);
    painter.paint(partial.dc, {0, 0, 200, 40}, model, 7, {}, PaintState{}, testColours(), 0);
    EXPECT_EQ(countOtherPixels(*partial.bitmap, {20, 0, 200, 40}, kWhite), 0);
}

}  // namespace
