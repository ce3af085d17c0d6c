// Tap-and-hold: quick taps and moves stay ordinary stylus input for the window; a hold shows
// the ring of dots and answers GestureContextMenu, after which a context menu is usable.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/api/shell.h"
#include "platform/api/shell_install.h"
#include "platform/api/window.h"
#include "platform/gui/window_system.h"
#include "tests/platform/support/shell_input.h"
#include "tests/platform/support/test_device.h"

using namespace platform;
using namespace platform::test;
using Kind = gui::InputEvent::Kind;

namespace {

constexpr Colour kWindowColour = rgb(236, 236, 236);
constexpr std::uint32_t kGestureAnswer = wm::User + 50;  // logged, not sent

struct Logged {
    std::uint32_t id;
    WParam wParam;
    Point point;
};
std::vector<Logged> g_log;
bool g_openMenuOnHold = false;
MenuHandle g_menu = 0;
std::uint32_t g_chosen = 0;
std::chrono::milliseconds g_heldFor{0};

LResult gestureProc(WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
    if (id == wm::Paint) {
        PaintSession paint(w);
        paint.dc().fillRect(clientRect(w), kWindowColour);
        return 0;
    }
    if (id == wm::LButtonDown || id == wm::LButtonUp || id == wm::MouseMove) {
        g_log.push_back({id, wp, pointFromLParam(lp)});
    }
    if (id == wm::LButtonDown) {
        auto start = std::chrono::steady_clock::now();
        Point at = pointFromLParam(lp);
        int answer = recognizeGesture(w, at);
        g_heldFor = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        g_log.push_back({kGestureAnswer, static_cast<WParam>(answer), at});
        if (answer == GestureContextMenu && g_openMenuOnHold) {
            g_chosen = trackPopupMenu(g_menu, clientToScreen(w, at), w, false);
        }
    }
    return defWindowProc(w, id, wp, lp);
}

std::vector<std::uint32_t> ids() {
    std::vector<std::uint32_t> out;
    for (const auto& l : g_log) out.push_back(l.id);
    return out;
}

int answerLogged() {
    for (const auto& l : g_log) {
        if (l.id == kGestureAnswer)
            return static_cast<int>(l.wParam);
    }
    return -1;
}

class ShellGestureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        installShell();
        if (!isWindowClassRegistered(L"ShellGestureTest")) {
            ASSERT_TRUE(registerWindowClass({L"ShellGestureTest", gestureProc}));
        }
        WindowCreate c;
        c.className = L"ShellGestureTest";
        window_ = createWindow(c);
        ASSERT_NE(window_, 0u);
        setForegroundWindow(window_);
        pumpFor(30);
        g_log.clear();
        g_openMenuOnHold = false;
    }
    void TearDown() override { destroyWindow(window_); }
    Point onScreen(Point client) { return clientToScreen(window_, client); }
    WindowHandle window_ = 0;
};

TEST_F(ShellGestureTest, QuickTapIsNoGestureAndTheWindowStillGetsItsRelease) {
    Point p = onScreen({100, 100});
    gui::injectInput({Kind::PointerDown, p});
    gui::injectInput({Kind::PointerUp, p});
    ASSERT_TRUE(pumpUntil([] { return ids().size() >= 3; }));
    // The release comes after recognizeGesture returned, not inside it.
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{wm::LButtonDown, kGestureAnswer, wm::LButtonUp}));
    EXPECT_EQ(answerLogged(), GestureNone);
    EXPECT_EQ(g_log[2].point, (Point{100, 100}));
    EXPECT_LT(g_heldFor.count(), 500);
}

TEST_F(ShellGestureTest, MovingAwayIsNoGestureAndTheWindowGetsTheMove) {
    Point p = onScreen({100, 100});
    gui::injectInput({Kind::PointerDown, p});
    gui::deferAction(200, [p] {
        gui::injectInput({Kind::PointerMove, {p.x + 2, p.y + 1}});  // a tremble
        gui::injectInput({Kind::PointerMove, {p.x + 30, p.y}});
        gui::injectInput({Kind::PointerUp, {p.x + 30, p.y}});
    });
    ASSERT_TRUE(pumpUntil([] { return ids().size() >= 4; }));
    EXPECT_EQ(answerLogged(), GestureNone);
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{wm::LButtonDown, kGestureAnswer, wm::MouseMove,
                                                 wm::LButtonUp}));
    EXPECT_EQ(g_log[2].point, (Point{130, 100}));
    EXPECT_EQ(g_log[2].wParam, 1u);  // the stylus is still down during the move
}

TEST_F(ShellGestureTest, HoldingStillShowsTheRingAndAnswersContextMenu) {
    Point p = onScreen({120, 150});
    Colour underPoint = 0;
    int ringPixels = 0;
    gui::injectInput({Kind::PointerDown, p});
    gui::deferAction(300, [p] { gui::injectInput({Kind::PointerMove, {p.x + 2, p.y - 2}}); });
    // Late in the hold the ring is on screen: count coloured pixels around the point.
    gui::deferAction(800, [&, p] {
        gui::presentNow();
        const Bitmap& fb = gui::framebuffer();
        for (int y = p.y - 25; y <= p.y + 25; ++y) {
            for (int x = p.x - 25; x <= p.x + 25; ++x) {
                Colour c = fb.pixel(x, y);
                if (c != kWindowColour && (redOf(c) > 150 || blueOf(c) > 150))
                    ++ringPixels;
            }
        }
        underPoint = fb.pixel(p.x, p.y);
        if (const char* folder = std::getenv("VORN_SHELL_SCREENSHOTS")) {
            savePng(fb, std::filesystem::path(folder) / "hold-ring.png");
        }
    });
    gui::deferAction(1200, [p] { gui::injectInput({Kind::PointerUp, p}); });
    ASSERT_TRUE(pumpUntil([] { return answerLogged() >= 0; }));
    EXPECT_EQ(answerLogged(), GestureContextMenu);
    EXPECT_GE(g_heldFor.count(), 850);
    EXPECT_GT(ringPixels, 30);
    EXPECT_EQ(underPoint, kWindowColour);  // a ring, not a blot
    // The release of the hold is not the window's; the ring is gone.
    pumpFor(600);
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{wm::LButtonDown, kGestureAnswer}));
    gui::presentNow();
    EXPECT_EQ(gui::framebuffer().pixel(p.x, p.y - 15), kWindowColour);
    // The next tap is an ordinary one again.
    g_log.clear();
    gui::injectInput({Kind::PointerDown, p});
    gui::injectInput({Kind::PointerUp, p});
    ASSERT_TRUE(pumpUntil([] { return ids().size() >= 3; }));
    EXPECT_EQ(ids().back(), wm::LButtonUp);
}

TEST_F(ShellGestureTest, AContextMenuOpenedOnHoldWaitsForATapOnAnItem) {
    g_menu = createPopupMenu();
    appendMenu(g_menu, mf::String, 501, L"Edit city");
    appendMenu(g_menu, mf::String, 502, L"Remove city");
    g_openMenuOnHold = true;
    g_chosen = 0;
    Point p = onScreen({60, 60});
    gui::injectInput({Kind::PointerDown, p});
    // The hold ends with the stylus lifted over the menu's first item: no choice. Then a
    // tap on the second item chooses it.
    gui::deferAction(1100, [p] { gui::injectInput({Kind::PointerUp, {p.x + 20, p.y + 8}}); });
    gui::deferAction(1300, [p] {
        gui::injectInput({Kind::PointerDown, {p.x + 20, p.y + 30}});
        gui::injectInput({Kind::PointerUp, {p.x + 20, p.y + 30}});
    });
    ASSERT_TRUE(pumpUntil([] { return g_chosen != 0; }));
    EXPECT_EQ(g_chosen, 502u);
    EXPECT_EQ(ids(), (std::vector<std::uint32_t>{wm::LButtonDown, kGestureAnswer}));
    destroyMenu(g_menu);
}

TEST_F(ShellGestureTest, NoGestureWithoutAStylusPressOrForAnotherProgramsWindow) {
    EXPECT_EQ(recognizeGesture(window_, {10, 10}), GestureNone);  // the stylus is up
    EXPECT_EQ(recognizeGesture(0xFFFFFF, {10, 10}), GestureNone);
}

}  // namespace
