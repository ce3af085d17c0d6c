#include "gfx/display_metrics.h"

#include <cmath>

#include "platform/api/shell.h"

namespace gfx {

DisplayMetrics& displayMetrics() {
    static DisplayMetrics metrics;
    return metrics;
}

void computeDisplayMetrics() {
    DisplayMetrics& m = displayMetrics();
    m.isVga = platform::workArea().right > 320;
    m.scaleX = m.scaleY = m.isVga ? 2.0 : 1.0;
    m.fontDivisor = m.isVga && platform::logPixelsPerInch() == 96 ? 2 : 1;
    const platform::Size screen = platform::screenSize();
    m.isSquare = screen.width == screen.height;
}

bool isLandscape() {
    const int width = platform::sipInfo().visibleDesktop.width();
    return width > (displayMetrics().isVga ? 480 : 240);
}

platform::Rect scaleRect(const platform::Rect& rect) {
    const DisplayMetrics& m = displayMetrics();
    return {static_cast<int>(rect.left * m.scaleX), static_cast<int>(rect.top * m.scaleY),
            static_cast<int>(rect.right * m.scaleX), static_cast<int>(rect.bottom * m.scaleY)};
}

int mulDivRound(int a, int b, int c) {
    if (c == 0)
        return 0;
    const double value = static_cast<double>(a) * b / c;
    const double magnitude = std::fabs(value);
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5)
        whole += 1.0;
    return static_cast<int>(value < 0 ? -whole : whole);
}

}  // namespace gfx
