#pragma once
// The menus the program created: items with their flags, command ids and sub-menus.
// Internal to the shell.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/shell.h"

namespace platform::shell {

struct MenuItem {
    std::uint32_t flags = 0;
    std::uint32_t commandId = 0;  // 0 for separators and sub-menu items
    MenuHandle subMenu = 0;
    std::wstring text;

    bool isSeparator() const { return (flags & mf::Separator) != 0; }
    bool isPopup() const { return (flags & mf::Popup) != 0; }
    bool isEnabled() const { return (flags & (mf::Grayed | mf::Disabled)) == 0; }
    bool isChecked() const { return (flags & mf::Checked) != 0; }
    // Items the highlight can rest on.
    bool isSelectable() const { return !isSeparator() && isEnabled(); }
};

// The items of a menu; null for an unknown handle.
const std::vector<MenuItem>* menuItems(MenuHandle menu);

}  // namespace platform::shell
