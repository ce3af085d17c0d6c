// ctl verbs that a program carries out: stylus, keys, typing and screenshots, sent to it as
// control requests. Also the choice of the program they go to.

#include <stdlib.h>
#include <unistd.h>

#include <iostream>

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "tools/vorndev/ctl_verbs.h"
#include "tools/vorndev/program_launch.h"

namespace vorndev {
namespace {

namespace fs = std::filesystem;

constexpr int kReplyTimeoutMs = 10000;

int coordinate(const Arguments& a, std::size_t index, std::string_view what) {
    return static_cast<int>(parseNumber(a.required(index, what), what, -32768, 32767));
}

std::string pointRequest(const std::string& verb, const Arguments& a) {
    int x = coordinate(a, 0, "X");
    int y = coordinate(a, 1, "Y");
    return verb + " " + std::to_string(x) + " " + std::to_string(y);
}

// A private folder in the device's run folder for the program to write a screenshot into:
// programs write only inside the device, and the request line separates its words by spaces,
// so the file the user named (which may hold any) is never sent. ctl moves the picture on.
class ScratchFolder {
  public:
    ScratchFolder() {
        fs::path run = platform::deviceRoot() / ".device" / "run";
        std::error_code ec;
        fs::create_directories(run, ec);
        std::string pattern = (run / ("shot-" + std::to_string(::getpid()) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw Failure("cannot create a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// Moves a finished file to its destination without ever leaving half a file there.
void moveInto(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return;
    fs::path aside = to;
    aside += ".vorndev-" + std::to_string(::getpid());
    fs::copy_file(from, aside, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::rename(aside, to, ec);
    if (ec) {
        fs::remove(aside);
        throw Failure("cannot write " + to.string() + ": " + ec.message());
    }
}

}  // namespace

std::optional<platform::WindowInfo> CtlContext::namedWindow() const {
    auto spec = args_.value("window");
    if (!spec)
        return std::nullopt;
    std::size_t colon = spec->find(':');
    std::wstring cls = platform::fromUtf8(spec->substr(0, colon));
    std::wstring title =
        colon == std::string::npos ? L"" : platform::fromUtf8(spec->substr(colon + 1));
    if (cls.empty())
        throw UsageError("--window needs CLASS[:TITLE]");
    platform::WindowHandle handle = platform::findWindow(cls, title);
    for (const auto& w : platform::listWindows()) {
        if (handle && w.handle == handle)
            return w;
    }
    throw Failure("no window \"" + *spec + "\" on the device");
}

int CtlContext::targetProcess() const {
    if (auto pid = args_.value("pid")) {
        int id = static_cast<int>(parseNumber(*pid, "--pid", 1, INT32_MAX));
        if (!isProgramRunning(id))
            throw Failure("no program with process id " + *pid);
        return id;
    }
    if (auto window = namedWindow())
        return window->processId;
    int front = platform::foregroundProcess();
    if (front == 0)
        throw Failure("no program with windows runs on the device");
    return front;
}

int CtlContext::forward(const std::string& request, int extraWaitMs) const {
    int pid = targetProcess();
    auto reply = platform::sendControl(pid, request, kReplyTimeoutMs + extraWaitMs);
    if (!reply)
        throw Failure("program " + std::to_string(pid) + " did not answer");
    if (!reply->ok)
        throw Failure(reply->text);
    if (!reply->text.empty()) {
        std::cout << reply->text << (reply->text.back() == '\n' ? "" : "\n");
    }
    return 0;
}

int ctlPointer(CtlContext& ctx) {
    ctx.args().expectAtMost(2);
    return ctx.forward(pointRequest(ctx.verb(), ctx.args()));
}

int ctlHold(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(3);
    int ms = 1000;
    if (auto text = a.optional(2))
        ms = static_cast<int>(parseNumber(*text, "MS", 0, 60000));
    return ctx.forward(pointRequest("hold", a) + " " + std::to_string(ms), ms);
}

int ctlKey(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(2);
    std::string request = "key " + a.required(0, "key NAME");
    if (auto phase = a.optional(1)) {
        if (*phase != "down" && *phase != "up") {
            throw UsageError("the key phase is down or up, not \"" + *phase + "\"");
        }
        request += " " + *phase;
    }
    return ctx.forward(request);
}

int ctlType(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    std::string text = a.required(0, "TEXT");
    for (std::size_t i = 1; i < a.positional().size(); ++i) text += " " + a.positional()[i];
    // A request travels as one datagram, with room to spare for its header.
    if (text.size() > 60000)
        throw UsageError("TEXT is too long to type in one go");
    if (text.find('\n') != std::string::npos)
        throw UsageError("TEXT must be one line");
    return ctx.forward("type " + text);
}

int ctlApp(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    std::string request = "app " + a.required(0, "REQUEST");
    for (std::size_t i = 1; i < a.positional().size(); ++i) request += " " + a.positional()[i];
    if (request.find('\n') != std::string::npos)
        throw UsageError("the request must be one line");
    return ctx.forward(request);
}

int ctlScreenshot(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(1);
    fs::path file = fs::absolute(a.required(0, "FILE"));
    std::string request = "screenshot ";
    ScratchFolder scratch;
    fs::path shot = scratch.path() / "screen.png";
    request += shot.string();
    if (auto window = ctx.namedWindow())
        request += " " + std::to_string(window->handle);
    int pid = ctx.targetProcess();
    auto reply = platform::sendControl(pid, request, kReplyTimeoutMs);
    if (!reply)
        throw Failure("program " + std::to_string(pid) + " did not answer");
    if (!reply->ok)
        throw Failure(reply->text);
    moveInto(shot, file);
    std::cout << file.string() << "\n";
    return 0;
}

}  // namespace vorndev
