#pragma once
// The window system's state inside one program: its windows, their classes, focus, capture,
// the message queue and the timers. Internal to the platform; programs use window.h.

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/window.h"
#include "platform/gui/screen.h"

namespace platform::gui {

// The timers' clock (clock.h), which a test can hold and move forward.
using platform::SteadyTime;

struct Timer {
    std::uintptr_t id = 0;
    std::uint32_t interval = 0;
    SteadyTime due;
};

struct WindowData {
    WindowHandle handle = 0;
    std::wstring className;
    std::wstring title;
    WindowProc proc;
    WindowHandle parent = 0;
    std::vector<WindowHandle> children;  // bottom to top
    Rect rect;  // in the parent's client coordinates; screen coordinates for top-level windows
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    std::uint32_t style = 0;
    int controlId = 0;
    std::intptr_t userData = 0;
    std::optional<Rect> invalid;  // client coordinates
    bool erase = false;
    std::optional<Colour> background;
    std::vector<Timer> timers;
};

// A control request waiting its turn in the input queue, and how to answer it.
struct ControlRequest {
    std::string text;
    std::string replyPath;
    std::uint64_t sequence = 0;
};

using QueuedInput = std::variant<InputEvent, ControlRequest>;

struct Deferred {
    SteadyTime due;
    std::function<void()> action;
};

struct WindowSystem {
    std::unordered_map<std::wstring, WindowClass> classes;  // by lower-case name
    std::map<WindowHandle, std::unique_ptr<WindowData>> windows;
    std::vector<WindowHandle> zOrder;  // this program's top-level windows, bottom to top
    WindowHandle focus = 0;
    WindowHandle active = 0;
    WindowHandle capture = 0;
    bool pointerDown = false;

    std::mutex postedMutex;  // posting is allowed from other threads
    std::deque<Message> posted;
    bool quitPosted = false;
    int quitCode = 0;

    std::deque<QueuedInput> input;
    std::vector<Deferred> deferred;
    std::vector<std::function<void()>> idleActions;
    // Idle work queued by the program's own handling (a control request to answer once it
    // settles) since the idle work last ran; work that idle work queues (a watcher arming
    // itself again) does not count, so the loop can wait.
    int freshIdleActions = 0;
    bool runningIdleActions = false;
    // The sends to other programs this program waits on, with their answers once they came.
    std::map<std::uint64_t, std::optional<LResult>> sendReplies;
    std::uint64_t nextSequence = 1;

    int wakeFd = -1;  // eventfd: another thread posted
    int waitFd = -1;  // epoll over the wake fd and the program's socket
};

WindowSystem& windowSystem();
WindowData* findLocal(WindowHandle handle);

// Screen rectangle of a window's client area.
Rect screenRectOf(const WindowData& w);
// The part of a window's client area that is on screen (clipped by its parents), in client
// coordinates.
Rect visibleClientRect(const WindowData& w);
bool isShownOnScreen(const WindowData& w);
// The window of this program under a screen point (deepest visible child).
WindowHandle windowAtScreenPoint(Point p);

// Wakes the message loop from another thread.
void wakeLoop();
// Reads everything waiting on the program's socket, handling sends at once and queueing the
// rest.
void drainSocket();
// Paints layers over changed parts of the screen and shows them.
void composeAndPresent();

void handleControlRequest(const ControlRequest& request);
void replyToControl(const ControlRequest& request, bool ok, const std::string& text);
void activateLocal(WindowHandle handle, bool activate);

// Offers an input event to the screen layers, highest first; true when one took it.
bool offerInputToLayers(const InputEvent& event);
// Runs an action after a delay, from the message loop.
void deferAction(int delayMs, std::function<void()> action);
// Runs an action the next time the loop has nothing else to do (all posted messages handled,
// all windows painted).
void whenIdle(std::function<void()> action);

// Follows a change of the screen profile made by any program (a rotation).
void applyScreenProfile();
bool sipIsShown();
void setSipShown(bool shown);

// Moves the top-level windows after the screen changed size (rotation, full screen).
void relayoutTopLevelWindows(Size oldScreen, Size newScreen);

}  // namespace platform::gui
