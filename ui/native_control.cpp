#include "ui/native_control.h"

#include <set>

#include "ui/control_paint.h"
#include "ui/module.h"

namespace ui {

using namespace platform;

namespace {

// The wrappers alive in the process, so a window's user data is trusted only when it names
// one of them.
std::set<const Control*>& liveWrappers() {
    static std::set<const Control*> wrappers;
    return wrappers;
}

}  // namespace

Control* controlOfWindow(WindowHandle window) {
    if (!window || !isOwnWindow(window))
        return nullptr;
    auto* control = reinterpret_cast<Control*>(windowUserData(window));
    return liveWrappers().count(control) ? control : nullptr;
}

NativeControl::NativeControl(ModuleHost& host, std::wstring_view className, std::uint32_t style)
    : host_(host) {
    // Without a main window there is nothing to put the child on; the control stays inert.
    if (!host.mainWindow())
        return;
    WindowCreate create;
    create.className = std::wstring(className);
    create.parent = host.mainWindow();
    create.x = create.y = 0;
    create.width = create.height = 1;
    create.visible = false;
    create.style = style | ws::Child;
    window_ = createWindow(create);
    if (!window_)
        return;
    liveWrappers().insert(this);
    setWindowUserData(window_, reinterpret_cast<std::intptr_t>(static_cast<Control*>(this)));
    FontRef font = smallFont();
    sendMessage(window_, wm::SetFont, reinterpret_cast<WParam>(&font), 0);
    original_ = setWindowProc(window_, [this](WindowHandle w, std::uint32_t m, WParam wp,
                                              LParam lp) { return childProc(w, m, wp, lp); });
}

NativeControl::~NativeControl() {
    liveWrappers().erase(this);
    if (window_ && isOwnWindow(window_)) {
        if (focusWindow() == window_)
            setFocus(host_.mainWindow());
        setWindowProc(window_, original_);
        destroyWindow(window_);
    }
}

LResult NativeControl::send(std::uint32_t message, WParam wParam, LParam lParam) const {
    return window_ ? sendMessage(window_, message, wParam, lParam) : 0;
}

bool NativeControl::handsBack(std::uint32_t, std::uint32_t keyCode) const {
    return keyCode == vk::Tab;
}

LResult NativeControl::childProc(WindowHandle window, std::uint32_t message, WParam wParam,
                                 LParam lParam) {
    switch (message) {
        case wm::KeyDown:
        case wm::KeyUp:
            if (handsBack(message, static_cast<std::uint32_t>(wParam))) {
                return sendMessage(host_.mainWindow(), message, wParam, lParam);
            }
            break;
        case wm::LButtonDown:
            // A tap on the child focuses the control as a tap on any control does.
            if (owner && owner->focusedControl() != this && canTakeFocus()) {
                owner->setFocusedControl(this, true);
                owner->scrollFocusedIntoView();
            }
            break;
        default:
            break;
    }
    return callWindowProc(original_, window, message, wParam, lParam);
}

void NativeControl::updateWindowVisibility() {
    if (!window_)
        return;
    bool live = owner == nullptr || isLive(owner->currentPage);
    showWindow(window_, isVisible && live && !hiddenByModule_);
}

void NativeControl::place(const Rect& r, DeviceContext* dc) {
    Control::place(r, dc);
    if (window_)
        moveWindow(window_, r, true);
}

void NativeControl::show(bool visible, bool redraw) {
    Control::show(visible, redraw);
    updateWindowVisibility();
}

void NativeControl::nativeShown(bool shown) {
    hiddenByModule_ = !shown;
    updateWindowVisibility();
}

void NativeControl::focus(bool gained, bool redraw) {
    Control::focus(gained, redraw);
    if (!window_)
        return;
    if (gained) {
        setFocus(window_);
    } else if (focusWindow() == window_) {
        setFocus(host_.mainWindow());
    }
}

bool NativeControl::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    if (!window_ || handsBack(message, keyCode))
        return false;
    if (message != wm::KeyDown && message != wm::KeyUp)
        return false;
    send(message, keyCode, flags);
    return true;
}

}  // namespace ui
