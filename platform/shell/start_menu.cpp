#include "platform/shell/start_menu.h"

#include <set>

#include "platform/api/shell.h"
#include "platform/shell/shell_internal.h"
#include "platform/shell/task_bar.h"

namespace platform::shell {

std::vector<StartMenuEntry> startMenuEntries() {
    std::vector<StartMenuEntry> entries;
    std::vector<WindowInfo> windows = listWindows();
    for (const WindowInfo& w : windows) {
        if (w.className == kTodayClass) {
            entries.push_back({L"Today", w.handle, w.foreground, true});
            break;
        }
    }
    std::set<int> listed;
    for (const WindowInfo& w : windows) {
        if (w.className == kTodayClass || !w.visible || w.title.empty() ||
            listed.count(w.processId) > 0)
            continue;
        listed.insert(w.processId);
        entries.push_back({w.title, w.handle, w.foreground, false});
    }
    return entries;
}

Rect startFlagRect() {
    Rect bar = taskBarRect();
    if (bar.isEmpty() || startIconHidden())
        return {};
    return {bar.left, bar.top, bar.left + scaled(26), bar.bottom};
}

void openStartMenu() {
    std::vector<StartMenuEntry> entries = startMenuEntries();
    if (entries.empty())
        return;
    MenuHandle menu = createPopupMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::uint32_t flags = mf::String | (entries[i].current ? mf::Checked : 0);
        appendMenu(menu, flags, i + 1, entries[i].label);
        // Today stands apart from the programs.
        if (entries[i].today && i + 1 < entries.size())
            appendMenu(menu, mf::Separator, 0, L"");
    }
    Rect flag = startFlagRect();
    std::uint32_t chosen = trackPopupMenu(menu, {flag.left, flag.bottom}, 0, false);
    destroyMenu(menu);
    if (chosen >= 1 && chosen <= entries.size())
        setForegroundWindow(entries[chosen - 1].window);
}

}  // namespace platform::shell
