#pragma once
// Pieces the parts of the shell share: drawing sizes and colours, fonts, the window the bars
// belong to, the order of the shell's screen layers and the modal loop. Internal to the shell.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/shell.h"
#include "platform/gui/screen.h"

namespace platform::shell {

// Screen layer order: filters that only look at keys lie lowest so that every modal layer
// sees input before them; the wait indicator lies above everything.
namespace z {
constexpr int KeyFilters = 10;
constexpr int Bars = 100;
constexpr int InputPanel = 150;
constexpr int HoldAnimation = 200;
constexpr int Menus = 300;
constexpr int MessageBoxes = 400;
constexpr int WaitIndicator = 500;
}  // namespace z

// Sizes are given for a 240-pixel-wide screen and doubled on screens wider than 320.
int scale();
inline int scaled(int pixels) {
    return pixels * scale();
}

// Tahoma at a character height given at scale 1, cached per size and weight.
FontRef shellFont(int emPixels, bool bold = false);

namespace colour {
constexpr Colour BarTop = rgb(70, 96, 150);
constexpr Colour BarBottom = rgb(14, 28, 66);
constexpr Colour BarPressedTop = rgb(120, 150, 210);
constexpr Colour BarPressedBottom = rgb(40, 70, 140);
constexpr Colour BarText = rgb(255, 255, 255);
constexpr Colour BarTextDisabled = rgb(128, 140, 168);
constexpr Colour Highlight = rgb(16, 84, 168);
constexpr Colour HighlightText = rgb(255, 255, 255);
constexpr Colour PanelFace = rgb(255, 255, 255);
constexpr Colour PanelFrame = rgb(64, 64, 64);
constexpr Colour Text = rgb(0, 0, 0);
constexpr Colour GreyText = rgb(150, 150, 150);
constexpr Colour Separator = rgb(176, 176, 176);
}  // namespace colour

// Fills r with a vertical gradient from top to bottom.
void fillVerticalGradient(DeviceContext& dc, const Rect& r, Colour top, Colour bottom);
// Draws the shell's bar background (task bar, menu bar, message box caption).
void fillBar(DeviceContext& dc, const Rect& r, bool pressed = false);
// A filled triangle pointing up (the soft-key menu mark) or right (the sub-menu mark).
void fillTriangleUp(DeviceContext& dc, Point centre, int halfWidth, Colour c);
void fillTriangleRight(DeviceContext& dc, Point centre, int halfHeight, Colour c);

// The top-level window of this program that the bars show: the active window, else the
// topmost visible one.
WindowHandle barOwnerWindow();

Rect taskBarRect();  // empty while hidden
// The bottom bar's rectangle, empty when nothing is drawn there (the foreground window has
// no menu bar and covers the bar's place itself, as a full-screen window does).
Rect menuBarRect();
void markTaskBarChanged();
void markMenuBarChanged();
bool hidesSipButton(WindowHandle window);

// Runs the modal loop until done() holds. False when the program is quitting (the quit
// message is posted again for the outer loop).
bool runModal(const std::function<bool()>& done, int stepMs = 50);

// Input that reaches a modal layer after it has finished, held back and put in front of the
// queue again once the modal call has returned, so that the program sees it in order from its
// own loop rather than inside the call. The characters and releases of keys pressed while
// the layer was open belong to the layer and are dropped.
class HeldInput {
  public:
    // Call for every event the open layer takes; true when it is the character or the
    // release of a key the layer had pressed, for the layer to drop.
    bool isOwnKeyFollowUp(const gui::InputEvent& e);
    // Call for every event after the layer finished; it is held back (or dropped).
    void hold(const gui::InputEvent& e);
    void putBack();

  private:
    std::vector<std::uint32_t> keysDown_;
    bool characterDue_ = false;  // the last event was a key press the layer took
    std::vector<gui::InputEvent> held_;
    bool pointerDownBefore_ = false;  // the stylus state before the first held event
};

// Pop-up menus anchored at a point: the corner of the menu that lies at the point.
enum class MenuAnchor { TopLeft, BottomLeft, BottomRight };
std::uint32_t trackMenu(MenuHandle menu, Point anchor, MenuAnchor corner, WindowHandle owner,
                        bool notify);
bool isMenuTracking();
// Closes every open pop-up menu (a soft key pressed again); the tracking call returns 0.
void cancelMenuTracking();

// Set up by installShell().
void installBars();
void installKeyFilters();

}  // namespace platform::shell
