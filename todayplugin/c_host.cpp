// The plug-in over the host's C table: the item host the home item talks to, the window link
// the shared core uses to find and tell other programs' windows, and the two exports' work.
// Nothing thrown inside the plug-in crosses into the host.

#include <cstring>
#include <exception>
#include <string>

#include "core/settings_keys.h"
#include "core/window_link.h"
#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/api/window.h"
#include "todayplugin/today_plugin.h"

namespace todayplugin {
namespace {

using platform::Rect;

bool usable(const VornTodayHost* h) {
    return h && h->version == VORN_TODAY_ITEM_VERSION && h->size >= sizeof(VornTodayHost) &&
           h->deviceRoot && h->createItemWindow && h->destroyItemWindow && h->setTimer &&
           h->killTimer && h->invalidate && h->clientRect && h->workArea && h->request &&
           h->trackPopupMenu && h->startProgram && h->findWindow && h->postMessage &&
           h->registerMessage && h->messageBox && h->defaultProc && h->log;
}

Rect fromC(const VornTodayRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

class CHost : public ItemHost {
  public:
    explicit CHost(const VornTodayHost& host) : host_(host) {}
    void setWindow(std::uint32_t window) { window_ = window; }
    std::uint32_t window() const { return window_; }

    void setTimer(std::uint32_t id, std::uint32_t ms) override {
        host_.setTimer(host_.context, window_, id, ms);
    }
    void killTimer(std::uint32_t id) override { host_.killTimer(host_.context, window_, id); }
    void invalidate() override { host_.invalidate(host_.context, window_); }
    Rect clientRect() override { return fromC(host_.clientRect(host_.context, window_)); }
    Rect workArea() override { return fromC(host_.workArea(host_.context)); }
    platform::Colour colour(HostColour which) override {
        static constexpr std::uint32_t kIndex[] = {
            VORN_TODAYCOLOR_TEXT, VORN_TODAYCOLOR_HIGHLIGHTEDTEXT, VORN_TODAYCOLOR_HIGHLIGHT,
            VORN_TODAYCOLOR_LINES};
        return static_cast<platform::Colour>(
            host_.request(host_.context, VORN_TODAYM_GETCOLOR, kIndex[static_cast<int>(which)], 0) &
            0xFFFFFF);
    }
    void tookSelection() override {
        host_.request(host_.context, VORN_TODAYM_TOOKSELECTION, window_, 0);
    }
    void drawWatermark(platform::Bitmap& target, const Rect& area) override {
        VornTodaySurface surface{target.width(), target.height(), target.stride(), target.bits()};
        VornTodayWatermark mark{&surface, {area.left, area.top, area.right, area.bottom}, window_};
        host_.request(host_.context, VORN_TODAYM_DRAWWATERMARK, 0,
                      static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(&mark)));
    }
    std::uint32_t popupMenu(platform::Point at, const std::vector<MenuEntry>& entries) override {
        std::vector<VornTodayMenuItem> items;
        for (const auto& e : entries) {
            std::uint32_t flags =
                e.command == 0 ? VORN_TODAY_MENU_SEPARATOR : VORN_TODAY_MENU_STRING;
            items.push_back({e.command, flags, e.text.c_str()});
        }
        return host_.trackPopupMenu(host_.context, window_, at.x, at.y, items.data(),
                                    static_cast<std::uint32_t>(items.size()));
    }
    bool startProgram(const std::wstring& path, const std::wstring& arguments) override {
        return host_.startProgram(host_.context, path.c_str(), arguments.c_str()) != 0;
    }

  private:
    const VornTodayHost& host_;
    std::uint32_t window_ = 0;
};

struct Loaded {
    const VornTodayHost* host = nullptr;
    std::unique_ptr<CHost> itemHost;
    std::unique_ptr<TodayPlugin> plugin;
};

Loaded& loaded() {
    static Loaded l;
    return l;
}

void log(const std::string& line) {
    if (const VornTodayHost* h = loaded().host)
        h->log(h->context, line.c_str());
}

// The shared core's words to other windows go through the host's window system.
int linkBox(std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
    const VornTodayHost* h = loaded().host;
    return h->messageBox(h->context, std::wstring(text).c_str(), std::wstring(caption).c_str(),
                         flags);
}
platform::WindowHandle linkFind(std::wstring_view cls, std::wstring_view title) {
    const VornTodayHost* h = loaded().host;
    return h->findWindow(h->context, std::wstring(cls).c_str(), std::wstring(title).c_str());
}
bool linkPost(platform::WindowHandle w, std::uint32_t id, platform::WParam wp,
              platform::LParam lp) {
    const VornTodayHost* h = loaded().host;
    return h->postMessage(h->context, w, id, wp, lp) != 0;
}
void linkRepaint(platform::WindowHandle) {}
// The plug-in never ends the host's program, whatever the core runs into.
void linkQuit(int) {}
std::uint32_t linkRegister(std::wstring_view name) {
    const VornTodayHost* h = loaded().host;
    return h->registerMessage(h->context, std::wstring(name).c_str());
}

// Joins the host: its device and its window system for the core.
void attach(const VornTodayHost* host) {
    Loaded& l = loaded();
    if (l.host == host)
        return;
    // A different host table: whatever was built over the old one goes first.
    l.plugin.reset();
    l.itemHost.reset();
    l.host = host;
    std::string root(host->deviceRoot, strnlen(host->deviceRoot, 4096));
    platform::setDeviceRoot(root);
    core::setWindowLink({&linkBox, &linkFind, &linkPost, &linkRepaint, &linkQuit, &linkRegister});
}

std::intptr_t itemProc(void*, std::uint32_t window, std::uint32_t message, std::uint64_t wp,
                       std::int64_t lp) {
    Loaded& l = loaded();
    if (!l.plugin || !l.itemHost || l.itemHost->window() != window)
        return l.host ? l.host->defaultProc(l.host->context, window, message, wp, lp) : 0;
    try {
        bool handled = false;
        std::int64_t result = l.plugin->handle(message, wp, lp, handled);
        if (handled)
            return static_cast<std::intptr_t>(result);
    } catch (const std::exception& e) {
        log(std::string("VornRoamerToday: ") + e.what());
        return 0;
    }
    return static_cast<std::intptr_t>(
        l.host->defaultProc(l.host->context, window, message, wp, lp));
}

}  // namespace

std::uint32_t initializeItem(VornTodayListItem* record, std::uint32_t parent) {
    if (!record || record->version != VORN_TODAY_ITEM_VERSION || !usable(record->host))
        return 0;
    if (!record->enabled)
        return 0;
    try {
        attach(record->host);
        Loaded& l = loaded();
        const VornTodayHost& h = *record->host;
        std::uint32_t window =
            h.createItemWindow(h.context, parent, kWindowClass, itemProc, nullptr);
        if (!window)
            return 0;
        if (!l.itemHost)
            l.itemHost = std::make_unique<CHost>(h);
        // An item that exists already moves to the new window.
        l.itemHost->setWindow(window);
        if (!l.plugin)
            l.plugin = std::make_unique<TodayPlugin>(*l.itemHost);
        l.plugin->ensureItem();
        l.plugin->item()->refreshColours();
        h.invalidate(h.context, window);
        return window;
    } catch (const std::exception& e) {
        log(std::string("VornRoamerToday: cannot start: ") + e.what());
        return 0;
    }
}

std::intptr_t optionsDialog(std::uint32_t dialog, std::uint32_t message, std::uint64_t wParam,
                            std::int64_t lParam) {
    switch (message) {
        case VORN_WM_INITDIALOG:
            return 1;
        case VORN_WM_COMMAND:
            // OK ends the dialog with 1; the host closes it on that answer.
            return (wParam & 0xFFFF) == VORN_IDOK ? 1 : 0;
        default: {
            const VornTodayHost* h = loaded().host;
            return h ? static_cast<std::intptr_t>(
                           h->defaultProc(h->context, dialog, message, wParam, lParam))
                     : 0;
        }
    }
}

}  // namespace todayplugin
