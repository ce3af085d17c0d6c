#include "ui/pressable.h"

#include "ui/module.h"

namespace ui {

using namespace platform;

void Pressable::press() {
    if (owner)
        owner->controlPressed(*this);
}

void Pressable::setPressed(bool pressed) {
    if (pressed == pressed_)
        return;
    pressed_ = pressed;
    invalidate();
}

bool Pressable::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Return || !isEnabled)
        return false;
    if (message == wm::KeyDown) {
        setPressed(true);
    } else if (message == wm::KeyUp && pressed_) {
        setPressed(false);
        press();
    }
    return true;
}

bool Pressable::pointer(std::uint32_t message, WParam, Point point) {
    if (!isEnabled)
        return false;
    if (message == wm::LButtonDown) {
        tracking_ = true;
        setPressed(true);
        if (owner)
            owner->setCaptureControl(this);
        return true;
    }
    if (!tracking_)
        return false;
    if (message == wm::MouseMove) {
        // The button shows pressed only while the stylus is over it.
        setPressed(rect.contains(point));
    } else if (message == wm::LButtonUp) {
        tracking_ = false;
        bool inside = rect.contains(point);
        setPressed(false);
        if (owner && owner->captureControl() == this)
            owner->setCaptureControl(nullptr);
        if (inside)
            press();
    }
    return true;
}

}  // namespace ui
