#include "ui/toggle.h"

#include <algorithm>

#include "gfx/colours.h"
#include "gfx/theme.h"
#include "ui/control_paint.h"
#include "ui/module.h"

namespace ui {

using namespace platform;

Toggle::Toggle(ModuleHost& host, bool on)
    : picture_(host.mainPath(), gfx::graphicsPicture(L"toggle"), true), on_(on) {}

void Toggle::setOn(bool on) {
    if (on == on_)
        return;
    on_ = on;
    invalidate();
}

void Toggle::flip() {
    setOn(!on_);
    if (owner)
        owner->controlChanged(*this);
}

void Toggle::paint(DeviceContext& dc, const Rect&) {
    if (picture_.loaded()) {
        // The picture keeps its proportions, centred in the rectangle.
        int h = std::min(rect.height(), picture_.height() * rect.width() / picture_.frameWidth());
        int w = picture_.frameWidth() * h / std::max(1, picture_.height());
        Rect r = rectOfSize(rect.left + (rect.width() - w) / 2, rect.top + (rect.height() - h) / 2,
                            w, h);
        picture_.drawOver(dc, r, on_ ? 1 : 0);
    } else {
        // Without its picture the toggle is a framed box, filled when on.
        dc.fillRect(rect, on_ ? theme().mainColour : kPanelColour);
        dc.frameRect(rect, kFrameColour);
    }
    if (hasFocus())
        drawFocusFrame(dc, rect, theme());
}

bool Toggle::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Return && keyCode != vk::Space)
        return false;
    if (message == wm::KeyDown && isEnabled)
        flip();
    return true;
}

bool Toggle::pointer(std::uint32_t message, WParam, Point) {
    if (message != wm::LButtonDown || !isEnabled)
        return false;
    flip();
    return true;
}

}  // namespace ui
