#pragma once
// Pop-up menu panels: their size, placement on screen and drawing. Internal to the shell.

#include <vector>

#include "platform/api/shell.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {

struct MenuPanel {
    MenuHandle menu = 0;
    Rect rect;                    // screen coordinates, frame included
    std::vector<Rect> itemRects;  // one per item, screen coordinates
    int highlight = -1;
    int openedFrom = -1;  // the item of the panel below that opened this one
};

// A panel for the menu with its corner at the anchor, moved or flipped to stay on screen.
MenuPanel placeMenuPanel(MenuHandle menu, Point anchor, MenuAnchor corner);
// A panel for a sub-menu beside the item that opens it.
MenuPanel placeSubMenuPanel(MenuHandle menu, const MenuPanel& parent, int item);
void paintMenuPanel(DeviceContext& dc, const MenuPanel& panel);

// The item under a screen point, -1 for none.
int menuItemAt(const MenuPanel& panel, Point p);

}  // namespace platform::shell
