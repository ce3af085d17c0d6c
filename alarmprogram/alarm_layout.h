#pragma once
// Where the alarm window draws: the panel, the two buttons, the bell, the message and the
// clock digits, written for a 240-pixel-wide screen and scaled for the display.

#include "platform/api/types.h"

namespace alarmprogram {

enum class LayoutShape { Portrait, Landscape, Square };

struct AlarmLayout {
    platform::Rect panel;
    platform::Rect dismiss;
    platform::Rect snooze;
    platform::Rect bell;
    platform::Rect message;
    platform::Rect digits;
};

// What decides the shape: the display scale (2.0 when the work area reaches beyond 320
// pixels, else 1.0), the visible desktop's width and the screen's size.
struct ScreenFacts {
    int workAreaRight = 240;
    int visibleDesktopWidth = 240;
    platform::Size screen{240, 320};
};

double layoutScale(const ScreenFacts& facts);
// Landscape when the visible desktop is wider than a portrait screen (481 pixels at scale 2,
// 241 at scale 1); otherwise square when the screen is as wide as it is tall.
LayoutShape layoutShape(const ScreenFacts& facts);

// The rectangles of a shape at a scale.
AlarmLayout alarmLayout(LayoutShape shape, double scale);
AlarmLayout alarmLayout(const ScreenFacts& facts);

// The facts of this device's screen now.
ScreenFacts currentScreenFacts();

}  // namespace alarmprogram
