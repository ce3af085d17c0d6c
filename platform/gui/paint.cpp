// Painting: contexts onto a window's part of the program's screen.

#include "platform/gui/window_system.h"

namespace platform {

using namespace gui;

PaintSession::PaintSession(WindowHandle window) : window_(window) {
    auto* w = findLocal(window);
    Rect visible = w ? visibleClientRect(*w) : Rect{};
    if (w && w->invalid) {
        invalid_ = w->invalid->intersect(visible);
        erase_ = w->erase;
        w->invalid.reset();
        w->erase = false;
    }
    Rect origin = w ? screenRectOf(*w) : Rect{};
    // Invalid areas are coalesced, so the area painted now can cover children that were
    // never invalidated themselves; they paint again after this window.
    if (w && !invalid_.isEmpty()) {
        for (WindowHandle c : w->children) {
            auto* cd = findLocal(c);
            if (!cd || !cd->visible)
                continue;
            Rect inChild = invalid_.intersect(cd->rect).offset(-cd->rect.left, -cd->rect.top);
            if (!inChild.isEmpty())
                invalidateRect(c, &inChild, true);
        }
    }
    // The context draws only inside the invalid area.
    dc_ =
        std::make_unique<DeviceContext>(framebufferRef(), Point{origin.left, origin.top}, invalid_);
    if (w && erase_ && !invalid_.isEmpty()) {
        sendMessage(window, wm::EraseBackground, reinterpret_cast<WParam>(dc_.get()), 0);
    }
}

PaintSession::~PaintSession() {
    auto* w = findLocal(window_);
    if (w && !invalid_.isEmpty()) {
        Rect origin = screenRectOf(*w);
        markScreenChanged(invalid_.offset(origin.left, origin.top));
    }
}

std::unique_ptr<DeviceContext> windowDc(WindowHandle window) {
    auto* w = findLocal(window);
    if (!w)
        return std::make_unique<DeviceContext>();
    Rect origin = screenRectOf(*w);
    Rect visible = isShownOnScreen(*w) ? visibleClientRect(*w) : Rect{};
    markScreenChanged(visible.offset(origin.left, origin.top));
    return std::make_unique<DeviceContext>(framebufferRef(), Point{origin.left, origin.top},
                                           visible);
}

}  // namespace platform
