#include "ui/module.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ui {

using platform::Point;
using platform::Rect;

Module::Module(ModuleHost& host) : layoutGeneration(host.layoutGeneration()), host_(host) {}

Module::~Module() {
    // Controls may still call back into the module while they go (native wrappers hand the
    // focus back), so they go before the rest of the module.
    focused_ = nullptr;
    if (capture_)
        setCaptureControl(nullptr);
    idIndex_.clear();
    while (!controls_.empty()) controls_.pop_back();
}

void Module::show(bool visible, bool focusFirst) {
    isActive = visible;
    // The controls keep their own visibility; only native child windows follow the module.
    for (auto& c : controls_) c->nativeShown(visible && c->isLive(currentPage));
    if (visible) {
        if (focusFirst) {
            focused_ = nullptr;
            for (auto& c : controls_) {
                if (c->isLive(currentPage) && c->canTakeFocus()) {
                    setFocusedControl(c.get(), false);
                    break;
                }
            }
        } else if (focused_) {
            focused_->focus(true, false);
        }
    } else if (focused_) {
        focused_->focus(false, false);
    }
}

void Module::paint(platform::DeviceContext& dc, const Rect& invalid) {
    for (auto& c : controls_) {
        if (c->isLive(currentPage) && c->isVisible && c->rect.intersects(invalid)) {
            c->paint(dc, invalid);
        }
    }
}

void Module::broadcast(int event, std::intptr_t data) {
    for (auto& c : controls_) {
        if (c->isLive(currentPage))
            controlEvent(*c, event, data);
    }
}

void Module::invalidate(bool redrawNow) {
    host_.invalidateAll(redrawNow);
}

void Module::invalidateRect(const Rect& r) {
    // Hosts take inclusive rectangles.
    host_.invalidateArea({r.left, r.top, r.right - 1, r.bottom - 1});
}

void Module::controlChanged(Control&) {}
bool Module::controlPressed(Control&) {
    return false;
}
void Module::controlEvent(Control&, int, std::intptr_t) {}
bool Module::key(std::uint32_t, std::uint32_t, platform::LParam) {
    return false;
}

void Module::focusChanged(bool gained) {
    if (gained && focused_)
        focused_->focus(true, true);
}

void Module::scrollFocusedIntoView() {
    if (!scrolls || !focused_)
        return;
    Rect client = platform::clientRect(host_.mainWindow());
    int dy = 0;
    if (focused_->rect.top < client.top)
        dy = focused_->rect.top - client.top;
    if (focused_->rect.bottom > client.bottom)
        dy = focused_->rect.bottom - client.bottom;
    if (dy != 0)
        scrollBy(dy);
}

void Module::scrollBy(int dy) {
    if (!scrolls || dy == 0)
        return;
    scrollY += dy;
    for (auto& c : controls_) c->place(c->rect.offset(0, -dy), nullptr);
    invalidate(false);
}

void Module::activationChanged(bool) {}
void Module::skinChanged(bool) {}
bool Module::command(std::uint32_t, std::intptr_t) {
    return false;
}

void Module::timer(std::uintptr_t id) {
    for (auto& c : controls_) {
        if (c->timer(id))
            return;
    }
}

void Module::pointer(std::uint32_t message, platform::WParam keys, Point point) {
    if (capture_) {
        capture_->pointer(message, keys, point);
        return;
    }
    Control* hit = controlAt(point);
    if (!hit)
        return;
    if (message == platform::wm::LButtonDown && hit != focused_ && hit->canTakeFocus()) {
        setFocusedControl(hit, true);
        scrollFocusedIntoView();
    }
    hit->pointer(message, keys, point);
}

bool Module::commsMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                          platform::LParam) {
    return false;
}

bool Module::embeddedMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                             platform::LParam) {
    return false;
}

void Module::contextMenuOpening(std::span<MenuEntry>) {}

Control& Module::addControl(std::unique_ptr<Control> control) {
    control->owner = this;
    controls_.push_back(std::move(control));
    // The index is stale now; findControl searches until it is rebuilt.
    idIndex_.clear();
    return *controls_.back();
}

Control* Module::findControl(int id) const {
    if (id >= 0 && static_cast<std::size_t>(id) < idIndex_.size() &&
        idIndex_[static_cast<std::size_t>(id)]) {
        return idIndex_[static_cast<std::size_t>(id)];
    }
    for (auto& c : controls_) {
        if (c->id == id)
            return c.get();
    }
    return nullptr;
}

namespace {

std::string readableTypeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

}  // namespace

void Module::controlTypeMismatch(int id, const Control& found, const std::type_info& wanted,
                                 const char* callerFile, unsigned callerLine) {
    std::fprintf(stderr, "%s:%u: control %d is a %s, not the %s asked for\n", callerFile,
                 callerLine, id, readableTypeName(typeid(found)).c_str(),
                 readableTypeName(wanted).c_str());
    std::abort();
}

void Module::rebuildIdIndex() {
    // Ids are small numbers in the layout tables; larger ones are found by searching.
    constexpr int kIndexedIds = 1024;
    idIndex_.clear();
    for (auto& c : controls_) {
        if (c->id < 0 || c->id >= kIndexedIds)
            continue;
        auto at = static_cast<std::size_t>(c->id);
        if (idIndex_.size() <= at)
            idIndex_.resize(at + 1, nullptr);
        // The first control with an id wins, as a search would find it.
        if (!idIndex_[at])
            idIndex_[at] = c.get();
    }
}

void Module::setPage(int page) {
    if (page == currentPage)
        return;
    if (focused_ && !focused_->isLive(page))
        setFocusedControl(nullptr, false);
    currentPage = page;
    for (auto& c : controls_) c->nativeShown(isActive && c->isLive(currentPage));
    if (!focused_)
        moveFocus(true);
    invalidate(false);
}

void Module::coverNativeControls(bool covered) {
    for (auto& c : controls_) c->nativeShown(!covered && isActive && c->isLive(currentPage));
}

void Module::setFocusedControl(Control* control, bool redraw) {
    if (control == focused_)
        return;
    Control* old = focused_;
    focused_ = control;
    if (old)
        old->focus(false, redraw);
    if (control)
        control->focus(true, redraw);
}

bool Module::moveFocus(bool forward) {
    std::vector<Control*> order;
    for (auto& c : controls_) {
        if (c->isLive(currentPage) && c->canTakeFocus())
            order.push_back(c.get());
    }
    if (order.empty())
        return false;
    auto it = std::find(order.begin(), order.end(), focused_);
    Control* next = nullptr;
    if (it == order.end()) {
        next = forward ? order.front() : order.back();
    } else if (forward && it + 1 != order.end()) {
        next = *(it + 1);
    } else if (!forward && it != order.begin()) {
        next = *(it - 1);
    }
    if (!next)
        return false;
    setFocusedControl(next, true);
    scrollFocusedIntoView();
    return true;
}

Control* Module::controlAt(Point point) const {
    // Later controls are drawn over earlier ones, so the last one under the point wins.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = it->get();
        if (c->isLive(currentPage) && c->isVisible && c->rect.contains(point))
            return c;
    }
    return nullptr;
}

void Module::setCaptureControl(Control* control) {
    capture_ = control;
    if (control) {
        platform::setCapture(host_.mainWindow());
    } else {
        platform::releaseCapture();
    }
}

}  // namespace ui
