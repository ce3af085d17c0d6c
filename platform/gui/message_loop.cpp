// The message queue of this program: posted and sent messages (also to and from other
// programs), input, painting and timers, and the loop that hands them out in the handheld's
// order: posted messages, quit, input, paint, timers.

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/api/clock.h"
#include "platform/api/program.h"
#include "platform/api/shell.h"
#include "platform/gui/device_windows.h"
#include "platform/gui/ipc.h"
#include "platform/gui/message_params.h"
#include "platform/gui/window_system.h"

namespace platform::gui {
namespace {

constexpr WParam kMkLButton = 0x0001;

void ensureWaitFds() {
    auto& ws = windowSystem();
    if (ws.waitFd >= 0)
        return;
    ws.wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    ws.waitFd = ::epoll_create1(EPOLL_CLOEXEC);
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = ws.wakeFd;
    ::epoll_ctl(ws.waitFd, EPOLL_CTL_ADD, ws.wakeFd, &ev);
    ev.data.fd = Endpoint::own().fd();
    ::epoll_ctl(ws.waitFd, EPOLL_CTL_ADD, ev.data.fd, &ev);
}

void clearWake() {
    auto& ws = windowSystem();
    std::uint64_t v;
    while (::read(ws.wakeFd, &v, sizeof v) > 0) {
    }
}

std::uint32_t nowTick() {
    return platform::tickCount();
}

LResult deliverSend(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam) {
    auto* w = findLocal(window);
    if (!w)
        return 0;
    WindowProc proc = w->proc;  // the procedure may replace itself while running
    return callWindowProc(proc, window, id, wParam, lParam);
}

void handleDatagram(Datagram d) {
    auto& ws = windowSystem();
    switch (d.kind) {
        case DatagramKind::Post:
            if (findLocal(d.window)) {
                std::lock_guard lock(ws.postedMutex);
                ws.posted.push_back({d.window, d.message, d.wParam, d.lParam, nowTick()});
            }
            break;
        case DatagramKind::Send: {
            LResult result = deliverSend(d.window, d.message, d.wParam, d.lParam);
            Datagram reply;
            reply.kind = DatagramKind::SendReply;
            reply.sequence = d.sequence;
            reply.lParam = result;
            Endpoint::own().sendToProcess(d.senderPid, reply);
            break;
        }
        case DatagramKind::SendReply:
            // Only an answer this program waits for is kept; forged or late ones are not.
            if (auto it = ws.sendReplies.find(d.sequence); it != ws.sendReplies.end()) {
                it->second = d.lParam;
            }
            break;
        case DatagramKind::Control:
            ws.input.push_back(ControlRequest{d.text, d.replyPath, d.sequence});
            break;
        case DatagramKind::ControlReply:
            break;  // only control clients expect these
        case DatagramKind::Activate:
            activateLocal(d.window, d.ok);
            break;
    }
}

// Converts one input event into window messages, unless a screen layer (bars, menus, message
// boxes) takes it.
void routeInput(const InputEvent& e);

// Returns the next window that needs painting: parents before their children, lower windows
// before higher ones.
WindowHandle findWindowToPaint(WindowHandle h) {
    auto* w = findLocal(h);
    if (!w || !w->visible)
        return 0;
    if (w->invalid)
        return h;
    for (WindowHandle c : w->children) {
        if (WindowHandle found = findWindowToPaint(c))
            return found;
    }
    return 0;
}

WindowHandle nextWindowToPaint() {
    for (WindowHandle h : windowSystem().zOrder) {
        if (WindowHandle found = findWindowToPaint(h))
            return found;
    }
    return 0;
}

std::optional<SteadyTime> nextTimerDue() {
    std::optional<SteadyTime> next;
    for (auto& [h, w] : windowSystem().windows) {
        if (w->destroying)
            continue;
        for (auto& t : w->timers) {
            if (!next || t.due < *next)
                next = t.due;
        }
    }
    for (auto& d : windowSystem().deferred) {
        if (!next || d.due < *next)
            next = d.due;
    }
    return next;
}

bool takeDueTimer(Message& out, bool remove) {
    SteadyTime now = steadyNow();
    WindowData* best = nullptr;
    Timer* bestTimer = nullptr;
    for (auto& [h, w] : windowSystem().windows) {
        if (w->destroying)
            continue;
        for (auto& t : w->timers) {
            if (t.due <= now && (!bestTimer || t.due < bestTimer->due)) {
                best = w.get();
                bestTimer = &t;
            }
        }
    }
    if (!bestTimer)
        return false;
    out = {best->handle, wm::Timer, bestTimer->id, 0, nowTick()};
    if (remove)
        bestTimer->due = now + std::chrono::milliseconds(bestTimer->interval);
    return true;
}

void runDueDeferred() {
    auto& ws = windowSystem();
    SteadyTime now = steadyNow();
    for (;;) {
        auto it = std::find_if(ws.deferred.begin(), ws.deferred.end(),
                               [&](const Deferred& d) { return d.due <= now; });
        if (it == ws.deferred.end())
            return;
        auto action = std::move(it->action);
        ws.deferred.erase(it);
        action();
    }
}

bool takePosted(Message& out, bool remove) {
    auto& ws = windowSystem();
    std::lock_guard lock(ws.postedMutex);
    while (!ws.posted.empty()) {
        Message m = ws.posted.front();
        // Messages for windows destroyed meanwhile are dropped; thread messages (window 0)
        // are kept.
        if (m.window && !findLocal(m.window)) {
            ws.posted.pop_front();
            continue;
        }
        if (remove)
            ws.posted.pop_front();
        out = m;
        return true;
    }
    if (ws.quitPosted) {
        out = {0, wm::Quit, static_cast<WParam>(ws.quitCode), 0, nowTick()};
        if (remove)
            ws.quitPosted = false;
        return true;
    }
    return false;
}

// One pass over the sources of messages. Returns true with a message when one is ready.
bool nextMessage(Message& out, bool remove) {
    auto& ws = windowSystem();
    drainSocket();
    runDueDeferred();
    if (takePosted(out, remove))
        return true;
    while (!ws.input.empty()) {
        QueuedInput item = std::move(ws.input.front());
        ws.input.pop_front();
        if (auto* e = std::get_if<InputEvent>(&item)) {
            routeInput(*e);
        } else {
            handleControlRequest(std::get<ControlRequest>(item));
        }
        if (takePosted(out, remove))
            return true;
    }
    if (WindowHandle h = nextWindowToPaint()) {
        out = {h, wm::Paint, 0, 0, nowTick()};
        return true;
    }
    composeAndPresent();
    if (takeDueTimer(out, remove))
        return true;
    return false;
}

void runIdleActions() {
    auto& ws = windowSystem();
    ws.freshIdleActions = 0;
    if (ws.idleActions.empty())
        return;
    auto actions = std::move(ws.idleActions);
    ws.idleActions.clear();
    ws.runningIdleActions = true;
    for (auto& a : actions) a();
    ws.runningIdleActions = false;
}

void waitForWork(int maxMs) {
    auto& ws = windowSystem();
    ensureWaitFds();
    int timeout = maxMs;
    if (auto due = nextTimerDue()) {
        // Rounded up: waking a little early would find nothing due and wait again.
        auto ms = std::chrono::ceil<std::chrono::milliseconds>(*due - steadyNow()).count();
        ms = std::max<long long>(ms, 0);
        timeout = timeout < 0 ? static_cast<int>(ms) : std::min<int>(timeout, static_cast<int>(ms));
    }
    std::vector<InputEvent> events;
    if (auto* b = displayBackend()) {
        b->pollInput(events, timeout, ws.waitFd);
    } else {
        epoll_event ev;
        ::epoll_wait(ws.waitFd, &ev, 1, timeout);
    }
    clearWake();
    for (auto& e : events) ws.input.push_back(e);
}

void routeInput(const InputEvent& e) {
    auto& ws = windowSystem();
    // The stylus state follows every press and release, also those a screen layer takes.
    if (e.kind == InputEvent::Kind::PointerDown)
        ws.pointerDown = true;
    if (e.kind == InputEvent::Kind::PointerUp)
        ws.pointerDown = false;
    if (offerInputToLayers(e))
        return;
    switch (e.kind) {
        case InputEvent::Kind::PointerDown:
        case InputEvent::Kind::PointerMove:
        case InputEvent::Kind::PointerUp: {
            bool down = e.kind == InputEvent::Kind::PointerDown;
            bool up = e.kind == InputEvent::Kind::PointerUp;
            WindowHandle target = ws.capture ? ws.capture : windowAtScreenPoint(e.position);
            if (!target)
                return;
            auto* w = findLocal(target);
            if (!w || (!w->enabled && !ws.capture))
                return;
            if (down) {
                WindowHandle top = target;
                while (parentWindow(top)) top = parentWindow(top);
                if (top != ws.active)
                    activateLocal(top, true);
            }
            Point p = screenToClient(target, e.position);
            std::uint32_t id = down ? wm::LButtonDown : up ? wm::LButtonUp : wm::MouseMove;
            WParam keys = (down || (!up && ws.pointerDown)) ? kMkLButton : 0;
            std::lock_guard lock(ws.postedMutex);
            ws.posted.push_back({target, id, keys, makeLParam(p.x, p.y), nowTick()});
            return;
        }
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp:
        case InputEvent::Kind::Char: {
            WindowHandle target = ws.focus ? ws.focus : ws.active;
            if (!target && !ws.zOrder.empty())
                target = ws.zOrder.back();
            if (!target)
                return;
            Message m{target, 0, 0, 0, nowTick()};
            if (e.kind == InputEvent::Kind::Char) {
                m.id = wm::Char;
                m.wParam = static_cast<WParam>(e.character);
                m.lParam = 1;
            } else {
                bool keyDown = e.kind == InputEvent::Kind::KeyDown;
                m.id = keyDown ? wm::KeyDown : wm::KeyUp;
                m.wParam = e.key;
                m.lParam = keyDown ? 1 : static_cast<LParam>(0xC0000001u);
            }
            std::lock_guard lock(ws.postedMutex);
            ws.posted.push_back(m);
            return;
        }
        case InputEvent::Kind::CloseRequest:
            for (WindowHandle h : ws.zOrder) postMessage(h, wm::Close, 0, 0);
            return;
    }
}

}  // namespace

void wakeLoop() {
    auto& ws = windowSystem();
    ensureWaitFds();
    std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(ws.wakeFd, &one, sizeof one);
}

void drainSocket() {
    if (!Endpoint::ownIsOpen())
        return;
    auto& own = Endpoint::own();
    while (auto d = own.receive()) handleDatagram(std::move(*d));
}

bool pumpModal(int timeoutMs) {
    Message m;
    if (!nextMessage(m, true)) {
        runIdleActions();
        waitForWork(timeoutMs);
        if (!nextMessage(m, true))
            return true;
    }
    if (m.id == wm::Quit) {
        postQuitMessage(static_cast<int>(m.wParam));
        return false;
    }
    translateMessage(m);
    dispatchMessage(m);
    return true;
}

void injectInput(const InputEvent& event) {
    windowSystem().input.push_back(event);
    wakeLoop();
}

void deferAction(int delayMs, std::function<void()> action) {
    windowSystem().deferred.push_back(
        {steadyNow() + std::chrono::milliseconds(delayMs), std::move(action)});
}

void whenIdle(std::function<void()> action) {
    auto& ws = windowSystem();
    ws.idleActions.push_back(std::move(action));
    if (!ws.runningIdleActions)
        ++ws.freshIdleActions;
}

}  // namespace platform::gui

namespace platform {

using namespace gui;

bool postMessage(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam) {
    auto& ws = windowSystem();
    if (window == 0 || findLocal(window)) {
        {
            std::lock_guard lock(ws.postedMutex);
            ws.posted.push_back({window, id, wParam, lParam, nowTick()});
        }
        wakeLoop();
        return true;
    }
    // Another program could not read what an address in the parameters points at.
    if (carriesPointer(id))
        return false;
    auto row = lookupDeviceWindow(window);
    if (!row)
        return false;
    Datagram d;
    d.kind = DatagramKind::Post;
    d.window = window;
    d.message = id;
    d.wParam = wParam;
    d.lParam = lParam;
    return Endpoint::own().sendToProcess(row->processId, d);
}

LResult sendMessage(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam,
                    int timeoutMs) {
    if (findLocal(window))
        return deliverSend(window, id, wParam, lParam);
    if (carriesPointer(id))
        return 0;
    auto row = lookupDeviceWindow(window);
    if (!row)
        return 0;
    auto& ws = windowSystem();
    auto& own = Endpoint::own();
    Datagram d;
    d.kind = DatagramKind::Send;
    d.sequence = ws.nextSequence++;
    d.senderPid = static_cast<int>(::getpid());
    d.window = window;
    d.message = id;
    d.wParam = wParam;
    d.lParam = lParam;
    ws.sendReplies[d.sequence] = std::nullopt;
    if (!own.sendToProcess(row->processId, d)) {
        ws.sendReplies.erase(d.sequence);
        return 0;
    }
    // The other program answers in real time, whatever the test clock says.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // Sends from the other side are answered while waiting, so two programs sending to
        // each other at once do not block each other.
        drainSocket();
        auto it = ws.sendReplies.find(d.sequence);
        if (it->second) {
            LResult r = *it->second;
            ws.sendReplies.erase(it);
            return r;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) {
            ws.sendReplies.erase(it);
            return 0;
        }
        own.waitReadable(static_cast<int>(std::min<long long>(left, 100)));
    }
}

void postQuitMessage(int exitCode) {
    auto& ws = windowSystem();
    {
        std::lock_guard lock(ws.postedMutex);
        ws.quitPosted = true;
        ws.quitCode = exitCode;
    }
    wakeLoop();
}

bool getMessage(Message& out) {
    bool idleRanThisWake = false;
    for (;;) {
        if (nextMessage(out, true)) {
            // Requests waiting for the program to settle are answered before it ends.
            if (out.id == wm::Quit)
                runIdleActions();
            return out.id != wm::Quit;
        }
        // The idle work runs once before each wait. Handling input may queue more (a control
        // request answered once the program settles): then the loop goes round again, or that
        // answer would wait for the next unrelated message. Work that idle work queued for
        // itself waits for the next wake, or the loop would never sleep.
        if (windowSystem().freshIdleActions > 0 || !idleRanThisWake) {
            runIdleActions();
            idleRanThisWake = true;
            continue;
        }
        waitForWork(-1);
        idleRanThisWake = false;
    }
}

bool peekMessage(Message& out, bool remove) {
    return nextMessage(out, remove);
}

bool waitMessage(int timeoutMs) {
    Message m;
    if (nextMessage(m, false))
        return true;
    waitForWork(timeoutMs);
    return nextMessage(m, false);
}

void translateMessage(const Message& msg) {
    // Printable characters arrive as their own wm::Char input; the keys below have no
    // character input of their own.
    if (msg.id != wm::KeyDown)
        return;
    wchar_t c = 0;
    if (msg.wParam == vk::Return)
        c = L'\r';
    if (msg.wParam == vk::Back)
        c = L'\b';
    if (msg.wParam == vk::Tab)
        c = L'\t';
    if (c) {
        auto& ws = windowSystem();
        std::lock_guard lock(ws.postedMutex);
        ws.posted.push_front({msg.window, wm::Char, static_cast<WParam>(c), 1, msg.time});
    }
}

LResult dispatchMessage(const Message& msg) {
    auto* w = findLocal(msg.window);
    if (!w)
        return 0;
    if (msg.id == wm::Paint) {
        Rect before = w->invalid.value_or(Rect{});
        LResult r = deliverSend(msg.window, msg.id, msg.wParam, msg.lParam);
        // A procedure that ignored the paint request is not asked again for the same area.
        w = findLocal(msg.window);
        if (w && w->invalid && *w->invalid == before)
            validateRect(msg.window, nullptr);
        return r;
    }
    return deliverSend(msg.window, msg.id, msg.wParam, msg.lParam);
}

LResult defWindowProc(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam) {
    auto* w = findLocal(window);
    switch (id) {
        case wm::Close:
            destroyWindow(window);
            return 0;
        case wm::EraseBackground:
            if (w && w->background && wParam) {
                auto* dc = reinterpret_cast<DeviceContext*>(wParam);
                dc->fillRect(Rect{0, 0, w->rect.width(), w->rect.height()}, *w->background);
                return 1;
            }
            return 0;
        case wm::Paint: {
            PaintSession paint(window);
            return 0;
        }
        case wm::SetText:
            if (w && lParam) {
                w->title = reinterpret_cast<const wchar_t*>(lParam);
                updateDeviceWindow(w->handle, w->title, w->visible,
                                   w->parent ? w->rect : screenRectOf(*w));
                invalidateRect(window, nullptr, true);
            }
            return 1;
        case wm::GetText:
            return w ? static_cast<LResult>(w->title.size()) : 0;
        default:
            return 0;
    }
}

std::uint32_t registerWindowMessage(std::wstring_view name) {
    if (name.empty())
        return 0;
    return registeredMessageNumber(name);
}

bool setTimer(WindowHandle window, std::uintptr_t id, std::uint32_t intervalMs) {
    auto* w = findLocal(window);
    if (!w)
        return false;
    SteadyTime due = steadyNow() + std::chrono::milliseconds(intervalMs);
    for (auto& t : w->timers) {
        if (t.id == id) {
            t.interval = intervalMs;
            t.due = due;
            return true;
        }
    }
    w->timers.push_back({id, intervalMs, due});
    return true;
}

bool killTimer(WindowHandle window, std::uintptr_t id) {
    auto* w = findLocal(window);
    if (!w)
        return false;
    return std::erase_if(w->timers, [&](const Timer& t) { return t.id == id; }) > 0;
}

void invalidateRect(WindowHandle window, const Rect* rect, bool erase) {
    auto* w = findLocal(window);
    if (!w)
        return;
    Rect client{0, 0, w->rect.width(), w->rect.height()};
    Rect r = rect ? rect->intersect(client) : client;
    if (r.isEmpty())
        return;
    w->invalid = w->invalid ? w->invalid->unite(r) : r;
    w->erase = w->erase || erase;
    // Children drawn over the area repaint after their parent.
    for (WindowHandle c : w->children) {
        auto* cd = findLocal(c);
        if (!cd || !cd->visible)
            continue;
        Rect inChild = r.intersect(cd->rect).offset(-cd->rect.left, -cd->rect.top);
        if (!inChild.isEmpty())
            invalidateRect(c, &inChild, erase);
    }
}

void validateRect(WindowHandle window, const Rect* rect) {
    auto* w = findLocal(window);
    if (!w || !w->invalid)
        return;
    if (!rect || (rect->left <= w->invalid->left && rect->top <= w->invalid->top &&
                  rect->right >= w->invalid->right && rect->bottom >= w->invalid->bottom)) {
        w->invalid.reset();
        w->erase = false;
    }
}

void updateWindow(WindowHandle window) {
    auto* w = findLocal(window);
    if (!w || !w->invalid || !isShownOnScreen(*w))
        return;
    dispatchMessage({window, wm::Paint, 0, 0, nowTick()});
    for (WindowHandle c : childWindows(window)) updateWindow(c);
    composeAndPresent();
}

std::optional<Rect> updateRect(WindowHandle window) {
    auto* w = findLocal(window);
    return w ? w->invalid : std::nullopt;
}

std::uint32_t tickCount() {
    // The timers' clock, so that message times and elapsed times agree with them.
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(steadyNow().time_since_epoch())
                  .count();
    return static_cast<std::uint32_t>(ms);
}

}  // namespace platform
