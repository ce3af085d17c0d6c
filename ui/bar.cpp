#include "ui/bar.h"

#include <algorithm>

#include "gfx/colours.h"
#include "ui/control_paint.h"

namespace ui {

Bar::Bar(int value, int maximum) : value_(0), maximum_(std::max(1, maximum)) {
    isFocusable = false;
    setValue(value);
}

void Bar::setValue(int value) {
    value = std::clamp(value, 0, maximum_);
    if (value == value_)
        return;
    value_ = value;
    invalidate();
}

void Bar::setMaximum(int maximum) {
    maximum_ = std::max(1, maximum);
    value_ = std::min(value_, maximum_);
    invalidate();
}

int Bar::filledWidth() const {
    int inner = std::max(0, rect.width() - 2);
    return static_cast<int>(static_cast<long long>(inner) * value_ / maximum_);
}

void Bar::paint(platform::DeviceContext& dc, const platform::Rect&) {
    const gfx::Theme& t = theme();
    dc.fillRect(rect, kPanelColour);
    int filled = filledWidth();
    if (filled > 0) {
        drawButtonFace(dc, {rect.left + 1, rect.top + 1, rect.left + 1 + filled, rect.bottom - 1},
                       t, true);
    }
    dc.frameRect(rect, gfx::scaleColour(t.mainColour, 0.8));
}

}  // namespace ui
