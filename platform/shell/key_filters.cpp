// Input the shell takes before the windows: the soft keys F1 and F2, the Back key of windows
// that override it, and the rest of a stylus press that the shell already answered.

#include <set>

#include "platform/gui/window_system.h"
#include "platform/shell/key_filters.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

constexpr LParam kModifierKeyUp = 0x1000;

struct KeyFilterState {
    std::set<WindowHandle> backOverridden;
    bool swallowingPointer = false;
};

KeyFilterState& state() {
    static auto* s = new KeyFilterState();
    return *s;
}

bool softKeyInput(const gui::InputEvent& e) {
    if (e.key != vk::F1 && e.key != vk::F2)
        return false;
    WindowHandle owner = barOwnerWindow();
    MenuBarHandle bar = visibleMenuBar(owner);
    if (!bar)
        return false;  // a window without a menu bar gets the keys itself
    if (e.kind == gui::InputEvent::Kind::KeyDown)
        pressSoftKey(owner, e.key == vk::F1 ? 0 : 1);
    return true;
}

bool backKeyInput(const gui::InputEvent& e) {
    if (e.key != vk::Escape)
        return false;
    WindowHandle owner = barOwnerWindow();
    if (!state().backOverridden.count(owner))
        return false;
    LParam modifiers = e.kind == gui::InputEvent::Kind::KeyUp ? kModifierKeyUp : 0;
    postMessage(owner, wm::HotKey, 0, makeLParam(static_cast<int>(modifiers), vk::Escape));
    return true;
}

// The moves and the release after a press that the shell answered itself (a tap-and-hold
// that opened a context menu, a tap that dismissed a menu) would reach the window as a
// release without a press; they are dropped.
bool swallowedPointer(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    auto& st = state();
    if (!st.swallowingPointer)
        return false;
    if (e.kind == Kind::PointerDown) {
        st.swallowingPointer = false;
        return false;
    }
    if (e.kind == Kind::PointerUp) {
        st.swallowingPointer = false;
        return true;
    }
    return e.kind == Kind::PointerMove;
}

bool filterInput(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    switch (e.kind) {
        case Kind::KeyDown:
        case Kind::KeyUp:
            return softKeyInput(e) || backKeyInput(e);
        case Kind::PointerDown:
        case Kind::PointerMove:
        case Kind::PointerUp:
            return swallowedPointer(e);
        default:
            return false;
    }
}

}  // namespace

void swallowPointerUntilRelease() {
    state().swallowingPointer = true;
}

void forgetBackOverridesOfDeadWindows() {
    std::erase_if(state().backOverridden, [](WindowHandle h) { return !gui::findLocal(h); });
}

void installKeyFilters() {
    gui::ScreenLayer layer;
    layer.z = z::KeyFilters;
    layer.input = filterInput;
    layer.area = [] { return Rect{}; };
    gui::addScreenLayer(std::move(layer));
}

}  // namespace platform::shell

namespace platform {

void overrideBackKey(WindowHandle window, bool overridden) {
    auto& set = shell::state().backOverridden;
    if (overridden && isOwnWindow(window) && !parentWindow(window)) {
        set.insert(window);
    } else if (!overridden) {
        set.erase(window);
    }
}

void sendBackToFocusWindow(std::uint32_t message, WParam wParam, LParam lParam) {
    bool up = false;
    if (message == wm::HotKey && hiWord(static_cast<std::uint64_t>(lParam)) == vk::Escape) {
        up = (loWord(static_cast<std::uint64_t>(lParam)) & shell::kModifierKeyUp) != 0;
    } else if ((message == wm::KeyDown || message == wm::KeyUp) && wParam == vk::Escape) {
        up = message == wm::KeyUp;
    } else {
        return;
    }
    WindowHandle target = focusWindow();
    if (!target)
        target = shell::barOwnerWindow();
    if (!target)
        return;
    postMessage(target, up ? wm::KeyUp : wm::KeyDown, vk::Escape,
                up ? static_cast<LParam>(0xC0000001u) : 1);
}

}  // namespace platform
