#pragma once
// Windows and messages. Window handles are numbers unique across the whole device, so a
// program can find another program's window by class and title and post messages to it.
// Message and key numbers are the handheld's, because they cross program boundaries and the
// system's own tables name them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/types.h"

namespace platform {

using WindowHandle = std::uint32_t;  // 0 = no window
using WParam = std::uint64_t;
using LParam = std::int64_t;
using LResult = std::int64_t;

// Message numbers.
namespace wm {
constexpr std::uint32_t Null = 0x0000, Create = 0x0001, Destroy = 0x0002, Move = 0x0003,
                        Size = 0x0005, Activate = 0x0006, SetFocus = 0x0007, KillFocus = 0x0008,
                        Enable = 0x000A, SetText = 0x000C, GetText = 0x000D, Paint = 0x000F,
                        Close = 0x0010, Quit = 0x0012, EraseBackground = 0x0014,
                        ShowWindow = 0x0018, SettingChange = 0x001A, SetFont = 0x0030,
                        Notify = 0x004E, KeyDown = 0x0100, KeyUp = 0x0101, Char = 0x0102,
                        Command = 0x0111, Timer = 0x0113, VScroll = 0x0115, CtlColorEdit = 0x0133,
                        MouseMove = 0x0200, LButtonDown = 0x0201, LButtonUp = 0x0202,
                        HotKey = 0x0312, User = 0x0400,
                        // The first number handed out for registered message names.
    FirstRegistered = 0xC000;
}  // namespace wm

// Activation states in wParam of wm::Activate.
namespace wa {
constexpr WParam Inactive = 0, Active = 1, ClickActive = 2;
}

// Virtual key codes.
namespace vk {
constexpr std::uint32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                        Escape = 0x1B, Space = 0x20, PageUp = 0x21, PageDown = 0x22, End = 0x23,
                        Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
                        Delete = 0x2E, Digit0 = 0x30, LetterA = 0x41, F1 = 0x70, F2 = 0x71,
                        F3 = 0x72, F4 = 0x73,
                        // The handheld's Back key is reported as Escape.
    TBack = Escape, TSoft1 = F1, TSoft2 = F2, Action = Return;
}

// Packs two 16-bit halves the way the handheld packs pointer positions into lParam.
constexpr LParam makeLParam(int low, int high) {
    return static_cast<LParam>(
        static_cast<std::uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
constexpr int loWord(std::uint64_t v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
constexpr int hiWord(std::uint64_t v) {
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}
constexpr Point pointFromLParam(LParam l) {
    return {loWord(static_cast<std::uint64_t>(l)), hiWord(static_cast<std::uint64_t>(l))};
}

struct Message {
    WindowHandle window = 0;
    std::uint32_t id = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::uint32_t time = 0;  // tick count when posted
};

using WindowProc = std::function<LResult(WindowHandle, std::uint32_t, WParam, LParam)>;

struct WindowClass {
    std::wstring name;
    WindowProc proc;
    // Erase colour for wm::EraseBackground's default handling; none leaves pixels alone.
    std::optional<Colour> background = 0xFFFFFF;
};

// Registers a window class for this program. False when the name is taken in this program.
bool registerWindowClass(const WindowClass& cls);
bool isWindowClassRegistered(std::wstring_view name);

constexpr int UseDefault = static_cast<int>(0x80000000);

struct WindowCreate {
    std::wstring className;
    std::wstring title;
    WindowHandle parent = 0;  // 0: a top-level window
    // Client position and size; UseDefault places a top-level window over the visible
    // desktop (below the task bar, above the menu bar).
    int x = UseDefault, y = UseDefault, width = UseDefault, height = UseDefault;
    bool visible = true;
    std::uint32_t style = 0;  // class-specific style bits (edit and picker styles)
    int controlId = 0;
};

// Creates a window; sends wm::Create (with lParam pointing at the WindowCreate) and, for a
// visible window, wm::ShowWindow and wm::Size. Returns 0 when the class is unknown or
// wm::Create answered -1.
WindowHandle createWindow(const WindowCreate& create);
bool destroyWindow(WindowHandle window);  // children first; sends wm::Destroy
bool isWindow(WindowHandle window);       // a live window anywhere on the device
bool isOwnWindow(WindowHandle window);    // a live window of this program

// Finds a top-level window of any program of the device; an empty class or title matches any.
WindowHandle findWindow(std::wstring_view className, std::wstring_view title);

struct WindowInfo {
    WindowHandle handle = 0;
    std::wstring className;
    std::wstring title;
    std::wstring program;  // device path of the owning program
    int processId = 0;
    bool visible = false;
    bool foreground = false;
    Rect rect;  // screen coordinates
};
// Every top-level window of the device, in creation order.
std::vector<WindowInfo> listWindows();

// Messages. Posting to another program's window sends a datagram to it; a window whose
// program has died is forgotten and the post fails. Sending to another program waits for
// the answer up to timeoutMs and returns 0 when none comes.
bool postMessage(WindowHandle window, std::uint32_t id, WParam wParam = 0, LParam lParam = 0);
LResult sendMessage(WindowHandle window, std::uint32_t id, WParam wParam = 0, LParam lParam = 0,
                    int timeoutMs = 5000);
void postQuitMessage(int exitCode);

// Message loop. getMessage waits for the next message and answers false for wm::Quit (its
// wParam is the exit code). Posted messages come first, then input, then paint, then timers.
bool getMessage(Message& out);
bool peekMessage(Message& out, bool remove);
// Waits up to timeoutMs for a message to arrive (0 returns at once); true if one is ready.
bool waitMessage(int timeoutMs);
void translateMessage(const Message& msg);  // wm::KeyDown of printable keys -> wm::Char
LResult dispatchMessage(const Message& msg);
LResult defWindowProc(WindowHandle window, std::uint32_t id, WParam wParam, LParam lParam);

// Registered message names map to the same number in every program of the device.
std::uint32_t registerWindowMessage(std::wstring_view name);
// False for the messages whose parameters are addresses in the sender's memory (texts,
// structures, drawing contexts): those are never posted or sent to another program.
bool messageMayCrossPrograms(std::uint32_t id);

// Window procedure and per-window user data; setWindowProc returns the previous procedure
// so controls can be subclassed.
WindowProc setWindowProc(WindowHandle window, WindowProc proc);
WindowProc windowProc(WindowHandle window);
LResult callWindowProc(const WindowProc& proc, WindowHandle window, std::uint32_t id, WParam wParam,
                       LParam lParam);
std::intptr_t setWindowUserData(WindowHandle window, std::intptr_t data);
std::intptr_t windowUserData(WindowHandle window);

// Timers: wm::Timer with wParam = id after at least intervalMs, again every intervalMs until
// killed. Setting an existing id restarts it with the new interval.
bool setTimer(WindowHandle window, std::uintptr_t id, std::uint32_t intervalMs);
bool killTimer(WindowHandle window, std::uintptr_t id);

// Painting. Invalid areas are coalesced into one rectangle per window and painted once when
// the queue is otherwise empty (or at once by updateWindow).
void invalidateRect(WindowHandle window, const Rect* rect, bool erase);
void validateRect(WindowHandle window, const Rect* rect);
void updateWindow(WindowHandle window);
std::optional<Rect> updateRect(WindowHandle window);

// A paint session: a context clipped to the invalid area, which becomes valid when the
// session ends.
class PaintSession {
  public:
    explicit PaintSession(WindowHandle window);
    ~PaintSession();
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    DeviceContext& dc() { return *dc_; }
    Rect invalidRect() const { return invalid_; }
    bool eraseRequested() const { return erase_; }

  private:
    WindowHandle window_;
    std::unique_ptr<DeviceContext> dc_;
    Rect invalid_;
    bool erase_ = false;
};

// A context onto the whole client area of a window, outside painting.
std::unique_ptr<DeviceContext> windowDc(WindowHandle window);

// Geometry, in client coordinates of the parent (screen coordinates for top-level windows).
Rect clientRect(WindowHandle window);  // always at 0, 0
Rect windowRect(WindowHandle window);  // screen coordinates
bool moveWindow(WindowHandle window, const Rect& rect, bool repaint);
Point clientToScreen(WindowHandle window, Point p);
Point screenToClient(WindowHandle window, Point p);
WindowHandle parentWindow(WindowHandle window);
std::vector<WindowHandle> childWindows(WindowHandle window);
WindowHandle childAt(WindowHandle parent, Point clientPoint);

bool showWindow(WindowHandle window, bool show);
bool isWindowVisible(WindowHandle window);
bool enableWindow(WindowHandle window, bool enable);
bool isWindowEnabled(WindowHandle window);
std::wstring windowText(WindowHandle window);
bool setWindowText(WindowHandle window, std::wstring_view text);
std::wstring windowClassName(WindowHandle window);
int controlId(WindowHandle window);
std::uint32_t windowStyle(WindowHandle window);

// Focus belongs to one window of this program; activation and the foreground to one
// top-level window of the device.
WindowHandle setFocus(WindowHandle window);
WindowHandle focusWindow();
WindowHandle setActiveWindow(WindowHandle window);
WindowHandle activeWindow();
bool setForegroundWindow(WindowHandle window);
WindowHandle foregroundWindow();

WindowHandle setCapture(WindowHandle window);
bool releaseCapture();
WindowHandle captureWindow();

// The tick count: milliseconds since the device started counting, wrapping at 2^32.
std::uint32_t tickCount();

}  // namespace platform
