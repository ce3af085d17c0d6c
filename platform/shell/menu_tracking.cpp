// Tracking a pop-up menu: a modal loop with the open panels as a screen layer that takes all
// input. The stylus picks an item on release; keys move the highlight, open and close
// sub-menus and choose; a tap outside or Back dismisses.

#include <algorithm>
#include <optional>

#include "platform/gui/window_system.h"
#include "platform/shell/key_filters.h"
#include "platform/shell/menu_model.h"
#include "platform/shell/menu_view.h"
#include "platform/shell/screen_area.h"

namespace platform::shell {
namespace {

struct Tracking {
    std::vector<MenuPanel> panels;  // the root first, the deepest open sub-menu last
    bool pointerHeld = false;       // the stylus went down inside the menu
    bool done = false;
    std::uint32_t chosen = 0;
    HeldInput held;
};

std::optional<Tracking>& tracking() {
    static auto* t = new std::optional<Tracking>();
    return *t;
}

const MenuItem* itemOf(const MenuPanel& panel, int index) {
    const auto* items = menuItems(panel.menu);
    if (!items || index < 0 || index >= static_cast<int>(items->size()))
        return nullptr;
    return &(*items)[static_cast<std::size_t>(index)];
}

Rect panelsArea(const Tracking& t) {
    Rect area;
    for (const MenuPanel& p : t.panels) area = area.unite(p.rect);
    return area;
}

// Closes the panels above the given depth, restoring what they covered.
void closePanelsAbove(Tracking& t, std::size_t depth) {
    while (t.panels.size() > depth + 1) {
        Rect covered = t.panels.back().rect;
        t.panels.pop_back();
        exposeScreenArea(covered);
    }
}

void openSubMenu(Tracking& t, std::size_t depth, int item, bool highlightFirst) {
    const MenuItem* it = itemOf(t.panels[depth], item);
    if (!it || !it->isPopup() || !it->isEnabled() || menuItemCount(it->subMenu) <= 0)
        return;
    if (t.panels.size() > depth + 1 && t.panels[depth + 1].openedFrom == item)
        return;
    closePanelsAbove(t, depth);
    MenuPanel sub = placeSubMenuPanel(it->subMenu, t.panels[depth], item);
    if (highlightFirst) {
        const auto* items = menuItems(sub.menu);
        for (std::size_t i = 0; items && i < items->size(); ++i) {
            if ((*items)[i].isSelectable()) {
                sub.highlight = static_cast<int>(i);
                break;
            }
        }
    }
    gui::markScreenChanged(sub.rect);
    t.panels.push_back(std::move(sub));
}

void moveHighlight(MenuPanel& panel, int step) {
    const auto* items = menuItems(panel.menu);
    int n = items ? static_cast<int>(items->size()) : 0;
    if (n == 0)
        return;
    int at = panel.highlight;
    if (at < 0)
        at = step > 0 ? -1 : n;
    for (int tries = 0; tries < n; ++tries) {
        at = ((at + step) % n + n) % n;
        if ((*items)[static_cast<std::size_t>(at)].isSelectable()) {
            panel.highlight = at;
            return;
        }
    }
}

void finish(Tracking& t, std::uint32_t chosen) {
    t.done = true;
    t.chosen = chosen;
}

// Activates an item: a sub-menu opens, a command is chosen.
void activate(Tracking& t, std::size_t depth, int item) {
    const MenuItem* it = itemOf(t.panels[depth], item);
    if (!it || !it->isSelectable())
        return;
    if (it->isPopup()) {
        openSubMenu(t, depth, item, true);
    } else {
        finish(t, it->commandId);
    }
}

void onKey(Tracking& t, std::uint32_t key) {
    std::size_t depth = t.panels.size() - 1;
    MenuPanel& panel = t.panels.back();
    switch (key) {
        case vk::Up:
        case vk::Down:
            moveHighlight(panel, key == vk::Up ? -1 : 1);
            break;
        case vk::Right: {
            const MenuItem* it = itemOf(panel, panel.highlight);
            if (it && it->isPopup())
                openSubMenu(t, depth, panel.highlight, true);
            break;
        }
        case vk::Left:
            if (depth > 0)
                closePanelsAbove(t, depth - 1);
            break;
        case vk::Escape:
            if (depth > 0) {
                closePanelsAbove(t, depth - 1);
            } else {
                finish(t, 0);
            }
            break;
        case vk::Return:
            activate(t, depth, panel.highlight);
            break;
        case vk::F1:
        case vk::F2:
            finish(t, 0);  // a soft key pressed while its menu is open closes it
            break;
        default:
            break;
    }
}

// The deepest panel under the point and its item there.
std::optional<std::pair<std::size_t, int>> hitTest(const Tracking& t, Point p) {
    for (std::size_t d = t.panels.size(); d-- > 0;) {
        if (t.panels[d].rect.contains(p))
            return std::pair{d, menuItemAt(t.panels[d], p)};
    }
    return std::nullopt;
}

// The stylus over an item: highlight it, and open the sub-menu it carries.
void pointAt(Tracking& t, std::size_t depth, int item) {
    const MenuItem* it = itemOf(t.panels[depth], item);
    bool keepDeeper = t.panels.size() > depth + 1 && t.panels[depth + 1].openedFrom == item;
    if (!keepDeeper)
        closePanelsAbove(t, depth);
    t.panels[depth].highlight = it && it->isSelectable() ? item : -1;
    if (it && it->isSelectable() && it->isPopup())
        openSubMenu(t, depth, item, false);
}

void onPointer(Tracking& t, const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    auto hit = hitTest(t, e.position);
    if (e.kind == Kind::PointerDown) {
        if (!hit) {
            swallowPointerUntilRelease();  // the tap that dismisses the menu goes no further
            return finish(t, 0);
        }
        t.pointerHeld = true;
        pointAt(t, hit->first, hit->second);
        return;
    }
    // Moves and the release of a press that began outside the menu (the hold that opened a
    // context menu) are ignored.
    if (!t.pointerHeld)
        return;
    if (e.kind == Kind::PointerMove) {
        if (hit) {
            pointAt(t, hit->first, hit->second);
        } else {
            t.panels.back().highlight = -1;
        }
        return;
    }
    t.pointerHeld = false;
    if (!hit)
        return;
    const MenuItem* it = itemOf(t.panels[hit->first], hit->second);
    if (it && it->isSelectable() && !it->isPopup())
        finish(t, it->commandId);
}

bool onInput(const gui::InputEvent& e) {
    auto& t = tracking();
    if (!t)
        return false;
    if (t->done) {
        t->held.hold(e);
        return true;
    }
    if (t->held.isOwnKeyFollowUp(e))
        return true;
    Rect before = panelsArea(*t);
    using Kind = gui::InputEvent::Kind;
    switch (e.kind) {
        case Kind::KeyDown:
            onKey(*t, e.key);
            break;
        case Kind::PointerDown:
        case Kind::PointerMove:
        case Kind::PointerUp:
            onPointer(*t, e);
            break;
        case Kind::CloseRequest:
            finish(*t, 0);
            t->held.hold(e);  // the windows get their close request too
            return true;
        default:
            break;
    }
    gui::markScreenChanged(before.unite(panelsArea(*t)));
    return true;
}

}  // namespace

bool isMenuTracking() {
    return tracking().has_value();
}

void cancelMenuTracking() {
    if (tracking())
        finish(*tracking(), 0);
}

std::uint32_t trackMenu(MenuHandle menu, Point anchor, MenuAnchor corner, WindowHandle owner,
                        bool notify) {
    if (isMenuTracking() || menuItemCount(menu) <= 0)
        return 0;
    tracking().emplace();
    tracking()->panels.push_back(placeMenuPanel(menu, anchor, corner));
    gui::ScreenLayer layer;
    layer.z = z::Menus;
    layer.paint = [](DeviceContext& dc) {
        if (!tracking())
            return;
        for (const MenuPanel& p : tracking()->panels) paintMenuPanel(dc, p);
    };
    layer.input = onInput;
    layer.area = [] { return tracking() ? panelsArea(*tracking()) : Rect{}; };
    int id = gui::addScreenLayer(std::move(layer));
    runModal([owner] {
        // A menu whose owner went away, or whose menu was destroyed, closes.
        auto& t = *tracking();
        if (owner && !isWindow(owner))
            finish(t, 0);
        if (!menuItems(t.panels.front().menu))
            finish(t, 0);
        return t.done;
    });
    std::uint32_t chosen = tracking()->done ? tracking()->chosen : 0;
    HeldInput held = std::move(tracking()->held);
    tracking().reset();
    gui::removeScreenLayer(id);
    held.putBack();
    if (chosen && notify && owner)
        postMessage(owner, wm::Command, chosen, 0);
    return chosen;
}

}  // namespace platform::shell

namespace platform {

std::uint32_t trackPopupMenu(MenuHandle menu, Point screenPoint, WindowHandle owner, bool notify) {
    return shell::trackMenu(menu, screenPoint, shell::MenuAnchor::TopLeft, owner, notify);
}

}  // namespace platform
