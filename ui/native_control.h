#pragma once
// The base of the toolkit's wrappers around the platform's native controls: a child window
// of the main window that follows the control's rectangle, visibility and focus. The child's
// window procedure is subclassed so that the keys that move between controls, and the focus
// that a tap gives, go back to the module.

#include <string_view>

#include "ui/control.h"

namespace ui {

class NativeControl : public Control {
  public:
    NativeControl(ModuleHost& host, std::wstring_view className, std::uint32_t style);
    ~NativeControl() override;

    platform::WindowHandle nativeWindow() const override { return window_; }
    ModuleHost& nativeHost() const { return host_; }

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void show(bool visible, bool redraw) override;
    void focus(bool gained, bool redraw) override;
    void nativeShown(bool shown) override;
    // Keys the module routes here (the child did not have the platform's focus) go on to
    // the child, except those that move between controls.
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    // The child draws itself over the back buffer.
    void paint(platform::DeviceContext&, const platform::Rect&) override {}

  protected:
    // Keys that leave the child for the module: Tab always; each kind adds its own.
    virtual bool handsBack(std::uint32_t message, std::uint32_t keyCode) const;
    platform::LResult send(std::uint32_t message, platform::WParam wParam = 0,
                           platform::LParam lParam = 0) const;

  private:
    platform::LResult childProc(platform::WindowHandle window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam);
    void updateWindowVisibility();

    ModuleHost& host_;
    platform::WindowHandle window_ = 0;
    platform::WindowProc original_;
    bool hiddenByModule_ = false;
};

}  // namespace ui
