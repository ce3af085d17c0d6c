// The program's screen: the framebuffer, the shell's layers over it, presenting through the
// display backend, and the screen geometry every program sees (bars, work area, input panel).

#include <algorithm>
#include <map>

#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/gui/window_system.h"

namespace platform::gui {
namespace {

struct ScreenState {
    std::unique_ptr<DisplayBackend> backend;
    std::shared_ptr<Bitmap> framebuffer;
    Rect changed;
    std::map<int, ScreenLayer> layers;
    int nextLayerId = 1;
    std::map<int, std::function<void()>> screenHooks;
    int nextHookId = 1;
    bool sipShown = false;
    std::int64_t generation = -1;
};

ScreenState& state() {
    static ScreenState* s = new ScreenState();
    return *s;
}

std::vector<const ScreenLayer*> layersByZ() {
    std::vector<const ScreenLayer*> out;
    for (auto& [id, l] : state().layers) out.push_back(&l);
    std::stable_sort(out.begin(), out.end(),
                     [](const ScreenLayer* a, const ScreenLayer* b) { return a->z < b->z; });
    return out;
}

}  // namespace

void setDisplayBackend(std::unique_ptr<DisplayBackend> backend) {
    state().backend = std::move(backend);
    if (state().backend && state().framebuffer) {
        state().backend->screenResized(framebufferSize());
    }
}

DisplayBackend* displayBackend() {
    return state().backend.get();
}

std::shared_ptr<Bitmap> framebufferRef() {
    auto& s = state();
    if (!s.framebuffer) {
        ScreenProfile p = screenProfile();
        s.generation = screenGeneration();
        s.framebuffer = std::make_shared<Bitmap>(p.width, p.height);
        s.framebuffer->fill(0xFFFFFF);
        if (s.backend)
            s.backend->screenResized({p.width, p.height});
    }
    return s.framebuffer;
}

Bitmap& framebuffer() {
    return *framebufferRef();
}

Size framebufferSize() {
    auto& fb = framebuffer();
    return {fb.width(), fb.height()};
}

void markScreenChanged(const Rect& r) {
    Size size = framebufferSize();
    state().changed = state().changed.unite(r.intersect({0, 0, size.width, size.height}));
}

void composeAndPresent() {
    auto& s = state();
    if (s.changed.isEmpty())
        return;
    Rect changed = s.changed;
    // Layers are drawn over whatever the windows painted beneath them.
    DeviceContext dc(framebufferRef(), Point{0, 0},
                     Rect{0, 0, framebufferSize().width, framebufferSize().height});
    for (const ScreenLayer* l : layersByZ()) {
        if (!l->paint)
            continue;
        Rect area =
            l->area ? l->area() : Rect{0, 0, framebufferSize().width, framebufferSize().height};
        if (!area.intersects(changed))
            continue;
        dc.setClip(area);
        l->paint(dc);
        changed = changed.unite(area);
    }
    s.changed = Rect{};
    if (s.backend)
        s.backend->present(*s.framebuffer, changed);
}

void presentNow() {
    composeAndPresent();
}

int addScreenLayer(ScreenLayer layer) {
    auto& s = state();
    int id = s.nextLayerId++;
    Rect area =
        layer.area ? layer.area() : Rect{0, 0, framebufferSize().width, framebufferSize().height};
    s.layers.emplace(id, std::move(layer));
    markScreenChanged(area);
    return id;
}

void removeScreenLayer(int id) {
    auto& s = state();
    auto it = s.layers.find(id);
    if (it == s.layers.end())
        return;
    s.layers.erase(it);
    // Whatever the layer covered is painted again from the windows beneath.
    invalidateScreen();
}

void repaintLayers() {
    auto& s = state();
    for (auto& [id, l] : s.layers) {
        markScreenChanged(l.area ? l.area()
                                 : Rect{0, 0, framebufferSize().width, framebufferSize().height});
    }
    composeAndPresent();
}

bool offerInputToLayers(const InputEvent& event) {
    auto layers = layersByZ();
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        if ((*it)->input && (*it)->input(event))
            return true;
    }
    return false;
}

void invalidateScreen() {
    auto& ws = windowSystem();
    Size size = framebufferSize();
    DeviceContext dc(framebufferRef(), Point{0, 0}, Rect{0, 0, size.width, size.height});
    dc.fillRect(Rect{0, 0, size.width, size.height}, 0xFFFFFF);
    for (WindowHandle h : ws.zOrder) invalidateRect(h, nullptr, true);
    markScreenChanged(Rect{0, 0, size.width, size.height});
}

int onScreenChanged(std::function<void()> hook) {
    int id = state().nextHookId++;
    state().screenHooks.emplace(id, std::move(hook));
    return id;
}

// Follows a change of the screen profile made by any program (a rotation).
void applyScreenProfile() {
    auto& s = state();
    ScreenProfile p = screenProfile();
    Size old = framebufferSize();
    s.generation = screenGeneration();
    if (old.width == p.width && old.height == p.height)
        return;
    s.framebuffer = std::make_shared<Bitmap>(p.width, p.height);
    s.framebuffer->fill(0xFFFFFF);
    if (s.backend)
        s.backend->screenResized({p.width, p.height});
    relayoutTopLevelWindows(old, {p.width, p.height});
    for (auto& [id, hook] : s.screenHooks) hook();
    invalidateScreen();
}

bool sipIsShown() {
    return state().sipShown;
}
void setSipShown(bool shown) {
    state().sipShown = shown;
}

}  // namespace platform::gui

namespace platform {

using namespace gui;

int shellBarHeight() {
    // The bars are 26 pixels at scale 1.0; screens more than 320 pixels wide draw at 2.0.
    return screenSize().width > 320 ? 52 : 26;
}

Size screenSize() {
    return framebufferSize();
}

Rect workArea() {
    Size s = screenSize();
    return {0, shellBarHeight(), s.width, s.height};
}

int logPixelsPerInch() {
    return screenProfile().dpi;
}

SipInfo sipInfo() {
    Size s = screenSize();
    int bar = shellBarHeight();
    SipInfo info;
    info.shown = sipIsShown();
    int panelHeight = s.width > 320 ? 160 : 80;
    info.sipRect = {0, s.height - bar - panelHeight, s.width, s.height - bar};
    // Without the panel the visible desktop reaches the bottom of the screen, under the menu
    // bar; programs leave the bar its room themselves.
    info.visibleDesktop = {0, bar, s.width, info.shown ? info.sipRect.top : s.height};
    return info;
}

}  // namespace platform
