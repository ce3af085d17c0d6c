// The wait cursor: a ring of dots in graded blues in the middle of the screen, over every
// other layer, and the display backend's own busy pointer.

#include <cmath>
#include <numbers>

#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

constexpr int kRadius = 16;  // of the indicator's disc, at scale 1
constexpr int kDots = 8;

int g_layer = 0;

Rect indicatorRect() {
    Size s = screenSize();
    int r = scaled(kRadius);
    return {s.width / 2 - r, s.height / 2 - r, s.width / 2 + r, s.height / 2 + r};
}

void paintIndicator(DeviceContext& dc) {
    Rect r = indicatorRect();
    Pen oldPen = dc.selectPen(Pen{colour::PanelFrame, 1, true});
    Brush oldBrush = dc.selectBrush(Brush::solid(colour::PanelFace));
    dc.ellipse(r);
    dc.selectPen(Pen{0, 1, false});
    double cx = r.left + r.width() / 2.0, cy = r.top + r.height() / 2.0;
    double ring = scaled(kRadius) * 0.6, dot = scaled(kRadius) * 0.17;
    for (int i = 0; i < kDots; ++i) {
        double angle = 2 * std::numbers::pi * i / kDots - std::numbers::pi / 2;
        int shade = 40 + i * 26;  // from dark blue to pale, like a turning wheel
        dc.selectBrush(Brush::solid(rgb(shade / 2, shade, std::min(255, 120 + shade))));
        double x = cx + ring * std::cos(angle), y = cy + ring * std::sin(angle);
        dc.ellipse({static_cast<int>(std::lround(x - dot)), static_cast<int>(std::lround(y - dot)),
                    static_cast<int>(std::lround(x + dot)),
                    static_cast<int>(std::lround(y + dot))});
    }
    dc.selectBrush(oldBrush);
    dc.selectPen(oldPen);
}

}  // namespace

}  // namespace platform::shell

namespace platform {

using namespace shell;

void setWaitCursor(bool waiting) {
    if (waiting == (g_layer != 0))
        return;
    if (auto* backend = gui::displayBackend())
        backend->setBusy(waiting);
    if (waiting) {
        gui::ScreenLayer layer;
        layer.z = z::WaitIndicator;
        layer.paint = paintIndicator;
        layer.area = indicatorRect;
        g_layer = gui::addScreenLayer(std::move(layer));
        // The program is about to be busy and not paint for a while: show it now.
        gui::presentNow();
    } else {
        gui::removeScreenLayer(g_layer);
        g_layer = 0;
    }
}

bool isWaitCursorShown() {
    return g_layer != 0;
}

}  // namespace platform
