#pragma once
// The menu bar at the bottom of the screen. Internal to the shell.

#include "platform/api/shell.h"
#include "platform/gui/screen.h"

namespace platform::shell {

// The parts of the bar: the two soft keys and the input-panel button between them.
enum class BarPart { None = -1, LeftKey = 0, RightKey = 1, SipButton = 2 };

Rect barPartRect(BarPart part);
void paintMenuBar(DeviceContext& dc);
bool menuBarInput(const gui::InputEvent& event);
void forgetMenuBarsOfDeadWindows();

// What the bar shows, to notice changes that need a repaint.
struct MenuBarLook {
    WindowHandle owner = 0;
    MenuBarHandle bar = 0;
    Rect area;
    bool sipButton = false;
    friend bool operator==(const MenuBarLook&, const MenuBarLook&) = default;
};
MenuBarLook currentMenuBarLook();

}  // namespace platform::shell
