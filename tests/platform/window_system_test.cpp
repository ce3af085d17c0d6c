// The window system inside one program: message order, timers, painting, input routing,
// focus and the device-wide names.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/api/shell.h"
#include "platform/api/window.h"
#include "platform/gui/ipc.h"
#include "platform/gui/window_system.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"

using namespace platform;

namespace {

struct Recorded {
    WindowHandle window;
    std::uint32_t id;
    WParam wParam;
    LParam lParam;
};

std::vector<Recorded> g_log;
Colour g_paintColour = rgb(200, 30, 40);

LResult recordingProc(WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
    if (id == wm::Paint) {
        PaintSession paint(w);
        paint.dc().fillRect(clientRect(w), g_paintColour);
        g_log.push_back({w, id, wp, lp});
        return 0;
    }
    if (id == wm::Create || id == wm::Size || id == wm::ShowWindow || id == wm::EraseBackground) {
        return defWindowProc(w, id, wp, lp);
    }
    g_log.push_back({w, id, wp, lp});
    return defWindowProc(w, id, wp, lp);
}

class WindowSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        if (!isWindowClassRegistered(L"TestRecorder")) {
            ASSERT_TRUE(registerWindowClass({L"TestRecorder", recordingProc}));
        }
        g_log.clear();
    }
    void TearDown() override {
        for (WindowHandle h : created_) destroyWindow(h);
        // Drain what the destruction left behind.
        Message m;
        while (peekMessage(m, true)) {
            if (m.id != wm::Quit)
                dispatchMessage(m);
        }
    }
    WindowHandle make(std::wstring title, WindowHandle parent = 0, Rect r = {0, 0, 0, 0}) {
        WindowCreate c;
        c.className = L"TestRecorder";
        c.title = std::move(title);
        c.parent = parent;
        if (!r.isEmpty()) {
            c.x = r.left, c.y = r.top, c.width = r.width(), c.height = r.height();
        }
        WindowHandle h = createWindow(c);
        if (!parent)
            created_.push_back(h);
        return h;
    }
    // Runs the loop until the predicate holds or two seconds pass.
    template <class P>
    bool pumpUntil(P done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        Message m;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (peekMessage(m, true)) {
                if (m.id == wm::Quit)
                    continue;
                translateMessage(m);
                dispatchMessage(m);
            } else {
                waitMessage(20);
            }
        }
        return true;
    }
    std::vector<WindowHandle> created_;
};

TEST_F(WindowSystemTest, PostedMessagesArriveInOrderAndQuitEndsTheLoop) {
    WindowHandle w = make(L"order");
    ASSERT_NE(w, 0u);
    Message m;
    while (peekMessage(m, true)) dispatchMessage(m);  // the first paint
    g_log.clear();
    postMessage(w, wm::User + 1, 10, 20);
    postMessage(w, wm::User + 2, 11, 21);
    postQuitMessage(7);
    std::vector<std::uint32_t> seen;
    while (getMessage(m)) {
        dispatchMessage(m);
        seen.push_back(m.id);
    }
    EXPECT_EQ(m.id, wm::Quit);
    EXPECT_EQ(m.wParam, 7u);
    ASSERT_EQ(g_log.size(), 2u);
    EXPECT_EQ(g_log[0].id, wm::User + 1);
    EXPECT_EQ(g_log[0].wParam, 10u);
    EXPECT_EQ(g_log[1].lParam, 21);
    // A message for a window destroyed before delivery is dropped.
    WindowHandle gone = make(L"gone");
    postMessage(gone, wm::User + 3, 0, 0);
    destroyWindow(gone);
    EXPECT_FALSE(peekMessage(m, false) && m.id == wm::User + 3);
}

TEST_F(WindowSystemTest, TimersRepeatUntilKilledAndRestartWithANewInterval) {
    WindowHandle w = make(L"timers");
    test::TestClock clock(*toFileTime({2026, 12, 2, 8, 10, 0, 0, 0}));
    auto ticks = [&] {
        int n = 0;
        for (auto& r : g_log) n += (r.id == wm::Timer && r.wParam == 9899);
        return n;
    };
    ASSERT_TRUE(setTimer(w, 9899, 10));
    test::fastForward(9, 1);
    EXPECT_EQ(ticks(), 0) << "not before its interval";
    test::fastForward(1, 1);
    EXPECT_EQ(ticks(), 1);
    test::fastForward(20, 1);
    EXPECT_EQ(ticks(), 3) << "once per interval";
    // Setting it again starts the new interval from then.
    test::fastForward(5, 1);
    ASSERT_TRUE(setTimer(w, 9899, 100));
    test::fastForward(99, 1);
    EXPECT_EQ(ticks(), 3);
    test::fastForward(1, 1);
    EXPECT_EQ(ticks(), 4);
    EXPECT_TRUE(killTimer(w, 9899));
    EXPECT_FALSE(killTimer(w, 9899));
    test::fastForward(2000, 100);
    EXPECT_EQ(ticks(), 4) << "a killed timer stays quiet";
    EXPECT_FALSE(setTimer(0xFFFFFF, 1, 10));
}

TEST_F(WindowSystemTest, TimersDeferredActionsAndTicksStandStillUntilTheTestClockMoves) {
    WindowHandle w = make(L"still");
    test::TestClock clock(*toFileTime({2026, 12, 2, 8, 10, 0, 0, 0}));
    test::deliverAll();
    g_log.clear();
    ASSERT_TRUE(setTimer(w, 7, 50));
    bool ran = false;
    gui::deferAction(500, [&] { ran = true; });
    std::uint32_t tick = tickCount();
    // Real time passes; the program's time does not.
    ASSERT_FALSE(waitMessage(120));
    Message m;
    EXPECT_FALSE(peekMessage(m, false));
    EXPECT_EQ(tickCount(), tick);
    EXPECT_FALSE(ran);

    test::fastForward(499, 50);
    EXPECT_EQ(tickCount() - tick, 499u);
    EXPECT_FALSE(ran);
    ASSERT_EQ(g_log.size(), 9u) << "the timer at 50, 100 ... 450 ms";
    EXPECT_EQ(g_log.back().id, wm::Timer);
    test::fastForward(1);
    EXPECT_TRUE(ran);
    EXPECT_EQ(g_log.size(), 10u);
    EXPECT_TRUE(killTimer(w, 7));
}

TEST_F(WindowSystemTest, InvalidAreasCoalesceIntoOnePaintThatReachesTheScreen) {
    WindowHandle w = make(L"paint", 0, {10, 40, 110, 140});
    ASSERT_TRUE(pumpUntil([&] { return !updateRect(w); }));
    g_log.clear();
    Rect a{0, 0, 10, 10}, b{50, 50, 60, 60};
    invalidateRect(w, &a, false);
    invalidateRect(w, &b, false);
    ASSERT_TRUE(updateRect(w).has_value());
    EXPECT_EQ(*updateRect(w), (Rect{0, 0, 60, 60}));
    g_paintColour = rgb(10, 200, 30);
    ASSERT_TRUE(pumpUntil([&] { return !updateRect(w); }));
    int paints = 0;
    for (auto& r : g_log) paints += r.id == wm::Paint;
    EXPECT_EQ(paints, 1);
    auto& fb = gui::framebuffer();
    EXPECT_EQ(fb.pixel(10 + 55, 40 + 55), rgb(10, 200, 30));  // inside the painted area
    EXPECT_NE(fb.pixel(10 + 80, 40 + 80), rgb(10, 200, 30));  // outside it: untouched
}

TEST_F(WindowSystemTest, PointerInputGoesToTheChildUnderThePointOrToTheCapture) {
    WindowHandle top = make(L"input", 0, {0, 26, 240, 294});
    WindowHandle child = make(L"child", top, {20, 20, 120, 60});
    ASSERT_NE(child, 0u);
    pumpUntil([&] { return !updateRect(top) && !updateRect(child); });
    g_log.clear();
    auto pointerLog = [] {
        std::vector<Recorded> out;
        for (auto& r : g_log) {
            if (r.id == wm::LButtonDown || r.id == wm::LButtonUp || r.id == wm::MouseMove) {
                out.push_back(r);
            }
        }
        return out;
    };
    gui::injectInput({gui::InputEvent::Kind::PointerDown, {30, 26 + 25}});
    gui::injectInput({gui::InputEvent::Kind::PointerUp, {200, 200}});
    ASSERT_TRUE(pumpUntil([&] { return pointerLog().size() >= 2; }));
    auto log = pointerLog();
    EXPECT_EQ(log[0].window, child);
    EXPECT_EQ(log[0].id, wm::LButtonDown);
    EXPECT_EQ(log[0].wParam, 1u);  // the stylus is down
    EXPECT_EQ(pointFromLParam(log[0].lParam), (Point{10, 5}));
    EXPECT_EQ(log[1].window, top);   // released elsewhere, no capture
    EXPECT_EQ(activeWindow(), top);  // a tap activates the window it lands in
    g_log.clear();
    setCapture(child);
    gui::injectInput({gui::InputEvent::Kind::PointerMove, {200, 200}});
    ASSERT_TRUE(pumpUntil([&] { return !pointerLog().empty(); }));
    log = pointerLog();
    EXPECT_EQ(log[0].window, child);
    EXPECT_EQ(pointFromLParam(log[0].lParam), (Point{200 - 20, 200 - 26 - 20}));
    releaseCapture();
}

TEST_F(WindowSystemTest, KeysGoToTheFocusedWindowAndFocusChangesAreAnnounced) {
    WindowHandle top = make(L"keys", 0, {0, 26, 240, 294});
    WindowHandle a = make(L"a", top, {0, 0, 10, 10});
    WindowHandle b = make(L"b", top, {0, 20, 10, 30});
    setFocus(a);
    g_log.clear();
    EXPECT_EQ(setFocus(b), a);
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(g_log[0].window, a);
    EXPECT_EQ(g_log[0].id, wm::KillFocus);
    EXPECT_EQ(g_log[1].window, b);
    EXPECT_EQ(g_log[1].id, wm::SetFocus);
    g_log.clear();
    gui::injectInput({gui::InputEvent::Kind::KeyDown, {}, vk::Return});
    ASSERT_TRUE(pumpUntil([&] { return g_log.size() >= 1; }));
    EXPECT_EQ(g_log[0].window, b);
    EXPECT_EQ(g_log[0].id, wm::KeyDown);
    EXPECT_EQ(g_log[0].wParam, vk::Return);
}

TEST_F(WindowSystemTest, WindowsAndMessageNamesAreKnownDeviceWide) {
    WindowHandle w = make(L"Findable Title");
    EXPECT_EQ(findWindow(L"testrecorder", L"Findable Title"), w);   // class ignores case
    EXPECT_EQ(findWindow(L"TestRecorder", L"findable title"), 0u);  // the title does not
    EXPECT_EQ(findWindow(L"NoSuchClass", L""), 0u);
    bool listed = false;
    for (auto& info : listWindows()) listed |= info.handle == w && info.title == L"Findable Title";
    EXPECT_TRUE(listed);

    std::uint32_t a = registerWindowMessage(L"VornRoamerComms");
    std::uint32_t b = registerWindowMessage(L"vornroamercomms");
    std::uint32_t c = registerWindowMessage(L"VornRoamerChngModule");
    EXPECT_GE(a, wm::FirstRegistered);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(registerWindowMessage(L""), 0u);
}

TEST_F(WindowSystemTest, ScreenLayersSeeInputBeforeWindows) {
    WindowHandle top = make(L"layered", 0, {0, 26, 240, 294});
    pumpUntil([&] { return !updateRect(top); });
    g_log.clear();
    int taken = 0;
    int id = gui::addScreenLayer({100,
                                  {},
                                  [&](const gui::InputEvent& e) {
                                      if (e.position.y >= 294) {
                                          ++taken;
                                          return true;
                                      }
                                      return false;
                                  },
                                  [] {
                                      return Rect{0, 294, 240, 320};
                                  }});
    gui::injectInput({gui::InputEvent::Kind::PointerDown, {10, 300}});
    gui::injectInput({gui::InputEvent::Kind::PointerDown, {10, 100}});
    ASSERT_TRUE(pumpUntil([&] { return !g_log.empty(); }));
    EXPECT_EQ(taken, 1);
    EXPECT_EQ(g_log[0].window, top);
    gui::removeScreenLayer(id);
    gui::injectInput({gui::InputEvent::Kind::PointerUp, {10, 100}});
    pumpUntil([&] { return g_log.size() >= 2; });
}

// A control request that arrives while the loop is already settling (here: sent by an idle
// action) is answered before the loop goes to sleep, not when the next message happens to wake
// it. The timer stands for that next message: the answer must be there before it fires.
TEST_F(WindowSystemTest, ControlRequestsArrivingWhileSettlingAreAnsweredBeforeTheLoopSleeps) {
    WindowHandle w = make(L"settling");
    test::deliverAll();
    gui::Endpoint client(gui::runFolder() / "settling-test.sock");
    gui::Datagram request;
    request.kind = gui::DatagramKind::Control;
    request.sequence = 41;
    request.replyPath = client.path().string();
    request.text = "windows";
    gui::whenIdle([&] { ASSERT_TRUE(client.sendToProcess(::getpid(), request)); });
    ASSERT_TRUE(setTimer(w, 77, 200));
    g_log.clear();
    Message m;
    while (getMessage(m)) {
        dispatchMessage(m);
        if (m.id == wm::Timer)
            break;
    }
    killTimer(w, 77);
    ASSERT_EQ(m.id, wm::Timer);
    auto reply = client.receive();
    ASSERT_TRUE(reply) << "the answer waited for the timer";
    EXPECT_EQ(reply->kind, gui::DatagramKind::ControlReply);
    EXPECT_EQ(reply->sequence, 41u);
    EXPECT_TRUE(reply->ok);
    EXPECT_NE(reply->text.find("settling"), std::string::npos) << reply->text;
}

TEST_F(WindowSystemTest, IdleWorkThatArmsItselfAgainLetsTheLoopSleep) {
    // A watcher that looks at the screen whenever the program is about to wait, as the shell's
    // bars do, queues itself again each time; the loop still sleeps until its timer is due.
    WindowHandle w = make(L"watcher");
    test::deliverAll();
    int runs = 0;
    std::function<void()> watch = [&] {
        ++runs;
        gui::whenIdle(watch);
    };
    gui::whenIdle(watch);
    ASSERT_TRUE(setTimer(w, 78, 300));
    Message m;
    while (getMessage(m)) {
        dispatchMessage(m);
        if (m.id == wm::Timer)
            break;
    }
    killTimer(w, 78);
    ASSERT_EQ(m.id, wm::Timer);
    EXPECT_GE(runs, 1);
    EXPECT_LE(runs, 20) << "the loop spun instead of waiting for the timer";
    // The watcher still runs at the next wait.
    int before = runs;
    ASSERT_TRUE(setTimer(w, 79, 50));
    while (getMessage(m)) {
        dispatchMessage(m);
        if (m.id == wm::Timer)
            break;
    }
    killTimer(w, 79);
    EXPECT_GT(runs, before);
}

}  // namespace
