#pragma once
// The base of the system's own light-weight controls: a rectangle inside the main window
// that its module paints into the back buffer and routes keys and taps to.

#include <cstdint>
#include <functional>

#include "platform/api/draw.h"
#include "platform/api/window.h"

namespace ui {

class Module;

// Control kinds the main window treats specially.
namespace controlKind {
constexpr int Plain = 0, EditField = 7, DateTimePicker = 8, ColouredEdit = 212;
}

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
    // Called once after the control is placed.
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
    // Passes an event to the owner module.
    void notifyOwner(int event, std::intptr_t data);

    bool isLive(int currentPage) const { return page == currentPage || page == kEveryPage; }
    bool hasFocus() const;

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

}  // namespace ui
