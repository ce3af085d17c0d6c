// Shared drawing helpers of the shell, the window its bars belong to, and the modal loop.

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "platform/gui/window_system.h"
#include "platform/shell/screen_area.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {

int scale() {
    return screenSize().width > 320 ? 2 : 1;
}

FontRef shellFont(int emPixels, bool bold) {
    static auto* cache = new std::map<std::tuple<int, bool>, FontRef>();
    int height = emPixels * scale();
    auto key = std::make_tuple(height, bold);
    auto it = cache->find(key);
    if (it != cache->end())
        return it->second;
    FontSpec spec;
    spec.face = L"Tahoma";
    spec.height = -height;
    spec.weight = bold ? 700 : 400;
    FontRef font = Font::create(spec);
    cache->emplace(key, font);
    return font;
}

void fillVerticalGradient(DeviceContext& dc, const Rect& r, Colour top, Colour bottom) {
    int h = r.height();
    for (int y = 0; y < h; ++y) {
        auto mix = [&](int a, int b) { return h > 1 ? a + (b - a) * y / (h - 1) : a; };
        Colour c = rgb(mix(redOf(top), redOf(bottom)), mix(greenOf(top), greenOf(bottom)),
                       mix(blueOf(top), blueOf(bottom)));
        dc.fillRect(Rect{r.left, r.top + y, r.right, r.top + y + 1}, c);
    }
}

void fillBar(DeviceContext& dc, const Rect& r, bool pressed) {
    fillVerticalGradient(dc, r, pressed ? colour::BarPressedTop : colour::BarTop,
                         pressed ? colour::BarPressedBottom : colour::BarBottom);
}

void fillTriangleUp(DeviceContext& dc, Point c, int halfWidth, Colour colour) {
    // A flat triangle, half as tall as it is wide, with its base centred below the point.
    int h = std::max(1, halfWidth);
    for (int row = 0; row < h; ++row) {
        int half = row;
        int y = c.y - h / 2 + row;
        dc.fillRect(Rect{c.x - half, y, c.x + half + 1, y + 1}, colour);
    }
}

void fillTriangleRight(DeviceContext& dc, Point c, int halfHeight, Colour colour) {
    int w = std::max(1, halfHeight);
    for (int col = 0; col < w; ++col) {
        int half = w - 1 - col;
        int x = c.x - w / 2 + col;
        dc.fillRect(Rect{x, c.y - half, x + 1, c.y + half + 1}, colour);
    }
}

WindowHandle barOwnerWindow() {
    auto& ws = gui::windowSystem();
    WindowHandle active = ws.active;
    if (auto* w = gui::findLocal(active); w && w->visible)
        return active;
    for (auto it = ws.zOrder.rbegin(); it != ws.zOrder.rend(); ++it) {
        if (auto* w = gui::findLocal(*it); w && w->visible)
            return *it;
    }
    return 0;
}

bool HeldInput::isOwnKeyFollowUp(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    bool characterDue = std::exchange(characterDue_, false);
    switch (e.kind) {
        case Kind::KeyDown:
            if (std::find(keysDown_.begin(), keysDown_.end(), e.key) == keysDown_.end()) {
                keysDown_.push_back(e.key);
            }
            characterDue_ = true;
            return false;
        case Kind::Char:
            return characterDue;
        case Kind::KeyUp: {
            auto it = std::find(keysDown_.begin(), keysDown_.end(), e.key);
            if (it == keysDown_.end())
                return false;
            keysDown_.erase(it);
            return true;
        }
        default:
            return false;
    }
}

void HeldInput::hold(const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    if (e.kind == Kind::KeyUp || e.kind == Kind::Char) {
        if (isOwnKeyFollowUp(e))
            return;
    } else {
        characterDue_ = false;  // key presses after the layer finished are the windows'
    }
    if (held_.empty()) {
        // The loop already followed this event's press or release; replaying it later must
        // start from the state before it.
        bool now = gui::windowSystem().pointerDown;
        pointerDownBefore_ = e.kind == Kind::PointerDown ? false
                             : e.kind == Kind::PointerUp ? true
                                                         : now;
    }
    held_.push_back(e);
}

void HeldInput::putBack() {
    auto& input = gui::windowSystem().input;
    if (!held_.empty())
        gui::windowSystem().pointerDown = pointerDownBefore_;
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) input.push_front(*it);
    if (!held_.empty())
        gui::wakeLoop();
    held_.clear();
}

bool runModal(const std::function<bool()>& done, int stepMs) {
    while (!done()) {
        if (!gui::pumpModal(stepMs))
            return false;
    }
    return true;
}

}  // namespace platform::shell

namespace platform::shell {

void exposeScreenArea(const Rect& area) {
    Size size = screenSize();
    Rect r = area.intersect({0, 0, size.width, size.height});
    if (r.isEmpty())
        return;
    DeviceContext dc(gui::framebufferRef(), Point{0, 0}, r);
    dc.fillRect(r, 0xFFFFFF);
    for (WindowHandle h : gui::windowSystem().zOrder) {
        Rect inWindow = r.intersect(windowRect(h));
        if (inWindow.isEmpty())
            continue;
        Point origin = clientToScreen(h, {0, 0});
        Rect client = inWindow.offset(-origin.x, -origin.y);
        invalidateRect(h, &client, true);
    }
    gui::markScreenChanged(r);
}

}  // namespace platform::shell
