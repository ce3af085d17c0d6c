#pragma once
// The verbs of `vorndev ctl`. Each verb is one entry of the table in ctl_command.cpp: its name,
// usage, the options it accepts and the function that runs it with a CtlContext.

#include <optional>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"
#include "platform/api/window.h"
#include "tools/vorndev/command_line.h"

namespace vorndev {

class CtlContext {
  public:
    CtlContext(std::string verb, const Arguments& args) : verb_(std::move(verb)), args_(args) {}
    // The verb being run ("tap"), for verbs that share one function.
    const std::string& verb() const { return verb_; }
    const Arguments& args() const { return args_; }

    // The window named by --window CLASS[:TITLE]; nothing without the option; Failure when
    // no such window exists.
    std::optional<platform::WindowInfo> namedWindow() const;
    // The program a request goes to: --pid, else the owner of --window, else the program in
    // front. Failure when there is none.
    int targetProcess() const;
    // Sends a control request to the target program and prints its answer. Failure when it
    // does not answer or answers with an error.
    int forward(const std::string& request, int extraWaitMs = 0) const;

  private:
    std::string verb_;
    const Arguments& args_;
};

// Input and screenshots, forwarded to a program.
int ctlPointer(CtlContext& ctx);  // tap, down, move, up: the verb is the request
int ctlHold(CtlContext& ctx);
int ctlKey(CtlContext& ctx);
int ctlType(CtlContext& ctx);
int ctlScreenshot(CtlContext& ctx);
// A request of the program's own, forwarded as "app REQUEST ARGUMENTS".
int ctlApp(CtlContext& ctx);

// The device as a whole.
int ctlWindows(CtlContext& ctx);
int ctlWaitWindow(CtlContext& ctx);
int ctlRun(CtlContext& ctx);
int ctlPost(CtlContext& ctx);
int ctlClock(CtlContext& ctx);
int ctlRotate(CtlContext& ctx);
int ctlStop(CtlContext& ctx);
int ctlRegistry(CtlContext& ctx);

// The device's services: notifications, sound, power and the phone.
int ctlNotifications(CtlContext& ctx);
int ctlSound(CtlContext& ctx);
int ctlPower(CtlContext& ctx);
int ctlPhone(CtlContext& ctx);
int ctlDock(CtlContext& ctx);  // dock, undock

// "YYYY-MM-DD", optionally followed by "THH:MM" or "THH:MM:SS" (a space may stand for the
// T) and, for a UTC time, "Z". UsageError naming `what` for anything else.
platform::SystemTime parseIsoTime(const std::string& text, bool utc, std::string_view what);
// "2027-03-01T07:00:00", with a "Z" for UTC.
std::string isoTime(const platform::SystemTime& t, bool utc);
// One line per run: "ran", handle, outcome, start, application, arguments, process id.
void printNotificationRuns(const std::vector<platform::NotificationRun>& runs);

}  // namespace vorndev
