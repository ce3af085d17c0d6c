#include "ui/control_paint.h"

#include <algorithm>

#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/graphics_state.h"

namespace ui {

using platform::Rect;

int layoutUnit() {
    return std::max(1, static_cast<int>(gfx::displayMetrics().scaleX));
}

const platform::FontRef& smallFont(bool bold) {
    static const platform::FontRef fallback = platform::Font::create(platform::FontSpec{});
    auto* gs = gfx::graphicsState();
    if (!gs)
        return fallback;
    return bold ? gs->smallBoldFont() : gs->smallFont();
}

void drawThickFrame(platform::DeviceContext& dc, const Rect& r, platform::Colour colour,
                    int thickness) {
    for (int i = 0; i < thickness && r.width() > 2 * i && r.height() > 2 * i; ++i) {
        dc.frameRect({r.left + i, r.top + i, r.right - i, r.bottom - i}, colour);
    }
}

void drawFocusFrame(platform::DeviceContext& dc, const Rect& rect, const gfx::Theme& theme) {
    drawThickFrame(dc, rect, theme.mainColour, 2 * layoutUnit());
}

void drawArrow(platform::DeviceContext& dc, const Rect& r, ArrowDirection direction,
               platform::Colour colour) {
    int size = std::max(3, std::min(r.width(), r.height()) / 2);
    int depth = (size + 1) / 2;
    bool vertical = direction == ArrowDirection::Up || direction == ArrowDirection::Down;
    int cx = r.left + r.width() / 2;
    int cy = r.top + r.height() / 2;
    for (int step = 0; step < depth; ++step) {
        bool pointFirst = direction == ArrowDirection::Up || direction == ArrowDirection::Left;
        int half = pointFirst ? step : depth - 1 - step;
        if (vertical) {
            int y = cy - depth / 2 + step;
            dc.fillRect({cx - half, y, cx + half + 1, y + 1}, colour);
        } else {
            int x = cx - depth / 2 + step;
            dc.fillRect({x, cy - half, x + 1, cy + half + 1}, colour);
        }
    }
}

void drawButtonFace(platform::DeviceContext& dc, const Rect& r, const gfx::Theme& theme,
                    bool pressed) {
    platform::Colour light = gfx::lightenColour(theme.mainColour, pressed ? 90 : 150);
    platform::Colour dark = gfx::lightenColour(theme.mainColour, pressed ? 40 : 90);
    int half = r.height() / 2;
    // A vertical gradient: light at the top, darker towards the bottom.
    for (int y = 0; y < r.height(); ++y) {
        int t = half > 0 ? std::min(256, y * 256 / std::max(1, r.height())) : 0;
        auto mix = [&](int a, int b) { return a + (b - a) * t / 256; };
        platform::Colour c = platform::rgb(mix(platform::redOf(light), platform::redOf(dark)),
                                           mix(platform::greenOf(light), platform::greenOf(dark)),
                                           mix(platform::blueOf(light), platform::blueOf(dark)));
        dc.fillRect({r.left, r.top + y, r.right, r.top + y + 1}, c);
    }
    dc.frameRect(r, gfx::scaleColour(theme.mainColour, 0.8));
}

void drawClippedText(platform::DeviceContext& dc, std::wstring_view text, const Rect& rect,
                     std::uint32_t format, platform::Colour colour, const platform::FontRef& font) {
    ClipScope clip(dc, rect);
    platform::Colour previous = dc.setTextColour(colour);
    gfx::drawTextTransparent(dc, text, rect, format, font);
    dc.setTextColour(previous);
}

ClipScope::ClipScope(platform::DeviceContext& dc, const Rect& rect)
    : dc_(dc), previous_(dc.clip()) {
    dc_.setClip(rect.intersect(previous_));
}

ClipScope::~ClipScope() {
    dc_.setClip(previous_);
}

}  // namespace ui
