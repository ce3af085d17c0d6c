// Menu bars: one or more per top-level window, one of them shown; two soft keys that send a
// command to the owner or open a pop-up menu above themselves.

#include <map>

#include "platform/gui/window_system.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

struct SoftKey {
    SoftKeyKind kind = SoftKeyKind::None;
    std::uint32_t command = 0;
    std::wstring text;
    bool enabled = true;
    MenuHandle menu = 0;
};

struct MenuBar {
    WindowHandle owner = 0;
    SoftKey keys[2];
    bool visible = false;
};

struct MenuBarState {
    std::map<MenuBarHandle, MenuBar> bars;
    MenuBarHandle next = 1;
    bool tracking = false;         // the stylus went down on the bar and is not up yet
    BarPart held = BarPart::None;  // the part it went down on
    bool heldInside = false;       // ... and is still over
    int openMenuSide = -1;         // the soft key whose menu is open
};

MenuBarState& state() {
    static auto* s = new MenuBarState();
    return *s;
}

MenuBar* findBar(MenuBarHandle bar) {
    auto it = state().bars.find(bar);
    return it == state().bars.end() ? nullptr : &it->second;
}

SoftKey* findKey(MenuBarHandle bar, int side) {
    MenuBar* b = findBar(bar);
    return (b && (side == 0 || side == 1)) ? &b->keys[side] : nullptr;
}

Rect fullBarRect() {
    Size s = screenSize();
    return {0, s.height - shellBarHeight(), s.width, s.height};
}

BarPart partAt(Point p) {
    for (BarPart part : {BarPart::LeftKey, BarPart::RightKey, BarPart::SipButton}) {
        if (barPartRect(part).contains(p))
            return part;
    }
    return BarPart::None;
}

bool keyIsPressable(const SoftKey& key) {
    return key.kind != SoftKeyKind::None && key.enabled;
}

void drawSoftKey(DeviceContext& dc, const SoftKey& key, const Rect& r, bool pressed) {
    if (key.kind == SoftKeyKind::None)
        return;
    if (pressed)
        fillBar(dc, r, true);
    dc.setTextColour(key.enabled ? colour::BarText : colour::BarTextDisabled);
    Size text = dc.textExtent(key.text);
    bool menu = key.kind == SoftKeyKind::Menu;
    int arrow = menu ? scaled(4) : 0;
    int gap = menu && !key.text.empty() ? scaled(4) : 0;
    int width = std::min(text.width + gap + 2 * arrow, r.width() - scaled(4));
    int left = r.left + (r.width() - width) / 2;
    Rect textRect{left, r.top, left + width - gap - 2 * arrow, r.bottom};
    dc.drawText(key.text, textRect, dt::SingleLine | dt::VCenter | dt::Left | dt::EndEllipsis);
    if (menu) {
        Point centre{textRect.right + gap + arrow, r.top + r.height() / 2};
        fillTriangleUp(dc, centre, arrow, key.enabled ? colour::BarText : colour::BarTextDisabled);
    }
}

// A small keyboard: a frame with two rows of keys and a space bar.
void drawSipButton(DeviceContext& dc, const Rect& r, bool pressed) {
    if (pressed)
        fillBar(dc, r, true);
    int s = scale();
    int w = 19 * s, h = 12 * s;
    Rect k = rectOfSize(r.left + (r.width() - w) / 2, r.top + (r.height() - h) / 2, w, h);
    dc.frameRect(k, colour::BarText);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
            dc.fillRect(
                rectOfSize(k.left + (2 + 3 * col) * s, k.top + (2 + 3 * row) * s, 2 * s, 2 * s),
                colour::BarText);
        }
    }
    dc.fillRect(rectOfSize(k.left + 5 * s, k.top + 8 * s, 9 * s, 2 * s), colour::BarText);
}

void activatePart(BarPart part) {
    if (part == BarPart::SipButton) {
        showSip(!gui::sipIsShown());
    } else if (part != BarPart::None) {
        pressSoftKey(barOwnerWindow(), static_cast<int>(part));
    }
}

}  // namespace

Rect barPartRect(BarPart part) {
    Rect bar = menuBarRect();
    if (bar.isEmpty())
        return {};
    int w = bar.width();
    switch (part) {
        case BarPart::LeftKey:
            return {bar.left, bar.top, bar.left + w * 2 / 5, bar.bottom};
        case BarPart::SipButton:
            if (hidesSipButton(barOwnerWindow()))
                return {};
            return {bar.left + w * 2 / 5, bar.top, bar.left + w * 3 / 5, bar.bottom};
        case BarPart::RightKey:
            return {bar.left + w * 3 / 5, bar.top, bar.right, bar.bottom};
        case BarPart::None:
            break;
    }
    return {};
}

MenuBarLook currentMenuBarLook() {
    MenuBarLook look;
    look.owner = barOwnerWindow();
    look.bar = visibleMenuBar(look.owner);
    look.area = menuBarRect();
    look.sipButton = !barPartRect(BarPart::SipButton).isEmpty();
    return look;
}

Rect menuBarRect() {
    WindowHandle owner = barOwnerWindow();
    Rect bar = fullBarRect();
    if (owner && !visibleMenuBar(owner) && windowRect(owner).intersects(bar))
        return {};
    return bar;
}

void markMenuBarChanged() {
    gui::markScreenChanged(fullBarRect());
}

void paintMenuBar(DeviceContext& dc) {
    Rect bar = menuBarRect();
    if (bar.isEmpty())
        return;
    fillBar(dc, bar);
    auto& st = state();
    const MenuBar* shown = findBar(visibleMenuBar(barOwnerWindow()));
    dc.setBackgroundMode(BackgroundMode::Transparent);
    FontRef oldFont = dc.selectFont(shellFont(12, true));
    for (int side = 0; side < 2 && shown; ++side) {
        const SoftKey& key = shown->keys[side];
        auto part = static_cast<BarPart>(side);
        bool pressed =
            keyIsPressable(key) && (st.openMenuSide == side || (st.held == part && st.heldInside));
        drawSoftKey(dc, key, barPartRect(part), pressed);
    }
    Rect sip = barPartRect(BarPart::SipButton);
    if (!sip.isEmpty()) {
        bool held = st.held == BarPart::SipButton && st.heldInside;
        drawSipButton(dc, sip, held || gui::sipIsShown());
    }
    dc.selectFont(oldFont);
}

bool menuBarInput(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    auto& st = state();
    switch (e.kind) {
        case Kind::PointerDown:
            if (!menuBarRect().contains(e.position))
                return false;
            st.tracking = true;
            st.held = partAt(e.position);
            st.heldInside = true;
            markMenuBarChanged();
            return true;
        case Kind::PointerMove:
            if (!st.tracking)
                return false;
            if (bool inside = partAt(e.position) == st.held; inside != st.heldInside) {
                st.heldInside = inside;
                markMenuBarChanged();
            }
            return true;
        case Kind::PointerUp: {
            if (!st.tracking)
                return false;
            BarPart part = partAt(e.position) == st.held ? st.held : BarPart::None;
            st.tracking = false;
            st.held = BarPart::None;
            st.heldInside = false;
            markMenuBarChanged();
            activatePart(part);
            return true;
        }
        default:
            return false;
    }
}

void forgetMenuBarsOfDeadWindows() {
    std::vector<MenuBarHandle> dead;
    for (auto& [h, bar] : state().bars) {
        if (!gui::findLocal(bar.owner))
            dead.push_back(h);
    }
    for (MenuBarHandle h : dead) destroyMenuBar(h);
}

}  // namespace platform::shell

namespace platform {

using namespace shell;

MenuBarHandle createMenuBar(WindowHandle owner, const MenuBarSpec& spec) {
    auto* w = gui::findLocal(owner);
    if (!w || w->parent)
        return 0;
    MenuBar bar;
    bar.owner = owner;
    bar.keys[0] = {spec.left, spec.leftCommand, {}, true, 0};
    bar.keys[1] = {spec.right, spec.rightCommand, {}, true, 0};
    for (SoftKey& key : bar.keys) {
        if (key.kind == SoftKeyKind::Menu)
            key.menu = createPopupMenu();
    }
    MenuBarHandle handle = state().next++;
    state().bars.emplace(handle, std::move(bar));
    // A new bar is shown at once, as the handheld's shell does.
    showMenuBar(handle, true);
    return handle;
}

bool destroyMenuBar(MenuBarHandle bar) {
    MenuBar* b = findBar(bar);
    if (!b)
        return false;
    for (SoftKey& key : b->keys) {
        if (key.menu)
            destroyMenu(key.menu);
    }
    state().bars.erase(bar);
    markMenuBarChanged();
    return true;
}

bool showMenuBar(MenuBarHandle bar, bool show) {
    MenuBar* b = findBar(bar);
    if (!b)
        return false;
    if (show) {
        for (auto& [h, other] : state().bars) {
            if (other.owner == b->owner)
                other.visible = false;
        }
    }
    b->visible = show;
    markMenuBarChanged();
    return true;
}

MenuBarHandle visibleMenuBar(WindowHandle owner) {
    if (!owner)
        return 0;
    for (auto& [h, bar] : state().bars) {
        if (bar.owner == owner && bar.visible)
            return h;
    }
    return 0;
}

bool setSoftKeyText(MenuBarHandle bar, int side, std::wstring_view text) {
    SoftKey* key = findKey(bar, side);
    if (!key)
        return false;
    key->text = text;
    markMenuBarChanged();
    return true;
}

std::wstring softKeyText(MenuBarHandle bar, int side) {
    SoftKey* key = findKey(bar, side);
    return key ? key->text : std::wstring();
}

bool enableSoftKey(MenuBarHandle bar, int side, bool enabled) {
    SoftKey* key = findKey(bar, side);
    if (!key)
        return false;
    key->enabled = enabled;
    markMenuBarChanged();
    return true;
}

MenuHandle softKeyMenu(MenuBarHandle bar, int side) {
    SoftKey* key = findKey(bar, side);
    return key ? key->menu : 0;
}

void pressSoftKey(WindowHandle owner, int side) {
    SoftKey* key = findKey(visibleMenuBar(owner), side);
    if (!key || !keyIsPressable(*key))
        return;
    if (key->kind == SoftKeyKind::Button) {
        postMessage(owner, wm::Command, key->command, 0);
        return;
    }
    if (menuItemCount(key->menu) <= 0)
        return;
    // The menu opens just above its key: the left key's from its left edge, the right key's
    // towards the left from the screen's right edge.
    Rect keyRect = barPartRect(static_cast<BarPart>(side));
    Point anchor = side == 0 ? Point{keyRect.left, keyRect.top} : Point{keyRect.right, keyRect.top};
    state().openMenuSide = side;
    markMenuBarChanged();
    MenuHandle menu = key->menu;
    trackMenu(menu, anchor, side == 0 ? MenuAnchor::BottomLeft : MenuAnchor::BottomRight, owner,
              true);
    state().openMenuSide = -1;
    markMenuBarChanged();
}

}  // namespace platform
