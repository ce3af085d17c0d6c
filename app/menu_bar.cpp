// The main window's menu bar: four shapes of soft keys (button or menu on each side), built
// from a screen's table of menu entries.

#include <map>

#include "app/application.h"
#include "core/language.h"

namespace app {

using namespace platform;

namespace {

// Bar shapes by their resource numbers 101 to 104.
SoftKeyKind leftKindOf(int shape) {
    return shape == 104 ? SoftKeyKind::Menu : SoftKeyKind::Button;
}

SoftKeyKind rightKindOf(int shape) {
    switch (shape) {
        case 101:
            return SoftKeyKind::Menu;
        case 102:
            return SoftKeyKind::Button;
        case 103:
            return SoftKeyKind::None;
        default:
            return SoftKeyKind::Menu;
    }
}

int shapeFor(int left, int right) {
    if (left == 1 && right == 0)
        return 103;
    if (left == 1 && right == 1)
        return 102;
    if (left > 1 && right > 1)
        return 104;
    return 101;
}

const ui::MenuEntry kDefaultEntries[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, 16},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, 17},
};

}  // namespace

void Application::showMenuBarShape(int shape) {
    MenuBarHandle& bar = menuBars_[shape - 101];
    if (!bar) {
        bar = createMenuBar(window_, {leftKindOf(shape), rightKindOf(shape),
                                      ui::command::LeftSoftKey, ui::command::RightSoftKey});
    }
    if (!fullScreen_)
        showMenuBar(bar, true);
    visibleBar_ = shape;
}

void Application::setMenuBar(std::span<const ui::MenuEntry> entries) {
    if (entries.empty())
        entries = kDefaultEntries;
    bool context = false;
    int left = 0, right = 0;
    for (const auto& e : entries) {
        if (e.kind == ui::menuKind::Context)
            context = true;
        if (e.kind == ui::menuKind::Left)
            ++left;
        if (e.kind == ui::menuKind::Right)
            ++right;
    }
    if (context) {
        // A context table only fills the context menu.
        if (!contextMenu_)
            contextMenu_ = createPopupMenu();
        removeAllMenuItems(contextMenu_);
        for (const auto& e : entries) {
            if (e.kind != ui::menuKind::Context)
                continue;
            if (e.commandId == ui::kSeparatorCommand) {
                appendMenu(contextMenu_, mf::Separator, 0, L"");
            } else {
                appendMenu(contextMenu_, mf::String, e.commandId,
                           core::languageString(e.stringNumber));
            }
        }
        return;
    }
    int shape = shapeFor(left, right);
    showMenuBarShape(shape);
    MenuBarHandle bar = menuBars_[shape - 101];
    MenuHandle menus[2] = {softKeyMenu(bar, 0), softKeyMenu(bar, 1)};
    for (MenuHandle m : menus) {
        if (m)
            removeAllMenuItems(m);
    }
    for (MenuHandle m : subMenus_) destroyMenu(m);
    subMenus_.clear();
    std::map<int, MenuHandle> subMenus;
    for (const auto& e : entries) {
        int side = e.kind == ui::menuKind::Left ? 0 : 1;
        std::wstring text = core::languageString(static_cast<int>(e.stringNumber));
        if (e.parent == ui::menuParent::SoftKey) {
            setSoftKeyText(bar, side, text);
            continue;
        }
        MenuHandle target = menus[side];
        if (e.parent == ui::menuParent::RightSubMenu1Items ||
            e.parent == ui::menuParent::RightSubMenu2Items) {
            int owner = e.parent - 1;
            auto it = subMenus.find(owner);
            if (it == subMenus.end())
                continue;
            target = it->second;
        } else if (e.parent == ui::menuParent::RightSubMenu1 ||
                   e.parent == ui::menuParent::RightSubMenu2) {
            if (!subMenus.count(e.parent)) {
                MenuHandle sub = createPopupMenu();
                subMenus[e.parent] = sub;
                subMenus_.push_back(sub);
                if (target)
                    appendMenu(target, mf::Popup, sub, text);
            }
            continue;
        }
        if (!target)
            continue;
        if (e.commandId == ui::kSeparatorCommand) {
            appendMenu(target, mf::Separator, 0, L"");
        } else {
            std::uint32_t flags = e.checked ? mf::String | mf::Checked : mf::String;
            if (!e.enabled)
                flags |= mf::Grayed;
            appendMenu(target, flags, e.commandId, text);
        }
    }
}

void Application::setSoftKey(int position, std::uint32_t commandId, std::wstring_view text) {
    if (!visibleBar_)
        return;
    MenuBarHandle bar = menuBars_[visibleBar_ - 101];
    if (position == 1 && commandId == ui::command::LeftSoftKey) {
        setSoftKeyText(bar, 0, text);
        return;
    }
    if (position == 2 && commandId == ui::command::RightSoftKey) {
        setSoftKeyText(bar, 1, text);
        return;
    }
    // Positions 2 to 4 also name items of the bar's pop-up menus by their command id.
    for (int side = 0; side < 2; ++side) {
        if (MenuHandle m = softKeyMenu(bar, side))
            setMenuItemText(m, commandId, text);
    }
    if (contextMenu_)
        setMenuItemText(contextMenu_, commandId, text);
}

}  // namespace app
