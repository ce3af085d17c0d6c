// Menus as data: creation, items, and changes found by command id through sub-menus.

#include <map>
#include <set>

#include "platform/shell/menu_model.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

struct MenuTable {
    std::map<MenuHandle, std::vector<MenuItem>> menus;
    MenuHandle next = 1;
};

MenuTable& table() {
    static MenuTable* t = new MenuTable();
    return *t;
}

std::vector<MenuItem>* findMenu(MenuHandle menu) {
    auto it = table().menus.find(menu);
    return it == table().menus.end() ? nullptr : &it->second;
}

// True when `inner` is `outer` or is reachable through outer's sub-menus; appending outer
// into inner would then make a cycle.
bool reaches(MenuHandle outer, MenuHandle inner, std::set<MenuHandle>& seen) {
    if (outer == inner)
        return true;
    if (!seen.insert(outer).second)
        return false;
    const auto* items = findMenu(outer);
    if (!items)
        return false;
    for (const MenuItem& item : *items) {
        if (item.isPopup() && reaches(item.subMenu, inner, seen))
            return true;
    }
    return false;
}

// Finds the first item with the command id, depth first through sub-menus.
MenuItem* findItem(MenuHandle menu, std::uint32_t commandId, std::set<MenuHandle>& seen) {
    if (!seen.insert(menu).second)
        return nullptr;
    auto* items = findMenu(menu);
    if (!items)
        return nullptr;
    for (MenuItem& item : *items) {
        if (item.isPopup()) {
            if (MenuItem* found = findItem(item.subMenu, commandId, seen))
                return found;
        } else if (!item.isSeparator() && item.commandId == commandId) {
            return &item;
        }
    }
    return nullptr;
}

MenuItem* findItem(MenuHandle menu, std::uint32_t commandId) {
    std::set<MenuHandle> seen;
    return findItem(menu, commandId, seen);
}

void destroyTree(MenuHandle menu) {
    auto it = table().menus.find(menu);
    if (it == table().menus.end())
        return;
    std::vector<MenuItem> items = std::move(it->second);
    table().menus.erase(it);
    for (const MenuItem& item : items) {
        if (item.isPopup())
            destroyTree(item.subMenu);
    }
}

}  // namespace

const std::vector<MenuItem>* menuItems(MenuHandle menu) {
    return findMenu(menu);
}

}  // namespace platform::shell

namespace platform {

using namespace shell;

MenuHandle createPopupMenu() {
    MenuHandle h = table().next++;
    table().menus.emplace(h, std::vector<MenuItem>{});
    return h;
}

bool destroyMenu(MenuHandle menu) {
    if (!findMenu(menu))
        return false;
    // Sub-menus go with the menu that holds them, as on the handheld.
    destroyTree(menu);
    return true;
}

bool appendMenu(MenuHandle menu, std::uint32_t flags, std::uintptr_t idOrSubMenu,
                std::wstring_view text) {
    auto* items = findMenu(menu);
    if (!items)
        return false;
    MenuItem item;
    item.flags = flags;
    item.text = text;
    if (flags & mf::Separator) {
        item.flags = mf::Separator;
        item.text.clear();
    } else if (flags & mf::Popup) {
        auto sub = static_cast<MenuHandle>(idOrSubMenu);
        std::set<MenuHandle> seen;
        if (sub != idOrSubMenu || !findMenu(sub) || reaches(sub, menu, seen))
            return false;
        item.subMenu = sub;
    } else {
        item.commandId = static_cast<std::uint32_t>(idOrSubMenu);
    }
    findMenu(menu)->push_back(std::move(item));
    return true;
}

bool removeAllMenuItems(MenuHandle menu) {
    auto* items = findMenu(menu);
    if (!items)
        return false;
    // Removed sub-menus stay alive: whoever created them may still use or destroy them.
    items->clear();
    return true;
}

int menuItemCount(MenuHandle menu) {
    auto* items = findMenu(menu);
    return items ? static_cast<int>(items->size()) : -1;
}

bool setMenuItemText(MenuHandle menu, std::uint32_t commandId, std::wstring_view text) {
    MenuItem* item = findItem(menu, commandId);
    if (!item)
        return false;
    item->text = text;
    return true;
}

bool checkMenuItem(MenuHandle menu, std::uint32_t commandId, bool checked) {
    MenuItem* item = findItem(menu, commandId);
    if (!item)
        return false;
    item->flags = checked ? (item->flags | mf::Checked) : (item->flags & ~mf::Checked);
    return true;
}

bool enableMenuItem(MenuHandle menu, std::uint32_t commandId, bool enabled) {
    MenuItem* item = findItem(menu, commandId);
    if (!item)
        return false;
    item->flags =
        enabled ? (item->flags & ~(mf::Grayed | mf::Disabled)) : (item->flags | mf::Grayed);
    return true;
}

}  // namespace platform
