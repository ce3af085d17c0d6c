// Puts the shell on the program's screen: the bars, the key filters, the clock's minute
// tick, and a watch for changes the bars must follow (the title or the foreground window).

#include "platform/api/shell_install.h"
#include "platform/gui/window_system.h"
#include "platform/shell/key_filters.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/shell_internal.h"
#include "platform/shell/start_menu.h"
#include "platform/shell/task_bar.h"

namespace platform::shell {
namespace {

// Presses on the task bar belong to it, so that a window under the bar does not get taps it
// cannot show. A tap that goes down and up on the flag opens the start menu, which tracks
// the input that follows in a loop of its own, as the soft-key menus do.
bool taskBarInput(const gui::InputEvent& e) {
    static bool pressed = false;
    static bool onFlag = false;
    using Kind = gui::InputEvent::Kind;
    if (e.kind == Kind::PointerDown) {
        pressed = taskBarRect().contains(e.position);
        onFlag = startFlagRect().contains(e.position);
        return pressed;
    }
    if (e.kind == Kind::PointerMove)
        return pressed;
    if (e.kind == Kind::PointerUp) {
        bool was = pressed;
        bool open = onFlag && startFlagRect().contains(e.position);
        pressed = onFlag = false;
        if (open)
            openStartMenu();
        return was;
    }
    return false;
}

void tickEachMinute() {
    gui::deferAction(millisecondsToNextMinute() + 20, [] {
        markTaskBarChanged();
        tickEachMinute();
    });
}

// Runs whenever the program is about to wait: repaints a bar whose content changed without
// the shell being told (a window retitled, activated or destroyed) and forgets dead windows.
void watchWhenIdle() {
    static TaskBarLook taskBar;
    static MenuBarLook menuBar;
    gui::whenIdle([] {
        forgetMenuBarsOfDeadWindows();
        forgetFullScreenOfDeadWindows();
        forgetBackOverridesOfDeadWindows();
        if (TaskBarLook now = currentTaskBarLook(); !(now == taskBar)) {
            taskBar = now;
            markTaskBarChanged();
        }
        if (MenuBarLook now = currentMenuBarLook(); !(now == menuBar)) {
            menuBar = now;
            markMenuBarChanged();
        }
        watchWhenIdle();
    });
}

}  // namespace

void installBars() {
    gui::ScreenLayer task;
    task.z = z::Bars;
    task.paint = paintTaskBar;
    task.input = taskBarInput;
    task.area = taskBarRect;
    gui::addScreenLayer(std::move(task));

    gui::ScreenLayer menu;
    menu.z = z::Bars;
    menu.paint = paintMenuBar;
    menu.input = menuBarInput;
    menu.area = menuBarRect;
    gui::addScreenLayer(std::move(menu));
}

}  // namespace platform::shell

namespace platform {

void installShell() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    shell::installKeyFilters();
    shell::installBars();
    shell::tickEachMinute();
    shell::watchWhenIdle();
}

}  // namespace platform
