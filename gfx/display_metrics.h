#pragma once
// The scale of every layout coordinate. Layouts are written for a 240-pixel-wide screen; on a
// VGA screen (more than 320 pixels across the work area) they are drawn at twice the size.

#include "platform/api/types.h"

namespace gfx {

struct DisplayMetrics {
    double scaleX = 0.0;  // 0 until computed; then 1.0 or 2.0
    double scaleY = 0.0;
    bool isVga = false;
    bool isSquare = false;
    // Forces both scales to 1.0 at start-up; off unless the main program turns it on.
    bool displayModeFlag = false;
    // Fonts are sized against 72 / fontDivisor points per inch, so a VGA screen that
    // reports 96 dpi still gets fonts of twice the pixel size.
    int fontDivisor = 1;
};

// The process's metrics.
DisplayMetrics& displayMetrics();

// Reads the work area, the screen size and the screen's pixels per inch into
// displayMetrics(). The display-mode flag is kept.
void computeDisplayMetrics();

// The visible desktop is wider than a portrait screen: 480 pixels on VGA, 240 otherwise.
bool isLandscape();

// Left and right times the horizontal scale, top and bottom times the vertical, truncated.
platform::Rect scaleRect(const platform::Rect& rect);

// a x b / c rounded half away from zero; 0 when c is 0.
int mulDivRound(int a, int b, int c);

}  // namespace gfx
