// The look of the main window: theme and skin reloading, and context menus.

#include <vector>

#include "app/application.h"
#include "gfx/theme.h"
#include "platform/api/shell.h"

namespace app {

using namespace platform;

void Application::reloadTheme(bool reloadBackground, bool redraw) {
    gfx::ThemeUpdate update = gfx::loadTheme(theme_, *decorations_, reloadBackground);
    if (update.skinChanged && currentModule_)
        currentModule_->skinChanged(redraw);
    if (window_ && redraw)
        invalidateAll(true);
}

void Application::reloadSkin(bool redraw) {
    gfx::reloadSkin(theme_, *decorations_);
    if (currentModule_)
        currentModule_->skinChanged(redraw);
    if (window_)
        invalidateAll(redraw);
}

bool Application::showContextMenu(ui::Module& module, Point point,
                                  std::span<const ui::MenuEntry> entries) {
    if (recognizeGesture(window_, point) != GestureContextMenu)
        return false;
    setMenuBar(entries);
    std::vector<ui::MenuEntry> copy(entries.begin(), entries.end());
    module.contextMenuOpening(copy);
    // The module may have changed texts: build the menu from its copy.
    setMenuBar(copy);
    if (!contextMenu_)
        return true;
    std::uint32_t chosen = trackPopupMenu(contextMenu_, clientToScreen(window_, point), window_);
    if (chosen)
        module.command(chosen, 0);
    return true;
}

}  // namespace app
