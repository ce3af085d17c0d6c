// ctl verbs about the device as a whole: its windows, starting and stopping programs,
// posting messages, the clock and the screen's orientation.

#include <cstdio>
#include <iostream>
#include <thread>

#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "tools/vorndev/ctl_verbs.h"
#include "tools/vorndev/message_names.h"
#include "tools/vorndev/program_launch.h"

namespace vorndev {
namespace {

using platform::fromUtf8;
using platform::toUtf8;

platform::FileTime parseIsoUtc(const std::string& text) {
    auto fileTime = platform::toFileTime(parseIsoTime(text, true, "--at"));
    if (!fileTime)
        throw UsageError("no such moment: " + text);
    return *fileTime;
}

void showClock() {
    std::cout << "utc=" << isoTime(platform::deviceUtcTime(), true)
              << " local=" << isoTime(platform::deviceLocalTime(), false)
              << " offset=" << platform::clockOffsetSeconds() << "\n";
}

int timeoutOption(const Arguments& a, int fallbackMs) {
    auto text = a.value("timeout");
    return text ? static_cast<int>(parseNumber(*text, "--timeout", 0, 3600000)) : fallbackMs;
}

}  // namespace

platform::SystemTime parseIsoTime(const std::string& text, bool utc, std::string_view what) {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char sep = 0;
    int used = 0;
    int fields = std::sscanf(text.c_str(), "%4u-%2u-%2u%n%c%2u:%2u%n:%2u%n", &year, &month, &day,
                             &used, &sep, &hour, &minute, &used, &second, &used);
    bool shape = fields == 3 || ((fields == 6 || fields == 7) && (sep == 'T' || sep == ' '));
    std::string rest = text.substr(static_cast<std::size_t>(used));
    if (!shape || !(rest.empty() || (utc && rest == "Z"))) {
        throw UsageError(std::string(what) + " needs a " + (utc ? "UTC" : "device-local") +
                         " time like 2024-05-01T12:00:00" + (utc ? "Z" : "") + ", not \"" + text +
                         "\"");
    }
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    if (!platform::isValidSystemTime(t))
        throw UsageError("no such moment: " + text);
    t.dayOfWeek = static_cast<std::uint16_t>(platform::dayOfWeekOf(t.year, t.month, t.day));
    return t;
}

std::string isoTime(const platform::SystemTime& t, bool utc) {
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%s", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, utc ? "Z" : "");
    return text;
}

int ctlWindows(CtlContext& ctx) {
    ctx.args().expectAtMost(0);
    std::cout << "handle\tclass\ttitle\tprogram\tpid\tvisible\tforeground\n";
    for (const auto& w : platform::listWindows()) {
        std::cout << w.handle << "\t" << toUtf8(w.className) << "\t" << toUtf8(w.title) << "\t"
                  << toUtf8(w.program) << "\t" << w.processId << "\t" << (w.visible ? 1 : 0) << "\t"
                  << (w.foreground ? 1 : 0) << "\n";
    }
    return 0;
}

int ctlWaitWindow(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(2);
    std::wstring cls = fromUtf8(a.required(0, "CLASS"));
    std::wstring title = fromUtf8(a.optional(1).value_or(""));
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutOption(a, 10000));
    for (;;) {
        if (platform::WindowHandle h = platform::findWindow(cls, title)) {
            for (const auto& w : platform::listWindows()) {
                if (w.handle == h)
                    std::cout << h << "\t" << w.processId << "\n";
            }
            return 0;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw Failure("no window \"" + toUtf8(cls) + (title.empty() ? "" : ":") +
                          toUtf8(title) + "\" appeared in time");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

int ctlRun(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    std::wstring program = fromUtf8(a.required(0, "DEVICEPATH"));
    std::wstring line;
    for (std::size_t i = 1; i < a.positional().size(); ++i) {
        if (i > 1)
            line += L' ';
        line += fromUtf8(a.positional()[i]);
    }
    std::cout << runDeviceProgram(program, line, a.has("headless")) << "\n";
    return 0;
}

int ctlPost(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(3);
    auto cls = a.value("class");
    if (!cls || cls->empty())
        throw UsageError("post needs --class CLASS");
    std::wstring title = fromUtf8(a.value("title").value_or(""));
    std::uint32_t message = messageNumber(a.required(0, "MESSAGE"));
    auto wParam = a.optional(1) ? parseNumber(*a.optional(1), "WPARAM", INT64_MIN, INT64_MAX) : 0;
    auto lParam = a.optional(2) ? parseNumber(*a.optional(2), "LPARAM", INT64_MIN, INT64_MAX) : 0;
    if (!platform::messageMayCrossPrograms(message)) {
        throw Failure("message " + a.required(0, "MESSAGE") +
                      " carries addresses in its parameters; it cannot be posted to a program");
    }
    platform::WindowHandle window = platform::findWindow(fromUtf8(*cls), title);
    if (!window)
        throw Failure("no window of class \"" + *cls + "\" with that title");
    if (!platform::postMessage(window, message, static_cast<platform::WParam>(wParam), lParam)) {
        throw Failure("cannot post to window " + std::to_string(window));
    }
    return 0;
}

int ctlClock(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(2);
    std::string action = a.optional(0).value_or("show");
    if (auto at = a.value("at")) {
        if (!a.positional().empty())
            throw UsageError("clock --at takes no other arguments");
        platform::setDeviceUtcTime(parseIsoUtc(*at));
    } else if (action == "set") {
        std::int64_t limit = 400LL * 366 * 24 * 3600;
        platform::setClockOffsetSeconds(
            parseNumber(a.required(1, "SECONDS-OFFSET"), "SECONDS-OFFSET", -limit, limit));
    } else if (action != "show") {
        throw UsageError("unknown clock action \"" + action + "\"; use show or set");
    } else {
        a.expectAtMost(1);
        showClock();
        return 0;
    }
    showClock();
    // What the new time made due starts now, so whoever moved the clock sees it at once.
    printNotificationRuns(platform::runDueNotifications());
    return 0;
}

int ctlRotate(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(1);
    int degrees = 90;
    if (auto text = a.optional(0)) {
        degrees = static_cast<int>(parseNumber(*text, "degrees", 0, 360));
        if (degrees != 90 && degrees != 180 && degrees != 270) {
            throw UsageError("rotate by 90, 180 or 270 degrees");
        }
    }
    platform::ScreenProfile p = platform::rotateScreen(degrees);
    int failures = 0;
    for (int pid : programsWithWindows()) {
        auto reply = platform::sendControl(pid, "screen-changed");
        if (!reply || !reply->ok) {
            std::cerr << "vorndev: program " << pid << " did not take the new screen\n";
            ++failures;
        }
    }
    std::cout << p.width << "x" << p.height << " rotation=" << p.rotation << "\n";
    return failures ? 1 : 0;
}

int ctlStop(CtlContext& ctx) {
    const Arguments& a = ctx.args();
    a.expectAtMost(0);
    auto programs = programsWithWindows();
    if (programs.empty()) {
        std::cout << "No program runs on the device.\n";
        return 0;
    }
    auto signalled = closePrograms(programs, std::chrono::milliseconds(timeoutOption(a, 5000)));
    for (int pid : signalled)
        std::cerr << "vorndev: program " << pid << " did not close; ended it\n";
    std::cout << "Closed " << programs.size() << " program(s).\n";
    return 0;
}

}  // namespace vorndev
