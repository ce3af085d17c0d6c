// Windows of this program: classes, creation and destruction, geometry, visibility, focus,
// activation and capture.

#include <unistd.h>

#include <algorithm>
#include <cwctype>

#include "platform/api/device.h"
#include "platform/api/shell.h"
#include "platform/gui/device_windows.h"
#include "platform/gui/ipc.h"
#include "platform/gui/window_system.h"

namespace platform::gui {
namespace {

std::wstring lower(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

void syncDeviceRow(const WindowData& w) {
    updateDeviceWindow(w.handle, w.title, w.visible, w.parent ? w.rect : screenRectOf(w));
}

// Invalidates what lies under a window that moved away or disappeared.
void exposeArea(WindowHandle parent, const Rect& rectInParent) {
    if (parent) {
        invalidateRect(parent, &rectInParent, true);
    } else {
        invalidateScreen();
    }
}

}  // namespace

WindowSystem& windowSystem() {
    static WindowSystem* ws = new WindowSystem();  // lives until exit; windows die first
    return *ws;
}

WindowData* findLocal(WindowHandle handle) {
    auto& ws = windowSystem();
    auto it = ws.windows.find(handle);
    return (it == ws.windows.end() || it->second->destroying) ? nullptr : it->second.get();
}

Rect screenRectOf(const WindowData& w) {
    Rect r = w.rect;
    WindowHandle p = w.parent;
    while (p) {
        auto* pd = findLocal(p);
        if (!pd)
            break;
        r = r.offset(pd->rect.left, pd->rect.top);
        p = pd->parent;
    }
    return r;
}

Rect visibleClientRect(const WindowData& w) {
    Rect screen = screenRectOf(w);
    Rect visible = screen;
    WindowHandle p = w.parent;
    while (p) {
        auto* pd = findLocal(p);
        if (!pd)
            break;
        visible = visible.intersect(screenRectOf(*pd));
        p = pd->parent;
    }
    Size fb = framebufferSize();
    visible = visible.intersect(Rect{0, 0, fb.width, fb.height});
    return visible.offset(-screen.left, -screen.top);
}

bool isShownOnScreen(const WindowData& w) {
    const WindowData* cur = &w;
    while (cur) {
        if (!cur->visible)
            return false;
        if (!cur->parent)
            return true;
        cur = findLocal(cur->parent);
    }
    return false;
}

WindowHandle windowAtScreenPoint(Point p) {
    auto& ws = windowSystem();
    for (auto it = ws.zOrder.rbegin(); it != ws.zOrder.rend(); ++it) {
        auto* w = findLocal(*it);
        if (!w || !w->visible || !w->rect.contains(p))
            continue;
        // Descend into the topmost visible child under the point.
        for (;;) {
            WindowHandle hit = 0;
            Rect origin = screenRectOf(*w);
            Point local{p.x - origin.left, p.y - origin.top};
            for (auto c = w->children.rbegin(); c != w->children.rend(); ++c) {
                auto* cd = findLocal(*c);
                if (cd && cd->visible && cd->rect.contains(local)) {
                    hit = *c;
                    break;
                }
            }
            if (!hit)
                return w->handle;
            w = findLocal(hit);
        }
    }
    return 0;
}

}  // namespace platform::gui

namespace platform {

using namespace gui;

bool registerWindowClass(const WindowClass& cls) {
    auto& ws = windowSystem();
    std::wstring key = lower(cls.name);
    if (key.empty() || ws.classes.count(key))
        return false;
    ws.classes.emplace(key, cls);
    return true;
}

bool isWindowClassRegistered(std::wstring_view name) {
    return windowSystem().classes.count(lower(name)) != 0;
}

WindowHandle createWindow(const WindowCreate& create) {
    auto& ws = windowSystem();
    auto cls = ws.classes.find(lower(create.className));
    if (cls == ws.classes.end())
        return 0;
    if (create.parent && !findLocal(create.parent))
        return 0;
    Endpoint::own();  // other programs reach this window through the program's socket

    auto data = std::make_unique<WindowData>();
    data->className = cls->second.name;
    data->title = create.title;
    data->proc = cls->second.proc;
    data->parent = create.parent;
    data->style = create.style;
    data->controlId = create.controlId;
    data->background = cls->second.background;
    data->visible = create.visible;
    if (create.parent) {
        data->rect =
            rectOfSize(create.x == UseDefault ? 0 : create.x, create.y == UseDefault ? 0 : create.y,
                       create.width == UseDefault ? 0 : create.width,
                       create.height == UseDefault ? 0 : create.height);
    } else {
        // A default window fills the visible desktop above the menu bar.
        Rect desk = sipInfo().visibleDesktop;
        desk.bottom = std::min(desk.bottom, sipInfo().sipRect.bottom);
        data->rect = rectOfSize(create.x == UseDefault ? desk.left : create.x,
                                create.y == UseDefault ? desk.top : create.y,
                                create.width == UseDefault ? desk.width() : create.width,
                                create.height == UseDefault ? desk.height() : create.height);
    }

    DeviceWindow row;
    row.parent = create.parent;
    row.className = data->className;
    row.title = data->title;
    row.program = ownDevicePath();
    row.visible = data->visible;
    row.rect = data->rect;
    data->handle = registerDeviceWindow(row);
    WindowHandle handle = data->handle;
    ws.windows.emplace(handle, std::move(data));
    if (create.parent) {
        findLocal(create.parent)->children.push_back(handle);
    } else {
        ws.zOrder.push_back(handle);
    }

    WindowCreate copy = create;
    if (sendMessage(handle, wm::Create, 0, reinterpret_cast<LParam>(&copy)) == -1) {
        destroyWindow(handle);
        return 0;
    }
    auto* w = findLocal(handle);
    if (!w)
        return 0;
    sendMessage(handle, wm::Size, 0, makeLParam(w->rect.width(), w->rect.height()));
    if (w->visible) {
        sendMessage(handle, wm::ShowWindow, 1, 0);
        invalidateRect(handle, nullptr, true);
        // A program's new visible top-level window comes to the front, as a started program
        // does on the handheld.
        if (!create.parent)
            activateLocal(handle, true);
    }
    return handle;
}

bool destroyWindow(WindowHandle handle) {
    auto& ws = windowSystem();
    auto* w = findLocal(handle);
    if (!w)
        return false;
    // Children go first, top to bottom.
    std::vector<WindowHandle> children = w->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) destroyWindow(*it);
    w = findLocal(handle);
    if (!w)
        return false;
    sendMessage(handle, wm::Destroy, 0, 0);
    w = findLocal(handle);
    if (!w)
        return false;
    w->destroying = true;
    WindowHandle parent = w->parent;
    Rect area = w->rect;
    bool wasVisible = w->visible;
    if (ws.focus == handle)
        ws.focus = 0;
    if (ws.capture == handle)
        ws.capture = 0;
    if (ws.active == handle)
        ws.active = 0;
    if (parent) {
        if (auto* p = findLocal(parent))
            std::erase(p->children, handle);
    } else {
        std::erase(ws.zOrder, handle);
    }
    forgetDeviceWindow(handle);
    if (deviceForegroundWindow() == handle)
        setDeviceForegroundWindow(0);
    ws.windows.erase(handle);
    if (wasVisible)
        exposeArea(parent, area);
    return true;
}

bool isWindow(WindowHandle handle) {
    if (findLocal(handle))
        return true;
    if (windowSystem().windows.count(handle))
        return false;  // being destroyed here
    return lookupDeviceWindow(handle).has_value();
}

bool isOwnWindow(WindowHandle handle) {
    return findLocal(handle) != nullptr;
}

WindowHandle findWindow(std::wstring_view className, std::wstring_view title) {
    for (const auto& w : liveTopLevelWindows()) {
        if (!className.empty() && lower(w.className) != lower(className))
            continue;
        if (!title.empty() && w.title != title)
            continue;
        if (w.processId == static_cast<int>(::getpid()) && !findLocal(w.handle))
            continue;
        return w.handle;
    }
    return 0;
}

std::vector<WindowInfo> listWindows() {
    std::vector<WindowInfo> out;
    WindowHandle fg = deviceForegroundWindow();
    for (const auto& w : liveTopLevelWindows()) {
        WindowInfo info;
        info.handle = w.handle;
        info.className = w.className;
        info.title = w.title;
        info.program = w.program;
        info.processId = w.processId;
        info.visible = w.visible;
        info.foreground = w.handle == fg;
        info.rect = w.rect;
        out.push_back(std::move(info));
    }
    return out;
}

WindowProc setWindowProc(WindowHandle handle, WindowProc proc) {
    auto* w = findLocal(handle);
    if (!w)
        return {};
    std::swap(w->proc, proc);
    return proc;
}

WindowProc windowProc(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->proc : WindowProc{};
}

LResult callWindowProc(const WindowProc& proc, WindowHandle window, std::uint32_t id, WParam wParam,
                       LParam lParam) {
    return proc ? proc(window, id, wParam, lParam) : defWindowProc(window, id, wParam, lParam);
}

std::intptr_t setWindowUserData(WindowHandle handle, std::intptr_t data) {
    auto* w = findLocal(handle);
    if (!w)
        return 0;
    std::swap(w->userData, data);
    return data;
}

std::intptr_t windowUserData(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->userData : 0;
}

Rect clientRect(WindowHandle handle) {
    auto* w = findLocal(handle);
    if (w)
        return {0, 0, w->rect.width(), w->rect.height()};
    if (auto row = lookupDeviceWindow(handle))
        return {0, 0, row->rect.width(), row->rect.height()};
    return {};
}

Rect windowRect(WindowHandle handle) {
    auto* w = findLocal(handle);
    if (w)
        return screenRectOf(*w);
    if (auto row = lookupDeviceWindow(handle))
        return row->rect;
    return {};
}

bool moveWindow(WindowHandle handle, const Rect& rect, bool repaint) {
    auto* w = findLocal(handle);
    if (!w)
        return false;
    Rect old = w->rect;
    if (old == rect)
        return true;
    w->rect = rect;
    syncDeviceRow(*w);
    if (old.left != rect.left || old.top != rect.top) {
        sendMessage(handle, wm::Move, 0, makeLParam(rect.left, rect.top));
    }
    if (old.width() != rect.width() || old.height() != rect.height()) {
        sendMessage(handle, wm::Size, 0, makeLParam(rect.width(), rect.height()));
    }
    w = findLocal(handle);
    if (w && w->visible && repaint) {
        exposeArea(w->parent, old);
        invalidateRect(handle, nullptr, true);
    }
    return true;
}

Point clientToScreen(WindowHandle handle, Point p) {
    Rect r = windowRect(handle);
    return {p.x + r.left, p.y + r.top};
}

Point screenToClient(WindowHandle handle, Point p) {
    Rect r = windowRect(handle);
    return {p.x - r.left, p.y - r.top};
}

WindowHandle parentWindow(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->parent : 0;
}

std::vector<WindowHandle> childWindows(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->children : std::vector<WindowHandle>{};
}

WindowHandle childAt(WindowHandle parent, Point clientPoint) {
    auto* w = findLocal(parent);
    if (!w)
        return 0;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        auto* c = findLocal(*it);
        if (c && c->visible && c->rect.contains(clientPoint))
            return *it;
    }
    return 0;
}

bool showWindow(WindowHandle handle, bool show) {
    auto* w = findLocal(handle);
    if (!w)
        return false;
    bool was = w->visible;
    if (was == show)
        return was;
    w->visible = show;
    syncDeviceRow(*w);
    sendMessage(handle, wm::ShowWindow, show ? 1 : 0, 0);
    w = findLocal(handle);
    if (!w)
        return was;
    if (show) {
        invalidateRect(handle, nullptr, true);
    } else {
        auto& ws = windowSystem();
        if (ws.focus == handle)
            setFocus(w->parent);
        exposeArea(w->parent, w->rect);
    }
    return was;
}

bool isWindowVisible(WindowHandle handle) {
    auto* w = findLocal(handle);
    if (w)
        return isShownOnScreen(*w);
    auto row = lookupDeviceWindow(handle);
    return row && row->visible;
}

bool enableWindow(WindowHandle handle, bool enable) {
    auto* w = findLocal(handle);
    if (!w)
        return false;
    bool wasDisabled = !w->enabled;
    if (w->enabled != enable) {
        w->enabled = enable;
        sendMessage(handle, wm::Enable, enable ? 1 : 0, 0);
        invalidateRect(handle, nullptr, true);
    }
    return wasDisabled;
}

bool isWindowEnabled(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w && w->enabled;
}

std::wstring windowText(WindowHandle handle) {
    auto* w = findLocal(handle);
    if (w)
        return w->title;
    auto row = lookupDeviceWindow(handle);
    return row ? row->title : std::wstring();
}

bool setWindowText(WindowHandle handle, std::wstring_view text) {
    auto* w = findLocal(handle);
    if (!w)
        return false;
    std::wstring copy(text);
    sendMessage(handle, wm::SetText, 0, reinterpret_cast<LParam>(copy.c_str()));
    return true;
}

std::wstring windowClassName(WindowHandle handle) {
    auto* w = findLocal(handle);
    if (w)
        return w->className;
    auto row = lookupDeviceWindow(handle);
    return row ? row->className : std::wstring();
}

int controlId(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->controlId : 0;
}

std::uint32_t windowStyle(WindowHandle handle) {
    auto* w = findLocal(handle);
    return w ? w->style : 0;
}

WindowHandle setFocus(WindowHandle handle) {
    auto& ws = windowSystem();
    WindowHandle old = ws.focus;
    if (handle && !findLocal(handle))
        return old;
    if (old == handle)
        return old;
    ws.focus = handle;
    if (old && findLocal(old))
        sendMessage(old, wm::KillFocus, handle, 0);
    if (handle && ws.focus == handle)
        sendMessage(handle, wm::SetFocus, old, 0);
    return old;
}

WindowHandle focusWindow() {
    return windowSystem().focus;
}

WindowHandle setActiveWindow(WindowHandle handle) {
    auto& ws = windowSystem();
    WindowHandle old = ws.active;
    auto* w = findLocal(handle);
    if (!w || w->parent || old == handle)
        return old;
    ws.active = handle;
    if (old && findLocal(old))
        sendMessage(old, wm::Activate, wa::Inactive, handle);
    sendMessage(handle, wm::Activate, wa::Active, old);
    // Focus moves into the activated window unless it is already inside it.
    WindowHandle f = ws.focus;
    while (f && f != handle) f = parentWindow(f);
    if (f != handle)
        setFocus(handle);
    return old;
}

WindowHandle activeWindow() {
    return windowSystem().active;
}

bool setForegroundWindow(WindowHandle handle) {
    if (findLocal(handle)) {
        WindowHandle previous = deviceForegroundWindow();
        activateLocal(handle, true);
        if (previous && previous != handle && !findLocal(previous)) {
            if (auto row = lookupDeviceWindow(previous)) {
                Datagram d;
                d.kind = DatagramKind::Activate;
                d.window = previous;
                d.ok = false;
                Endpoint::own().sendToProcess(row->processId, d);
            }
        }
        return true;
    }
    auto row = lookupDeviceWindow(handle);
    if (!row)
        return false;
    Datagram d;
    d.kind = DatagramKind::Activate;
    d.window = handle;
    d.ok = true;
    return Endpoint::own().sendToProcess(row->processId, d);
}

WindowHandle foregroundWindow() {
    WindowHandle h = deviceForegroundWindow();
    return isWindow(h) ? h : 0;
}

WindowHandle setCapture(WindowHandle handle) {
    auto& ws = windowSystem();
    WindowHandle old = ws.capture;
    if (!handle || findLocal(handle))
        ws.capture = handle;
    return old;
}

bool releaseCapture() {
    windowSystem().capture = 0;
    return true;
}

WindowHandle captureWindow() {
    return windowSystem().capture;
}

}  // namespace platform

namespace platform::gui {

void activateLocal(WindowHandle handle, bool activate) {
    auto& ws = windowSystem();
    auto* w = findLocal(handle);
    if (!w)
        return;
    while (w->parent) w = findLocal(w->parent);
    if (activate) {
        std::erase(ws.zOrder, w->handle);
        ws.zOrder.push_back(w->handle);
        setDeviceForegroundWindow(w->handle);
        setActiveWindow(w->handle);
        if (auto* b = displayBackend())
            b->raise();
        invalidateRect(w->handle, nullptr, true);
    } else if (ws.active == w->handle) {
        ws.active = 0;
        sendMessage(w->handle, wm::Activate, wa::Inactive, 0);
    }
}

void relayoutTopLevelWindows(Size oldScreen, Size newScreen) {
    auto& ws = windowSystem();
    Rect desk = sipInfo().visibleDesktop;
    desk.bottom = std::min(desk.bottom, sipInfo().sipRect.bottom);
    std::vector<WindowHandle> order = ws.zOrder;
    for (WindowHandle h : order) {
        auto* w = findLocal(h);
        if (!w)
            continue;
        Rect r = w->rect;
        if (r.width() == oldScreen.width && r.height() == oldScreen.height) {
            moveWindow(h, Rect{0, 0, newScreen.width, newScreen.height}, true);
        } else {
            // A window that filled the width of the old screen follows the visible desktop.
            if (r.width() == oldScreen.width)
                moveWindow(h, desk, true);
        }
    }
}

}  // namespace platform::gui
