#pragma once
// The base of the system's own light-weight controls: a rectangle inside the main window
// that its module paints into the back buffer and routes keys and taps to.

#include <cstdint>
#include <functional>

#include "gfx/theme.h"
#include "platform/api/controls.h"
#include "platform/api/draw.h"
#include "platform/api/window.h"

namespace ui {

class Module;
class ModuleHost;

// Control kinds the main window treats specially: the toolkit's native wrappers, the
// screen-specific edit field that the main window colours, and the screen-specific pickers
// whose notifications go to the control.
namespace controlKind {
constexpr int Plain = 0, EditField = 7, DateTimePicker = 8, ColouredEdit = 212, ScreenPicker1 = 214,
              ScreenPicker2 = 226;
constexpr bool isPicker(int kind) {
    return kind == DateTimePicker || kind == ScreenPicker1 || kind == ScreenPicker2;
}
}  // namespace controlKind

// The page number that puts a control on every page of its module.
constexpr int kEveryPage = 99;

class Control {
  public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Stores the rectangle; with a context and an owner the control lays itself out.
    virtual void place(const platform::Rect& rect, platform::DeviceContext* dc);
    virtual void paint(platform::DeviceContext& dc, const platform::Rect& invalid);
    // Asks the owner to repaint the control's rectangle when it is visible.
    virtual void invalidate();
    // Called once after the control is placed by buildLayout.
    virtual void placed() {}
    virtual void show(bool visible, bool redraw);
    // The focused control gets every key first; true when it used the key.
    virtual bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags);
    void redrawNow();
    virtual bool canTakeFocus() const { return isFocusable && isEnabled && isVisible; }
    virtual void focus(bool gained, bool redraw);
    // The main menu opened over the screen or closed.
    virtual void mainMenuShown(bool open);
    // Mouse move, button down and button up, in window client coordinates.
    virtual bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point);
    // Timer 9899 for the control holding the pointer capture.
    virtual void autoRepeat() {}
    // A timer of the module's window that the module did not handle; true when this
    // control owns it.
    virtual bool timer(std::uintptr_t) { return false; }
    // Passes an event to the owner module.
    void notifyOwner(int event, std::intptr_t data);

    // Native wrappers: the module was shown or hidden, or something covers the whole window
    // (the main menu, a pop-up overlay), so their child windows must hide.
    virtual void nativeShown(bool) {}
    // Native wrappers: wm::Notify and control notifications (wm::Command) from the child
    // window. True when handled.
    virtual bool nativeNotify(const platform::NotifyHeader&) { return false; }
    virtual bool nativeCommand(std::uint32_t) { return false; }
    // The child window of a native wrapper, 0 for the others.
    virtual platform::WindowHandle nativeWindow() const { return 0; }

    bool isLive(int currentPage) const { return page == currentPage || page == kEveryPage; }
    bool hasFocus() const;
    // The owner's host, and its theme (a default one for a control without an owner).
    ModuleHost* host() const;
    const gfx::Theme& theme() const;

    bool isVisible = false;
    platform::Rect rect;
    Module* owner = nullptr;
    int id = 0;
    bool isFocusable = true;
    bool isEnabled = true;
    int page = kEveryPage;
    int kind = controlKind::Plain;
    std::function<void(Control&, int event)> onEvent;
};

// The control a native wrapper stored in its child window, or none for any other window.
Control* controlOfWindow(platform::WindowHandle window);

}  // namespace ui
