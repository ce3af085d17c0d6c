#include "alarmprogram/alarm_layout.h"

#include "platform/api/shell.h"

namespace alarmprogram {

namespace {

struct Box {
    int x, y, width, height;
};

struct ShapeTable {
    Box panel, dismiss, snooze, bell, message, digits;
};

// x, y, width, height in units of a 240-pixel-wide screen.
constexpr ShapeTable kLandscape{{30, 5, 260, 178}, {52, 147, 95, 30}, {165, 147, 95, 30},
                                {56, 9, 83, 83},   {50, 90, 220, 70}, {144, 26, 215, 40}};
constexpr ShapeTable kSquare{{16, 5, 209, 178}, {22, 147, 95, 30}, {125, 147, 95, 30},
                             {26, 9, 83, 83},   {20, 90, 210, 70}, {114, 26, 215, 40}};
constexpr ShapeTable kPortrait{{10, 10, 220, 240}, {17, 200, 95, 38},  {125, 200, 95, 38},
                               {76, 66, 83, 83},   {17, 150, 220, 60}, {75, 20, 215, 40}};

platform::Rect scaled(const Box& box, double scale) {
    const int left = static_cast<int>(box.x * scale);
    const int top = static_cast<int>(box.y * scale);
    return platform::rectOfSize(left, top, static_cast<int>(box.width * scale),
                                static_cast<int>(box.height * scale));
}

}  // namespace

double layoutScale(const ScreenFacts& facts) {
    return facts.workAreaRight > 320 ? 2.0 : 1.0;
}

LayoutShape layoutShape(const ScreenFacts& facts) {
    const int portraitWidth = layoutScale(facts) > 1.0 ? 480 : 240;
    if (facts.visibleDesktopWidth > portraitWidth)
        return LayoutShape::Landscape;
    if (facts.screen.width == facts.screen.height)
        return LayoutShape::Square;
    return LayoutShape::Portrait;
}

AlarmLayout alarmLayout(LayoutShape shape, double scale) {
    const ShapeTable& t = shape == LayoutShape::Landscape ? kLandscape
                          : shape == LayoutShape::Square  ? kSquare
                                                          : kPortrait;
    return {scaled(t.panel, scale), scaled(t.dismiss, scale), scaled(t.snooze, scale),
            scaled(t.bell, scale),  scaled(t.message, scale), scaled(t.digits, scale)};
}

AlarmLayout alarmLayout(const ScreenFacts& facts) {
    return alarmLayout(layoutShape(facts), layoutScale(facts));
}

ScreenFacts currentScreenFacts() {
    ScreenFacts facts;
    facts.workAreaRight = platform::workArea().right;
    facts.visibleDesktopWidth = platform::sipInfo().visibleDesktop.width();
    facts.screen = platform::screenSize();
    return facts;
}

}  // namespace alarmprogram
