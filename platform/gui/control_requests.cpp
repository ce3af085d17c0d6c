// Control requests from `vorndev ctl` and tests (their text is read by
// control_request_text.cpp): input as the user would give it,
// screenshots, the window list, screen changes. Each request waits its turn behind earlier
// input, so a tap followed by a screenshot shows the result of the tap.

#include <unistd.h>

#include <cwctype>
#include <map>
#include <sstream>

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "platform/api/draw.h"
#include "platform/gui/control_request_text.h"
#include "platform/gui/ipc.h"
#include "platform/gui/key_names.h"
#include "platform/gui/window_system.h"

namespace platform::gui {
namespace {

std::map<std::string, AppRequestHandler>& appRequests() {
    static auto* handlers = new std::map<std::string, AppRequestHandler>();
    return *handlers;
}

// "app VERB ARGUMENTS": answered by the handler the program registered for VERB.
void appRequest(const ControlRequest& request, const std::string& verb, const std::string& rest) {
    auto it = appRequests().find(verb);
    if (it == appRequests().end()) {
        replyToControl(request, false, "unknown app request: " + verb);
        return;
    }
    AppRequestHandler handler = it->second;
    whenIdle([request, handler, rest] {
        ControlReply reply = handler(rest);
        replyToControl(request, reply.ok, reply.text);
    });
}

void pointer(InputEvent::Kind kind, int x, int y) {
    InputEvent e;
    e.kind = kind;
    e.position = {x, y};
    windowSystem().input.push_back(e);
}

void key(InputEvent::Kind kind, std::uint32_t code) {
    InputEvent e;
    e.kind = kind;
    e.key = code;
    windowSystem().input.push_back(e);
}

void character(wchar_t c) {
    InputEvent e;
    e.kind = InputEvent::Kind::Char;
    e.character = c;
    windowSystem().input.push_back(e);
}

// Waits for the program to settle (every posted message handled, every window painted),
// then answers.
void answerWhenIdle(const ControlRequest& request, std::function<std::string()> produce) {
    whenIdle([request, produce = std::move(produce)] {
        std::string text = produce();
        bool ok = text.rfind("error:", 0) != 0;
        replyToControl(request, ok, ok ? text : text.substr(6));
    });
}

std::string screenshot(const std::string& file, WindowHandle window) {
    // Whoever sends the request names the file, so it goes only where the device's own files
    // are; `vorndev ctl` has the picture written into the run folder and moves it on itself.
    if (!resolvesInside(std::filesystem::path(file), deviceRoot())) {
        return "error:screenshots are written only inside the device: " + file;
    }
    composeAndPresent();
    Bitmap& fb = framebuffer();
    Rect area{0, 0, fb.width(), fb.height()};
    if (window) {
        auto* w = findLocal(window);
        if (!w)
            return "error:no such window of this program";
        area = screenRectOf(*w).intersect(area);
        if (area.isEmpty())
            return "error:window is off screen";
    }
    Bitmap out(area.width(), area.height());
    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* src = fb.rowFromTop(area.top + y) + area.left * 3;
        std::copy(src, src + area.width() * 3, out.rowFromTop(y));
    }
    if (!savePng(out, file))
        return "error:cannot write " + file;
    return file;
}

std::string windowList() {
    std::ostringstream out;
    for (auto& [h, w] : windowSystem().windows) {
        if (w->destroying)
            continue;
        Rect r = screenRectOf(*w);
        out << h << ' ' << toUtf8(w->className) << " \"" << toUtf8(w->title)
            << "\" parent=" << w->parent << " visible=" << (isShownOnScreen(*w) ? 1 : 0)
            << " rect=" << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom
            << (h == windowSystem().focus ? " focus" : "") << '\n';
    }
    return out.str();
}

}  // namespace

void replyToControl(const ControlRequest& request, bool ok, const std::string& text) {
    if (request.replyPath.empty())
        return;
    Datagram d;
    d.kind = DatagramKind::ControlReply;
    d.sequence = request.sequence;
    d.ok = ok;
    d.text = text.size() > kMaxDatagramSize - 64 ? text.substr(0, kMaxDatagramSize - 64) : text;
    Endpoint::own().sendTo(request.replyPath, d);
}

void handleControlRequest(const ControlRequest& request) {
    auto parsed = parseControlRequest(request.text);
    if (auto* error = std::get_if<ControlRequestError>(&parsed)) {
        replyToControl(request, false, error->reason);
        return;
    }
    const ParsedControlRequest& r = std::get<ParsedControlRequest>(parsed);
    const std::string& verb = r.verb;
    auto done = [&](const std::string& text = "") {
        answerWhenIdle(request, [text] { return text; });
    };

    if (verb == "ping") {
        replyToControl(request, true, std::to_string(::getpid()));
    } else if (verb == "tap" || verb == "down" || verb == "move" || verb == "up") {
        if (verb == "tap" || verb == "down")
            pointer(InputEvent::Kind::PointerDown, r.x, r.y);
        if (verb == "move")
            pointer(InputEvent::Kind::PointerMove, r.x, r.y);
        if (verb == "tap" || verb == "up")
            pointer(InputEvent::Kind::PointerUp, r.x, r.y);
        done();
    } else if (verb == "hold") {
        pointer(InputEvent::Kind::PointerDown, r.x, r.y);
        deferAction(r.holdMs, [request, x = r.x, y = r.y] {
            pointer(InputEvent::Kind::PointerUp, x, y);
            answerWhenIdle(request, [] { return std::string(); });
        });
    } else if (verb == "key") {
        auto code = virtualKeyFromName(r.name);
        if (!code)
            return replyToControl(request, false, "unknown key: " + r.name);
        if (r.phase.empty() || r.phase == "down")
            key(InputEvent::Kind::KeyDown, *code);
        if (r.phase.empty()) {
            if (auto c = characterOfKey(r.name))
                character(*c);
        }
        if (r.phase.empty() || r.phase == "up")
            key(InputEvent::Kind::KeyUp, *code);
        done();
    } else if (verb == "type") {
        for (wchar_t c : fromUtf8(r.text)) character(c);
        done();
    } else if (verb == "screenshot") {
        answerWhenIdle(request, [file = r.text, window = r.window] {
            return screenshot(file, static_cast<WindowHandle>(window));
        });
    } else if (verb == "windows") {
        answerWhenIdle(request, [] { return windowList(); });
    } else if (verb == "app") {
        appRequest(request, r.name, r.text);
    } else if (verb == "screen-changed") {
        applyScreenProfile();
        done();
    }
}

}  // namespace platform::gui

namespace platform {

void registerAppRequest(std::string verb, AppRequestHandler handler) {
    gui::appRequests()[std::move(verb)] = std::move(handler);
}

}  // namespace platform
