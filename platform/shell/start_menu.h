#pragma once
// The start menu behind the task bar's flag: the Today screen and the programs that have a
// window, to bring to the front. Internal to the shell.

#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/window.h"

namespace platform::shell {

// The window class of the Today screen.
constexpr std::wstring_view kTodayClass = L"VornToday";

struct StartMenuEntry {
    std::wstring label;
    WindowHandle window = 0;
    bool current = false;  // the window in front
    bool today = false;
};
// "Today" first when the Today screen runs, then one entry per other program with a visible,
// titled top-level window (its first such window), in the order the windows were made.
std::vector<StartMenuEntry> startMenuEntries();

// Where a tap opens the start menu: the flag at the task bar's left end. Empty while the
// bar is hidden or its owner asked for the start icon to be hidden.
Rect startFlagRect();
// Opens the menu under the flag and brings the chosen window to the front.
void openStartMenu();

}  // namespace platform::shell
