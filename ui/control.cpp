#include "ui/control.h"

#include "ui/module.h"

namespace ui {

void Control::place(const platform::Rect& r, platform::DeviceContext*) {
    rect = r;
}

void Control::paint(platform::DeviceContext&, const platform::Rect&) {}

void Control::invalidate() {
    if (owner && isVisible)
        owner->invalidateRect(rect);
}

void Control::show(bool visible, bool redraw) {
    bool was = isVisible;
    isVisible = visible;
    if (redraw) {
        if (visible) {
            invalidate();
        } else if (was && owner) {
            owner->invalidateRect(rect);
        }
    }
}

bool Control::key(std::uint32_t, std::uint32_t, platform::LParam) {
    return false;
}

void Control::redrawNow() {
    invalidate();
    if (owner)
        platform::updateWindow(owner->host().mainWindow());
}

void Control::focus(bool, bool redraw) {
    if (redraw)
        invalidate();
}

void Control::mainMenuShown(bool) {}

bool Control::pointer(std::uint32_t, platform::WParam, platform::Point) {
    return false;
}

void Control::notifyOwner(int event, std::intptr_t data) {
    if (onEvent)
        onEvent(*this, event);
    if (owner)
        owner->controlEvent(*this, event, data);
}

bool Control::hasFocus() const {
    return owner && owner->focusedControl() == this;
}

ModuleHost* Control::host() const {
    return owner ? &owner->host() : nullptr;
}

const gfx::Theme& Control::theme() const {
    static const gfx::Theme fallback;
    return owner ? owner->host().theme() : fallback;
}

}  // namespace ui
