#pragma once
// The handheld's shell: task bar, menu bar with two soft keys and their pop-up menus,
// context menus, the tap-and-hold gesture, message boxes, the input panel, full-screen mode
// and the wait cursor. The task bar (top) and the menu bar (bottom) are 26 pixels tall at
// scale 1.0 (52 at 2.0) and drawn by the platform over the screen.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/api/types.h"
#include "platform/api/window.h"

namespace platform {

// Height of the task bar and of the menu bar on this screen.
int shellBarHeight();

// System metrics and parameters the system asks for.
Size screenSize();       // the whole screen in the current orientation
Rect workArea();         // the screen below the task bar
int logPixelsPerInch();  // horizontal and vertical alike

// Input panel. The visible desktop is the work area (down to the bottom of the screen, the
// menu bar's room included) less the input panel while it is shown. The panel's rectangle
// sits just above the menu bar.
struct SipInfo {
    Rect visibleDesktop;
    Rect sipRect;  // the panel's rectangle, just above the menu bar
    bool shown = false;
};
SipInfo sipInfo();
// Shows or hides the input panel; every top-level window gets wm::SettingChange with
// wParam SpiSetSipInfo.
void showSip(bool show);
constexpr WParam SpiSetSipInfo = 224;

// Full-screen switching with the handheld's flags.
namespace shfs {
constexpr std::uint32_t ShowTaskBar = 0x1, HideTaskBar = 0x2, ShowSipButton = 0x4,
                        HideSipButton = 0x8, ShowStartIcon = 0x10, HideStartIcon = 0x20;
}
bool shFullScreen(WindowHandle window, std::uint32_t flags);
bool isTaskBarHidden();

// Menus. A menu is a list of items; an item opening a sub-menu carries it.
using MenuHandle = std::uint32_t;  // 0 = none
namespace mf {
constexpr std::uint32_t String = 0x0, Grayed = 0x1, Disabled = 0x2, Checked = 0x8, Popup = 0x10,
                        Separator = 0x800;
}
MenuHandle createPopupMenu();
bool destroyMenu(MenuHandle menu);
// With mf::Popup, idOrSubMenu is the sub-menu's handle.
bool appendMenu(MenuHandle menu, std::uint32_t flags, std::uintptr_t idOrSubMenu,
                std::wstring_view text);
bool removeAllMenuItems(MenuHandle menu);
int menuItemCount(MenuHandle menu);
// Items are found by command id, searching sub-menus too.
bool setMenuItemText(MenuHandle menu, std::uint32_t commandId, std::wstring_view text);
bool checkMenuItem(MenuHandle menu, std::uint32_t commandId, bool checked);
bool enableMenuItem(MenuHandle menu, std::uint32_t commandId, bool enabled);

// Shows a pop-up menu at a screen point and tracks it modally. Returns the chosen command id
// (0 when dismissed). With notify set, the choice is also posted to owner as wm::Command.
// One menu is tracked at a time: while one is open, another call returns 0 at once. Input
// that arrives after the choice reaches the windows once the call has returned.
std::uint32_t trackPopupMenu(MenuHandle menu, Point screenPoint, WindowHandle owner,
                             bool notify = false);

// Menu bar: one per top-level window, two soft keys at the bottom of the screen. A soft key
// is a button (sends wm::Command with its command id to the owner window) or opens a menu.
enum class SoftKeyKind { None, Button, Menu };
struct MenuBarSpec {
    SoftKeyKind left = SoftKeyKind::Button;
    SoftKeyKind right = SoftKeyKind::Button;
    std::uint32_t leftCommand = 99;
    std::uint32_t rightCommand = 100;
};
using MenuBarHandle = std::uint32_t;
MenuBarHandle createMenuBar(WindowHandle owner, const MenuBarSpec& spec);
bool destroyMenuBar(MenuBarHandle bar);
bool showMenuBar(MenuBarHandle bar, bool show);  // showing one hides the owner's others
MenuBarHandle visibleMenuBar(WindowHandle owner);
// side 0 = left, 1 = right
bool setSoftKeyText(MenuBarHandle bar, int side, std::wstring_view text);
std::wstring softKeyText(MenuBarHandle bar, int side);
bool enableSoftKey(MenuBarHandle bar, int side, bool enabled);
MenuHandle softKeyMenu(MenuBarHandle bar, int side);  // 0 for button keys
// Presses a soft key as the user would (keys F1/F2 and taps on the bar call this).
void pressSoftKey(WindowHandle owner, int side);

// Tap-and-hold: asked on button down; waits while the stylus stays down and still, showing
// the hold animation, and answers GestureContextMenu when held long enough.
// Input arriving during the wait reaches the window after the call returns (so after a quick
// tap the window still gets its wm::LButtonUp). After a hold, the rest of the press (moves
// and the release) is dropped and a pointer capture ends, so a context menu opened then
// waits for a fresh tap.
constexpr int GestureNone = 0;
constexpr int GestureContextMenu = 1000;
int recognizeGesture(WindowHandle window, Point clientPoint);

// Message boxes, owner-less and modal, answered by stylus or keys.
namespace mb {
constexpr std::uint32_t Ok = 0x0, OkCancel = 0x1, YesNo = 0x4, IconQuestion = 0x20,
                        IconExclamation = 0x30, IconInformation = 0x40;
}
namespace id {
constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;
}
int messageBox(WindowHandle owner, std::wstring_view text, std::wstring_view caption,
               std::uint32_t flags);

// The wait cursor: a busy indicator over the screen while set.
void setWaitCursor(bool waiting);
bool isWaitCursorShown();

// The Back key: a window that overrides it receives wm::HotKey (lParam high word vk::Escape)
// instead of the default handling.
void overrideBackKey(WindowHandle window, bool overridden);
// The default handling of a Back key that a window passes on: the focused window gets
// Escape key messages.
void sendBackToFocusWindow(std::uint32_t message, WParam wParam, LParam lParam);

}  // namespace platform
