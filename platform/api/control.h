#pragma once
// Remote control of a running program of the device, for `vorndev ctl` and end-to-end tests.
// A control request is one line of text; the program answers with "ok ..." or "error ...".
//
// Requests every program with windows understands:
//   tap X Y | down X Y | move X Y | up X Y     stylus at a screen point
//   hold X Y MS                                 stylus down for MS milliseconds, then up
//   key NAME [down|up]                          device key: softleft softright back up down
//                                               left right enter tab space or a letter/digit
//                                               or a number (virtual key)
//   type TEXT                                   characters as typed on the keyboard
//   screenshot FILE [HANDLE]                    PNG of the screen, or of one window
//   windows                                     this program's windows, one per line
//   screen-changed                              the screen profile changed (rotation)
//   ping                                        answers "ok"
//   app VERB [ARGUMENTS]                        a request of the program's own (see below)

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ControlReply {
    bool ok = false;
    std::string text;  // the answer after "ok " or "error "
};

// Programs answer requests of their own ("app module" in the main program) through verbs they
// register here. The handler gets the rest of the line after the verb and runs on the window
// thread once earlier input has been handled. Registering a verb again replaces its handler.
using AppRequestHandler = std::function<ControlReply(std::string_view arguments)>;
void registerAppRequest(std::string verb, AppRequestHandler handler);

// Sends a request to the program with the given process id and waits for the answer.
// Nothing when the program is not running or does not answer in time.
std::optional<ControlReply> sendControl(int processId, std::string_view request,
                                        int timeoutMs = 10000);

// The process id owning the device's foreground window, or of any program with a visible
// window when none is in front; 0 when no program has windows.
int foregroundProcess();

// Tells every program of the device (this one included) that the screen profile changed,
// after platform::rotateScreen or setScreenProfile, so each re-lays its windows out.
void broadcastScreenChanged();

}  // namespace platform
