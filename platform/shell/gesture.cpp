// Tap-and-hold: after a press, a modal loop watches the stylus. Lifting or moving it early
// makes the press an ordinary tap; holding it still shows a ring of dots appearing around the
// point and then answers GestureContextMenu.
//
// Input that arrives while the loop runs is held back and put in front of the queue again
// afterwards, so the window sees it in order once recognizeGesture has returned. After a hold
// the rest of the press (moves and the release) is dropped: the context menu the program opens
// then waits for a fresh tap, and the window never sees a release that would act as a tap
// under the menu. The hold also ends a pointer capture the window took on the press.

#include <chrono>
#include <cmath>
#include <numbers>
#include <optional>

#include "platform/gui/window_system.h"
#include "platform/shell/key_filters.h"
#include "platform/shell/screen_area.h"
#include "platform/shell/shell_internal.h"

namespace platform::shell {
namespace {

constexpr int kHoldMs = 900;
constexpr int kFirstDotMs = 150;  // a short press shows nothing
constexpr int kDots = 8;
constexpr int kRingRadius = 15;  // at scale 1
constexpr int kDotRadius = 3;
constexpr int kSlop = 5;  // movement still counted as holding still

struct Hold {
    Point centre;
    SteadyTime start;  // on the device's steady clock, as timers run
    std::optional<int> answer;
    HeldInput heldBack;
    int dotsShown = 0;
    std::shared_ptr<Bitmap> under;  // the screen beneath the ring, to draw the dots over
};

int elapsedMs(const Hold& h) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(steadyNow() - h.start).count());
}

int dotsDue(const Hold& h) {
    int t = elapsedMs(h) - kFirstDotMs;
    if (t < 0)
        return 0;
    return std::min(kDots, 1 + t * kDots / (kHoldMs - kFirstDotMs));
}

Rect ringArea(Point c) {
    int r = scaled(kRingRadius + kDotRadius + 1);
    return {c.x - r, c.y - r, c.x + r + 1, c.y + r + 1};
}

void paintRing(DeviceContext& dc, const Hold& h) {
    Rect area = ringArea(h.centre);
    if (h.under)
        dc.drawBitmap(area, *h.under, {0, 0});
    static constexpr Colour kColours[] = {rgb(214, 40, 40), rgb(32, 96, 200)};
    Pen oldPen = dc.selectPen(Pen{0, 1, false});
    for (int i = 0; i < h.dotsShown; ++i) {
        // The first dot at twelve o'clock, then clockwise.
        double angle = 2 * std::numbers::pi * i / kDots - std::numbers::pi / 2;
        int x = h.centre.x + static_cast<int>(std::lround(scaled(kRingRadius) * std::cos(angle)));
        int y = h.centre.y + static_cast<int>(std::lround(scaled(kRingRadius) * std::sin(angle)));
        int r = scaled(kDotRadius);
        Brush oldBrush = dc.selectBrush(Brush::solid(kColours[i % 2]));
        dc.ellipse({x - r, y - r, x + r + 1, y + r + 1});
        dc.selectBrush(oldBrush);
    }
    dc.selectPen(oldPen);
}

std::shared_ptr<Bitmap> copyScreen(const Rect& area) {
    auto out = std::make_shared<Bitmap>(area.width(), area.height());
    const Bitmap& fb = gui::framebuffer();
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            out->setPixel(x, y, fb.pixel(area.left + x, area.top + y));
        }
    }
    return out;
}

bool onInput(Hold& h, const gui::InputEvent& e) {
    using Kind = gui::InputEvent::Kind;
    if (!h.answer) {
        bool pointer =
            e.kind == Kind::PointerDown || e.kind == Kind::PointerMove || e.kind == Kind::PointerUp;
        if (elapsedMs(h) >= kHoldMs) {
            h.answer = GestureContextMenu;
        } else if (pointer) {
            int dx = e.position.x - h.centre.x, dy = e.position.y - h.centre.y;
            bool still = std::abs(dx) <= scaled(kSlop) && std::abs(dy) <= scaled(kSlop);
            if (e.kind == Kind::PointerMove && still)
                return true;  // a tremble, not a move
            h.answer = GestureNone;
        }
    }
    h.heldBack.hold(e);
    return true;
}

Hold* g_hold = nullptr;  // the hold being watched, if any

// One layer for every hold, added on first use, so that a quick tap does not make the whole
// screen repaint as adding and removing a layer would.
void ensureHoldLayer() {
    static bool added = false;
    if (added)
        return;
    added = true;
    gui::ScreenLayer layer;
    layer.z = z::HoldAnimation;
    layer.paint = [](DeviceContext& dc) {
        if (g_hold)
            paintRing(dc, *g_hold);
    };
    layer.input = [](const gui::InputEvent& e) { return g_hold && onInput(*g_hold, e); };
    layer.area = [] { return g_hold && g_hold->dotsShown ? ringArea(g_hold->centre) : Rect{}; };
    gui::addScreenLayer(std::move(layer));
}

}  // namespace

}  // namespace platform::shell

namespace platform {

using namespace shell;

int recognizeGesture(WindowHandle window, Point clientPoint) {
    auto& ws = gui::windowSystem();
    if (!isOwnWindow(window) || !ws.pointerDown || g_hold)
        return GestureNone;
    ensureHoldLayer();
    Hold hold;
    hold.centre = clientToScreen(window, clientPoint);
    hold.start = steadyNow();
    hold.under = copyScreen(ringArea(hold.centre));
    g_hold = &hold;
    bool running = runModal(
        [&hold] {
            if (!hold.answer && elapsedMs(hold) >= kHoldMs)
                hold.answer = GestureContextMenu;
            if (int due = dotsDue(hold); due != hold.dotsShown && !hold.answer) {
                hold.dotsShown = due;
                gui::markScreenChanged(ringArea(hold.centre));
            }
            return hold.answer.has_value();
        },
        20);
    g_hold = nullptr;
    int answer = running ? hold.answer.value_or(GestureNone) : GestureNone;
    if (hold.dotsShown)
        exposeScreenArea(ringArea(hold.centre));
    if (answer == GestureContextMenu) {
        swallowPointerUntilRelease();
        releaseCapture();
    }
    hold.heldBack.putBack();
    return answer;
}

}  // namespace platform
