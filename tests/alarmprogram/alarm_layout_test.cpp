// The alarm window's rectangles: the shape each screen gets, and where the panel, buttons,
// bell, message and digits land at both scales.

#include <gtest/gtest.h>

#include "alarmprogram/alarm_layout.h"
#include "alarmprogram/alarm_scene.h"

using namespace alarmprogram;
using platform::Rect;
using platform::rectOfSize;

namespace {

// The screens a device can have, as their work area and visible desktop report them (the
// task bar takes 26 pixels at scale 1 and 52 at scale 2; the visible desktop is as wide as
// the screen).
ScreenFacts facts(int width, int height) {
    return {width, width, {width, height}};
}

TEST(AlarmLayoutShape, FollowsTheScreen) {
    EXPECT_EQ(layoutShape(facts(240, 320)), LayoutShape::Portrait);
    EXPECT_EQ(layoutShape(facts(480, 640)), LayoutShape::Portrait);
    EXPECT_EQ(layoutShape(facts(320, 240)), LayoutShape::Landscape);
    EXPECT_EQ(layoutShape(facts(640, 480)), LayoutShape::Landscape);
    EXPECT_EQ(layoutShape(facts(240, 240)), LayoutShape::Square);
    EXPECT_EQ(layoutShape(facts(480, 480)), LayoutShape::Square);
}

TEST(AlarmLayoutShape, ScaleDoublesBeyond320PixelsOfWorkArea) {
    EXPECT_EQ(layoutScale(facts(240, 320)), 1.0);
    EXPECT_EQ(layoutScale(facts(320, 240)), 1.0);
    EXPECT_EQ(layoutScale({321, 321, {321, 400}}), 2.0);
    EXPECT_EQ(layoutScale(facts(480, 640)), 2.0);
    EXPECT_EQ(layoutScale(facts(640, 480)), 2.0);
}

TEST(AlarmLayoutShape, LandscapeNeedsMoreThanAPortraitWidthAtItsScale) {
    // At scale 2 a 400-pixel-wide visible desktop is still narrower than a portrait screen.
    EXPECT_EQ(layoutShape({640, 400, {640, 480}}), LayoutShape::Portrait);
    EXPECT_EQ(layoutShape({640, 481, {640, 480}}), LayoutShape::Landscape);
    EXPECT_EQ(layoutShape({320, 241, {320, 240}}), LayoutShape::Landscape);
    EXPECT_EQ(layoutShape({320, 240, {320, 240}}), LayoutShape::Portrait);
}

TEST(AlarmLayoutRects, PortraitAtBothScales) {
    const AlarmLayout one = alarmLayout(LayoutShape::Portrait, 1.0);
    EXPECT_EQ(one.panel, rectOfSize(10, 10, 220, 240));
    EXPECT_EQ(one.dismiss, rectOfSize(17, 200, 95, 38));
    EXPECT_EQ(one.snooze, rectOfSize(125, 200, 95, 38));
    EXPECT_EQ(one.bell, rectOfSize(76, 66, 83, 83));
    EXPECT_EQ(one.message, rectOfSize(17, 150, 220, 60));
    EXPECT_EQ(one.digits, rectOfSize(75, 20, 215, 40));

    const AlarmLayout two = alarmLayout(facts(480, 640));
    EXPECT_EQ(two.panel, rectOfSize(20, 20, 440, 480));
    EXPECT_EQ(two.snooze, rectOfSize(250, 400, 190, 76));
    EXPECT_EQ(two.digits, rectOfSize(150, 40, 430, 80));
}

TEST(AlarmLayoutRects, LandscapeAndSquare) {
    const AlarmLayout wide = alarmLayout(facts(320, 240));
    EXPECT_EQ(wide.panel, rectOfSize(30, 5, 260, 178));
    EXPECT_EQ(wide.dismiss, rectOfSize(52, 147, 95, 30));
    EXPECT_EQ(wide.snooze, rectOfSize(165, 147, 95, 30));
    EXPECT_EQ(wide.bell, rectOfSize(56, 9, 83, 83));
    EXPECT_EQ(wide.message, rectOfSize(50, 90, 220, 70));
    EXPECT_EQ(wide.digits, rectOfSize(144, 26, 215, 40));

    const AlarmLayout square = alarmLayout(facts(480, 480));
    EXPECT_EQ(square.panel, rectOfSize(32, 10, 418, 356));
    EXPECT_EQ(square.dismiss, rectOfSize(44, 294, 190, 60));
    EXPECT_EQ(square.snooze, rectOfSize(250, 294, 190, 60));
    EXPECT_EQ(square.bell, rectOfSize(52, 18, 166, 166));
    EXPECT_EQ(square.message, rectOfSize(40, 180, 420, 140));
    EXPECT_EQ(square.digits, rectOfSize(228, 52, 430, 80));
}

TEST(AlarmLayoutRects, ButtonsSitInsideThePanelApart) {
    for (auto shape : {LayoutShape::Portrait, LayoutShape::Landscape, LayoutShape::Square}) {
        for (double scale : {1.0, 2.0}) {
            const AlarmLayout l = alarmLayout(shape, scale);
            SCOPED_TRACE(static_cast<int>(shape) * 10 + static_cast<int>(scale));
            EXPECT_EQ(l.dismiss.intersect(l.panel), l.dismiss);
            EXPECT_EQ(l.snooze.intersect(l.panel), l.snooze);
            EXPECT_FALSE(l.dismiss.intersects(l.snooze));
            EXPECT_LT(l.dismiss.left, l.snooze.left);
        }
    }
}

TEST(AlarmLayoutRects, MessageAreaKeepsOffTheButtonsAndInsideThePanel) {
    // The portrait message rectangle reaches below the buttons' top and past the panel.
    const AlarmLayout portrait = alarmLayout(LayoutShape::Portrait, 1.0);
    const Rect area = messageArea(portrait);
    EXPECT_EQ(area, (Rect{17, 150, 230, 200}));
    for (auto shape : {LayoutShape::Portrait, LayoutShape::Landscape, LayoutShape::Square}) {
        const AlarmLayout l = alarmLayout(shape, 2.0);
        const Rect a = messageArea(l);
        EXPECT_FALSE(a.isEmpty());
        EXPECT_FALSE(a.intersects(l.dismiss));
        EXPECT_FALSE(a.intersects(l.snooze));
        EXPECT_EQ(a.intersect(l.panel), a);
    }
}

}  // namespace

namespace {

TEST(AlarmDigits, FourGlyphsAndTheColonStayInsideThePanel) {
    // The digits strip holds ten glyphs of 48 x 80 pixels.
    for (auto shape : {LayoutShape::Portrait, LayoutShape::Landscape, LayoutShape::Square}) {
        for (double scale : {1.0, 2.0}) {
            const AlarmLayout l = alarmLayout(shape, scale);
            const DigitMetrics m = digitMetrics(l.digits, l.panel, {48, 80});
            SCOPED_TRACE(static_cast<int>(shape) * 10 + static_cast<int>(scale));
            EXPECT_GT(m.height, l.digits.height() / 2);
            EXPECT_LE(m.height, l.digits.height());
            EXPECT_LE(l.digits.left + m.totalWidth(), l.panel.right);
            EXPECT_GE(m.top, l.digits.top);
            EXPECT_LE(m.top + m.height, l.digits.bottom);
        }
    }
    // Where there is room, the glyphs fill the area's height.
    const AlarmLayout portrait = alarmLayout(LayoutShape::Portrait, 1.0);
    EXPECT_EQ(digitMetrics(portrait.digits, portrait.panel, {48, 80}).height, 40);
}

}  // namespace
