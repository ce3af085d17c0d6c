#include "tools/vorndev/today_items.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "platform/api/device.h"
#include "platform/api/draw.h"
#include "platform/api/process.h"
#include "platform/api/program.h"
#include "platform/api/registry.h"
#include "platform/api/shell.h"

namespace vorndev {

using namespace platform;

namespace {

constexpr wchar_t kItemsKey[] = L"Software\\Microsoft\\Today\\Items";
// Device paths and names from the registry are bounded like the handheld's MAX_PATH.
constexpr std::size_t kPathByteLimit = 520;

// The Today screen's own colours, which items ask for to blend in.
constexpr Colour kTextColour = rgb(20, 32, 56);
constexpr Colour kHighlightedTextColour = rgb(255, 255, 255);
constexpr Colour kHighlightColour = rgb(46, 104, 190);
constexpr Colour kLinesColour = rgb(150, 166, 196);

void logText(const std::wstring& text) {
    logLine(toUtf8(text));
}

}  // namespace

// An item window's procedure in the library, with the library's data for it.
struct TodayItems::Binding {
    VornTodayWindowProc proc = nullptr;
    void* data = nullptr;
};

struct TodayItems::Item {
    std::wstring name;
    VornTodayListItem record{};
    void* library = nullptr;
    WindowHandle window = 0;
    int height = 0;
};

namespace {

// Item windows of every item, by handle, and the binding of the window being created (its
// first messages arrive before createWindow returns its handle).
std::map<WindowHandle, TodayItems::Binding>& bindings() {
    static std::map<WindowHandle, TodayItems::Binding> b;
    return b;
}
std::optional<TodayItems::Binding>& pendingBinding() {
    static std::optional<TodayItems::Binding> p;
    return p;
}

const TodayItems::Binding* bindingOf(WindowHandle w) {
    auto& all = bindings();
    auto found = all.find(w);
    if (found == all.end()) {
        auto& pending = pendingBinding();
        if (!pending)
            return nullptr;
        found = all.emplace(w, *pending).first;
    }
    return &found->second;
}

// Paints an item: the library draws into a bitmap of the item's size, which then goes to the
// screen in one copy, so the item never flickers.
void paintItem(WindowHandle w, const TodayItems::Binding& b) {
    PaintSession session(w);
    Rect client = clientRect(w);
    Bitmap pixels(std::max(1, client.width()), std::max(1, client.height()));
    VornTodaySurface surface{pixels.width(), pixels.height(), pixels.stride(), pixels.bits()};
    b.proc(b.data, w, VORN_WM_TODAYCUSTOM_PAINT, 0,
           static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(&surface)));
    session.dc().drawBitmap(client, pixels, {0, 0});
}

LResult itemWindowProc(WindowHandle w, std::uint32_t msg, WParam wp, LParam lp) {
    const TodayItems::Binding* b = bindingOf(w);
    if (!b || !b->proc)
        return defWindowProc(w, msg, wp, lp);
    if (msg == wm::Paint) {
        paintItem(w, *b);
        return 0;
    }
    TodayItems::Binding copy = *b;  // the map may change while the library runs
    LResult result = copy.proc(copy.data, w, msg, wp, lp);
    if (msg == wm::Destroy)
        bindings().erase(w);
    return result;
}

void fillWatermark(const VornTodayWatermark& mark) {
    const VornTodaySurface* s = mark.surface;
    if (!s || !s->bits || s->width <= 0 || s->height <= 0 || s->stride < s->width * 3)
        return;
    int left = std::clamp(mark.rect.left, 0, s->width);
    int right = std::clamp(mark.rect.right, left, s->width);
    int top = std::clamp(mark.rect.top, 0, s->height);
    int bottom = std::clamp(mark.rect.bottom, top, s->height);
    // The same pale wash as the screen below its heading.
    Colour c = rgb(240, 244, 250);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = s->bits + static_cast<std::size_t>(s->height - 1 - y) * s->stride;
        for (int x = left; x < right; ++x) {
            row[x * 3] = static_cast<std::uint8_t>(blueOf(c));
            row[x * 3 + 1] = static_cast<std::uint8_t>(greenOf(c));
            row[x * 3 + 2] = static_cast<std::uint8_t>(redOf(c));
        }
    }
}

VornTodayRect toC(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// The C functions of the host table.
struct HostServices {
    static TodayItems& self(void* context) { return *static_cast<TodayItems*>(context); }

    static std::uint32_t createItemWindow(void* context, std::uint32_t parent,
                                          const wchar_t* className, VornTodayWindowProc proc,
                                          void* data) {
        TodayItems& items = self(context);
        if (!className || !proc || parent != items.screen_)
            return 0;
        std::wstring name(className, wcsnlen(className, 64));
        if (!isWindowClassRegistered(name))
            registerWindowClass({name, itemWindowProc, std::nullopt});
        pendingBinding() = TodayItems::Binding{proc, data};
        WindowCreate create;
        create.className = name;
        create.title = name;
        create.parent = parent;
        create.x = 0;
        create.y = 0;
        create.width = clientRect(parent).width();
        create.height = 1;
        WindowHandle w = createWindow(create);
        pendingBinding().reset();
        if (w)
            bindings()[w] = TodayItems::Binding{proc, data};
        return w;
    }
    static void destroyItemWindow(void*, std::uint32_t window) {
        if (bindings().count(window))
            destroyWindow(window);
    }
    static std::int32_t setItemTimer(void*, std::uint32_t window, std::uint32_t id,
                                     std::uint32_t ms) {
        return bindings().count(window) && setTimer(window, id, std::max<std::uint32_t>(ms, 10));
    }
    static std::int32_t killItemTimer(void*, std::uint32_t window, std::uint32_t id) {
        return bindings().count(window) && killTimer(window, id);
    }
    static void invalidate(void*, std::uint32_t window) {
        if (bindings().count(window))
            invalidateRect(window, nullptr, false);
    }
    static VornTodayRect itemClientRect(void*, std::uint32_t window) {
        return toC(bindings().count(window) ? clientRect(window) : Rect{});
    }
    static VornTodayRect screenWorkArea(void*) { return toC(platform::workArea()); }
    static std::int64_t request(void* context, std::uint32_t message, std::uint64_t wp,
                                std::int64_t lp) {
        TodayItems& items = self(context);
        switch (message) {
            case VORN_TODAYM_GETCOLOR:
                switch (wp) {
                    case VORN_TODAYCOLOR_TEXT:
                        return kTextColour;
                    case VORN_TODAYCOLOR_HIGHLIGHTEDTEXT:
                        return kHighlightedTextColour;
                    case VORN_TODAYCOLOR_HIGHLIGHT:
                        return kHighlightColour;
                    case VORN_TODAYCOLOR_LINES:
                        return kLinesColour;
                    default:
                        return kTextColour;
                }
            case VORN_TODAYM_TOOKSELECTION:
                for (std::size_t i = 0; i < items.items_.size(); ++i) {
                    if (items.items_[i]->window == wp && items.selected_ != static_cast<int>(i)) {
                        // The item already knows; only the one that had it is told.
                        if (items.selected_ >= 0)
                            sendMessage(items.items_[items.selected_]->window,
                                        VORN_WM_TODAYCUSTOM_LOSTSELECTION);
                        items.selected_ = static_cast<int>(i);
                    }
                }
                return 1;
            case VORN_TODAYM_DRAWWATERMARK:
                if (lp)
                    fillWatermark(*reinterpret_cast<const VornTodayWatermark*>(
                        static_cast<std::intptr_t>(lp)));
                return 1;
            default:
                return 0;
        }
    }
    static std::uint32_t popupMenu(void*, std::uint32_t window, std::int32_t x, std::int32_t y,
                                   const VornTodayMenuItem* entries, std::uint32_t count) {
        if (!bindings().count(window) || !entries || count > 64)
            return 0;
        MenuHandle menu = createPopupMenu();
        for (std::uint32_t i = 0; i < count; ++i) {
            const VornTodayMenuItem& e = entries[i];
            if (e.flags & VORN_TODAY_MENU_SEPARATOR) {
                appendMenu(menu, mf::Separator, 0, L"");
                continue;
            }
            std::wstring text = e.text ? std::wstring(e.text, wcsnlen(e.text, 256)) : L"";
            appendMenu(menu, (e.flags & VORN_TODAY_MENU_GRAYED) ? mf::Grayed : mf::String,
                       e.command, text);
        }
        std::uint32_t chosen = trackPopupMenu(menu, clientToScreen(window, {x, y}), window);
        destroyMenu(menu);
        return chosen;
    }
    static std::int32_t start(void*, const wchar_t* path, const wchar_t* arguments) {
        if (!path)
            return 0;
        std::wstring p(path, wcsnlen(path, 260));
        std::wstring a = arguments ? std::wstring(arguments, wcsnlen(arguments, 1024)) : L"";
        return startProgram(p, a).has_value() ? 1 : 0;
    }
    static std::wstring bounded(const wchar_t* text, std::size_t limit) {
        return text ? std::wstring(text, wcsnlen(text, limit)) : std::wstring();
    }
    static std::uint32_t find(void*, const wchar_t* cls, const wchar_t* title) {
        return findWindow(bounded(cls, 256), bounded(title, 256));
    }
    static std::int32_t post(void*, std::uint32_t window, std::uint32_t message, std::uint64_t wp,
                             std::int64_t lp) {
        // Addresses of the library's memory never travel.
        if (!messageMayCrossPrograms(message))
            return 0;
        return postMessage(window, message, wp, lp) ? 1 : 0;
    }
    static std::uint32_t registerName(void*, const wchar_t* name) {
        return name ? registerWindowMessage(bounded(name, 256)) : 0;
    }
    static std::int32_t box(void*, const wchar_t* text, const wchar_t* caption,
                            std::uint32_t flags) {
        return messageBox(0, bounded(text, 4096), bounded(caption, 256), flags);
    }
    static std::int64_t defaultProc(void*, std::uint32_t window, std::uint32_t message,
                                    std::uint64_t wp, std::int64_t lp) {
        return bindings().count(window) ? defWindowProc(window, message, wp, lp) : 0;
    }
    static void log(void*, const char* line) {
        if (line)
            logLine(std::string_view(line, strnlen(line, 1024)));
    }
};

TodayItems::TodayItems(WindowHandle screen) : screen_(screen) {
    deviceRoot_ = deviceRoot().string();
    host_.version = VORN_TODAY_ITEM_VERSION;
    host_.size = sizeof(VornTodayHost);
    host_.context = this;
    host_.deviceRoot = deviceRoot_.c_str();
    host_.createItemWindow = HostServices::createItemWindow;
    host_.destroyItemWindow = HostServices::destroyItemWindow;
    host_.setTimer = HostServices::setItemTimer;
    host_.killTimer = HostServices::killItemTimer;
    host_.invalidate = HostServices::invalidate;
    host_.clientRect = HostServices::itemClientRect;
    host_.workArea = HostServices::screenWorkArea;
    host_.request = HostServices::request;
    host_.trackPopupMenu = HostServices::popupMenu;
    host_.startProgram = HostServices::start;
    host_.findWindow = HostServices::find;
    host_.postMessage = HostServices::post;
    host_.registerMessage = HostServices::registerName;
    host_.messageBox = HostServices::box;
    host_.defaultProc = HostServices::defaultProc;
    host_.log = HostServices::log;
}

TodayItems::~TodayItems() {
    unload();
}

void TodayItems::unload() {
    for (auto& item : items_) {
        if (item->window && isWindow(item->window))
            destroyWindow(item->window);
    }
    // Libraries stay loaded: one may have left work with the C library (exit handlers,
    // cached state) that would run into unmapped code; loading it again reuses it.
    items_.clear();
    selected_ = -1;
}

void TodayItems::reload() {
    unload();
    failures_.clear();
    auto key = RegistryKey::open(Hive::LocalMachine, kItemsKey);
    if (!key)
        return;
    for (const auto& name : key->subKeys()) loadItem(name);
    refresh();
}

void TodayItems::loadItem(const std::wstring& name) {
    auto key = RegistryKey::open(Hive::LocalMachine, std::wstring(kItemsKey) + L"\\" + name);
    if (!key || key->queryDword(L"Enabled").value_or(1) == 0)
        return;
    auto leaveOut = [&](const std::wstring& why) {
        logText(L"Today: item " + name + L" left out: " + why);
        failures_.push_back(name + L": " + why);
    };
    auto devicePath = key->queryString(L"DLL", kPathByteLimit);
    if (!devicePath || devicePath->empty())
        return leaveOut(L"no DLL value");
    auto host = hostPath(*devicePath);
    if (!host || !fileExists(*devicePath))
        return leaveOut(L"no library at " + *devicePath);
    void* library = ::dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = ::dlerror();
        return leaveOut(L"cannot load " + *devicePath + L": " + fromUtf8(why ? why : "?"));
    }
    auto init =
        reinterpret_cast<VornTodayInitializeFunction>(::dlsym(library, "InitializeCustomItem"));
    if (!init)
        return leaveOut(*devicePath + L" has no InitializeCustomItem");
    auto item = std::make_unique<Item>();
    item->name = name;
    item->library = library;
    VornTodayListItem& r = item->record;
    r.version = VORN_TODAY_ITEM_VERSION;
    std::wcsncpy(r.name, name.c_str(), std::size(r.name) - 1);
    r.enabled = 1;
    r.options = key->queryDword(L"Options").value_or(0);
    r.library = library;
    r.host = &host_;
    WindowHandle w = init(&r, screen_);
    if (!w || !bindings().count(w))
        return leaveOut(L"the library did not start");
    item->window = w;
    r.window = w;
    items_.push_back(std::move(item));
}

bool TodayItems::refresh() {
    bool changed = false;
    for (auto& item : items_) {
        LResult r =
            sendMessage(item->window, VORN_WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0,
                        static_cast<LParam>(reinterpret_cast<std::intptr_t>(&item->record)));
        // A library cannot make the screen unusable with a silly height.
        int height = static_cast<int>(std::min<std::uint32_t>(item->record.height, 2000));
        if (r != 0 || height != item->height) {
            changed = changed || height != item->height;
            item->height = height;
        }
    }
    return changed;
}

int TodayItems::layout(int top, int width) {
    int y = top;
    for (auto& item : items_) {
        moveWindow(item->window, {0, y, width, y + item->height}, true);
        y += item->height;
    }
    return y;
}

WindowHandle TodayItems::window(std::size_t index) const {
    return index < items_.size() ? items_[index]->window : 0;
}

void TodayItems::select(int index) {
    if (index == selected_)
        return;
    if (selected_ >= 0 && selected_ < static_cast<int>(items_.size()))
        sendMessage(items_[selected_]->window, VORN_WM_TODAYCUSTOM_LOSTSELECTION);
    selected_ = index;
    if (selected_ >= 0)
        sendMessage(items_[selected_]->window, VORN_WM_TODAYCUSTOM_RECEIVEDSELECTION);
}

void TodayItems::clearSelection() {
    select(-1);
}

bool TodayItems::key(std::uint32_t virtualKey) {
    int n = static_cast<int>(items_.size());
    if (n == 0)
        return false;
    if (selected_ < 0) {
        if (virtualKey != vk::Down && virtualKey != vk::Up)
            return false;
        select(virtualKey == vk::Down ? 0 : n - 1);
        return true;
    }
    WindowHandle w = items_[selected_]->window;
    if (virtualKey == vk::Return) {
        sendMessage(w, VORN_WM_TODAYCUSTOM_ACTION);
        return true;
    }
    if (virtualKey != vk::Up && virtualKey != vk::Down && virtualKey != vk::Left &&
        virtualKey != vk::Right)
        return false;
    if (sendMessage(w, VORN_WM_TODAYCUSTOM_USERNAVIGATION, virtualKey) != 0)
        return true;
    // The item passed the key on: up and down move the selection to the neighbour.
    if (virtualKey == vk::Up)
        select(selected_ > 0 ? selected_ - 1 : -1);
    else if (virtualKey == vk::Down)
        select(selected_ + 1 < n ? selected_ + 1 : -1);
    return true;
}

}  // namespace vorndev
