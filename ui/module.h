#pragma once
// The base of every screen: a module owns the controls of one screen, paints them, and
// handles keys, taps, timers and commands. One module is live at a time.

#include <any>
#include <cstdint>
#include <memory>
#include <span>
#include <typeinfo>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/window.h"
#include "ui/control.h"
#include "ui/module_host.h"

namespace ui {

class Module {
  public:
    explicit Module(ModuleHost& host);
    virtual ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    ModuleHost& host() const { return host_; }

    // Builds the controls.
    virtual void build() {}
    // Shows or hides the module's controls; focuses the first focusable control when asked,
    // else gives the focus back to the remembered one.
    virtual void show(bool visible, bool focusFirst);
    // Paints every live, visible control that meets the invalid rectangle.
    virtual void paint(platform::DeviceContext& dc, const platform::Rect& invalid);
    virtual void broadcast(int event, std::intptr_t data);
    void invalidate(bool redrawNow);
    void invalidateRect(const platform::Rect& rect);

    virtual void controlChanged(Control& control);
    virtual bool controlPressed(Control& control);
    // Events passed up by controls (notifyOwner).
    virtual void controlEvent(Control& control, int event, std::intptr_t data);
    virtual bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags);
    virtual void focusChanged(bool gained);
    virtual void scrollFocusedIntoView();
    virtual void activationChanged(bool deactivated);
    virtual void skinChanged(bool redraw);
    // Soft-key and menu commands (99 left, 100 right); true when handled.
    virtual bool command(std::uint32_t commandId, std::intptr_t data);
    // Base behaviour: the control that owns the timer gets it.
    virtual void timer(std::uintptr_t id);
    // Called when the module becomes active.
    virtual void startTimers() {}
    // Base behaviour: the live control under the point gets the message.
    virtual void pointer(std::uint32_t message, platform::WParam keys, platform::Point point);
    virtual bool commsMessage(platform::WindowHandle window, std::uint32_t message,
                              platform::WParam wParam, platform::LParam lParam);
    virtual bool embeddedMessage(platform::WindowHandle window, std::uint32_t message,
                                 platform::WParam wParam, platform::LParam lParam);
    // A tap-and-hold context menu built from these entries is about to open.
    virtual void contextMenuOpening(std::span<MenuEntry> entries);
    // The soft keys and menus of this screen (the default table when empty).
    virtual std::span<const MenuEntry> menuEntries() const { return {}; }
    // The scroll position changed by this much (input panel moved, scroll bar).
    virtual void scrollBy(int dy);
    // What the user was doing, kept when the screen is built again for a new orientation:
    // the old module answers saveState, the new one gets it after build.
    virtual std::any saveState() const { return {}; }
    virtual void restoreState(const std::any&) {}

    // Controls.
    Control& addControl(std::unique_ptr<Control> control);
    // By id, through the index that rebuildIdIndex made (buildLayout makes it), else by
    // searching the list.
    Control* findControl(int id) const;
    // The control with the id as the type the caller works with; nullptr when there is none.
    // A control of another type is a fault in the screen (its layout table and its code
    // disagree): the program stops with the id, both types and the caller's file and line.
    template <class T>
    // (The caller's place comes from the compiler built-ins: the clang this project builds its
    // fuzz targets with has no std::source_location over this C++ library.)
    T* findControl(int id, const char* callerFile = __builtin_FILE(),
                   unsigned callerLine = __builtin_LINE()) const {
        Control* control = findControl(id);
        if (!control)
            return nullptr;
        auto* typed = dynamic_cast<T*>(control);
        if (!typed)
            controlTypeMismatch(id, *control, typeid(T), callerFile, callerLine);
        return typed;
    }
    void rebuildIdIndex();
    // Shows another page of controls: native child windows follow, the focus goes to the
    // page's first focusable control, and the window repaints.
    void setPage(int page);
    // Something covers the whole window (the main menu, a pop-up overlay): the native child
    // windows hide while it does.
    void coverNativeControls(bool covered);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Control* focusedControl() const { return focused_; }
    void setFocusedControl(Control* control, bool redraw = true);
    // Moves the focus to the next or previous focusable control of the current page; false
    // when there is none in that direction.
    bool moveFocus(bool forward);
    Control* controlAt(platform::Point point) const;
    // The control holding the pointer capture, if any.
    Control* captureControl() const { return capture_; }
    void setCaptureControl(Control* control);

    int currentPage = 0;
    bool scrolls = false;
    int scrollY = 0;
    bool isActive = false;
    int layoutGeneration = 0;

  private:
    [[noreturn]] static void controlTypeMismatch(int id, const Control& found,
                                                 const std::type_info& wanted,
                                                 const char* callerFile, unsigned callerLine);

    ModuleHost& host_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Control*> idIndex_;
    Control* focused_ = nullptr;
    Control* capture_ = nullptr;
};

}  // namespace ui
