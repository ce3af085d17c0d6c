#pragma once
// The screen of this program: one framebuffer the size of the device screen into which the
// program's windows paint, the shell draws its bars, and modal overlays draw on top. A display
// backend shows it (an SDL window) or keeps it in memory (headless). Internal to the platform.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/types.h"

namespace platform::gui {

struct InputEvent {
    enum class Kind { PointerDown, PointerMove, PointerUp, KeyDown, KeyUp, Char, CloseRequest };
    Kind kind = Kind::PointerMove;
    Point position;         // screen coordinates for pointer events
    std::uint32_t key = 0;  // virtual key for key events
    wchar_t character = 0;  // for Char
};

// A display backend: shows the framebuffer and reports input. Chosen by name at start-up.
class DisplayBackend {
  public:
    virtual ~DisplayBackend() = default;
    virtual const char* name() const = 0;
    // Shows the changed part of the framebuffer.
    virtual void present(const Bitmap& framebuffer, const Rect& changed) = 0;
    // Collects input that arrived; waits at most timeoutMs when there is none (0: no wait).
    // A backend that can only poll waits in short steps; wakeFd (readable when other work
    // arrives) ends the wait early.
    virtual void pollInput(std::vector<InputEvent>& out, int timeoutMs, int wakeFd) = 0;
    virtual void screenResized(Size size) = 0;
    virtual void setTitle(const std::wstring& title) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void raise() = 0;
};

struct BackendEntry {
    const char* name;
    std::unique_ptr<DisplayBackend> (*create)();
};

// Installs the backend this program shows its screen with (before the first window).
void setDisplayBackend(std::unique_ptr<DisplayBackend> backend);
DisplayBackend* displayBackend();

// The framebuffer, created at the screen profile's size on first use.
Bitmap& framebuffer();
std::shared_ptr<Bitmap> framebufferRef();
Size framebufferSize();

// Marks part of the screen as changed; it is presented at the end of the loop iteration.
void markScreenChanged(const Rect& r);
void presentNow();

// Layers drawn by the shell over the windows: the task bar, the menu bar, pop-up menus,
// message boxes, the wait indicator. Painters run after window painting in z order; input
// filters see every input event first (highest z first) and return true to take it.
struct ScreenLayer {
    int z = 0;
    std::function<void(DeviceContext& screenDc)> paint;  // may be empty
    std::function<bool(const InputEvent& event)> input;  // may be empty
    std::function<Rect()> area;                          // screen area it covers
};
int addScreenLayer(ScreenLayer layer);  // returns an id
void removeScreenLayer(int id);
void repaintLayers();  // repaints the layers at once

// Repaints everything: every top-level window of this program is invalidated and the layers
// are redrawn (after an overlay closes, after a rotation).
void invalidateScreen();

// Hooks run when the screen profile changes (a rotation), after the framebuffer is resized.
int onScreenChanged(std::function<void()> hook);

// Feeds an input event as if it came from the backend (ctl commands, tests).
void injectInput(const InputEvent& event);

// Runs one round of the modal loop used by menus and message boxes: waits up to timeoutMs,
// then dispatches whatever arrived. Returns false when wm::Quit was seen (it is re-posted).
bool pumpModal(int timeoutMs);

}  // namespace platform::gui
