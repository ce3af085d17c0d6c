// The task bar and full-screen mode, the empty menu bar, the Back key, the input panel and
// the wait cursor.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/shell.h"
#include "platform/api/shell_install.h"
#include "platform/api/window.h"
#include "platform/gui/window_system.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/menu_view.h"
#include "platform/shell/shell_internal.h"
#include "platform/shell/start_menu.h"
#include "tests/platform/support/shell_input.h"
#include "tests/platform/support/test_device.h"

using namespace platform;
using namespace platform::test;
using Kind = gui::InputEvent::Kind;

namespace {

constexpr Colour kWindowColour = rgb(236, 236, 236);

struct Logged {
    WindowHandle window;
    std::uint32_t id;
    WParam wParam;
    LParam lParam;
};
std::vector<Logged> g_log;

LResult barsProc(WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
    if (id == wm::Paint) {
        PaintSession paint(w);
        paint.dc().fillRect(clientRect(w), kWindowColour);
        return 0;
    }
    if (id == wm::KeyDown || id == wm::KeyUp || id == wm::Char || id == wm::HotKey ||
        id == wm::SettingChange) {
        g_log.push_back({w, id, wp, lp});
    }
    return defWindowProc(w, id, wp, lp);
}

// With VORN_SHELL_SCREENSHOTS set to a folder, saves the screen there for review.
void saveScreenForReview(const std::string& name) {
    if (const char* folder = std::getenv("VORN_SHELL_SCREENSHOTS")) {
        gui::presentNow();
        savePng(gui::framebuffer(), std::filesystem::path(folder) / (name + ".png"));
    }
}

std::vector<Logged> logged(std::uint32_t id) {
    std::vector<Logged> out;
    for (const auto& l : g_log) {
        if (l.id == id)
            out.push_back(l);
    }
    return out;
}

// A checksum of a screen area, to see whether it was drawn differently.
std::uint64_t areaSum(const Rect& r) {
    std::uint64_t sum = 0;
    const Bitmap& fb = gui::framebuffer();
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) sum = sum * 31 + fb.pixel(x, y);
    }
    return sum;
}

class ShellBarsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        installShell();
        installShell();  // a second call adds nothing
        if (!isWindowClassRegistered(L"ShellBarsTest")) {
            ASSERT_TRUE(registerWindowClass({L"ShellBarsTest", barsProc}));
        }
        window_ = make(L"Bars");
        g_log.clear();
    }
    void TearDown() override {
        for (WindowHandle h : windows_) destroyWindow(h);
        pumpFor(30);
    }
    WindowHandle make(std::wstring title, Rect r = {}) {
        WindowCreate c;
        c.className = L"ShellBarsTest";
        c.title = std::move(title);
        if (!r.isEmpty())
            c.x = r.left, c.y = r.top, c.width = r.width(), c.height = r.height();
        WindowHandle h = createWindow(c);
        windows_.push_back(h);
        setForegroundWindow(h);
        pumpFor(30);
        return h;
    }
    WindowHandle window_ = 0;
    std::vector<WindowHandle> windows_;
};

TEST_F(ShellBarsTest, TaskBarShowsTheForegroundTitleAndFullScreenHidesIt) {
    Size s = screenSize();
    int h = shellBarHeight();
    Rect titleArea{shell::scaled(30), 0, s.width / 2, h};
    gui::repaintLayers();
    EXPECT_EQ(gui::framebuffer().pixel(s.width / 2, 0), shell::colour::BarTop);
    std::uint64_t before = areaSum(titleArea);
    // A new title shows once the program is idle.
    setWindowText(window_, L"Another title");
    pumpFor(60);
    std::uint64_t retitled = areaSum(titleArea);
    EXPECT_NE(retitled, before);

    EXPECT_FALSE(isTaskBarHidden());
    ASSERT_TRUE(
        shFullScreen(window_, shfs::HideTaskBar | shfs::HideSipButton | shfs::HideStartIcon));
    EXPECT_TRUE(isTaskBarHidden());
    moveWindow(window_, {0, 0, s.width, s.height}, true);
    pumpFor(60);
    EXPECT_EQ(gui::framebuffer().pixel(s.width / 2, 0), kWindowColour);
    // Without a menu bar a window over the whole screen shows at the bottom too.
    EXPECT_EQ(gui::framebuffer().pixel(s.width / 2, s.height - 1), kWindowColour);

    // Another window in front brings the task bar back; the full-screen window does again.
    WindowHandle other = make(L"Other");
    EXPECT_FALSE(isTaskBarHidden());
    setForegroundWindow(window_);
    EXPECT_TRUE(isTaskBarHidden());
    destroyWindow(other);

    ASSERT_TRUE(
        shFullScreen(window_, shfs::ShowTaskBar | shfs::ShowSipButton | shfs::ShowStartIcon));
    EXPECT_FALSE(isTaskBarHidden());
    pumpFor(60);
    EXPECT_EQ(gui::framebuffer().pixel(s.width / 2, 0), shell::colour::BarTop);
    EXPECT_EQ(areaSum(titleArea), retitled);
    EXPECT_FALSE(shFullScreen(0xFFFFFF, shfs::HideTaskBar));
}

TEST_F(ShellBarsTest, TheFlagOpensTheStartMenuOfTodayAndTheRunningPrograms) {
    if (!isWindowClassRegistered(shell::kTodayClass)) {
        ASSERT_TRUE(registerWindowClass({std::wstring(shell::kTodayClass), barsProc}));
    }
    WindowCreate c;
    c.className = std::wstring(shell::kTodayClass);
    c.title = L"Desktop";
    WindowHandle today = createWindow(c);
    windows_.push_back(today);
    WindowHandle second = make(L"Second");  // the same program: listed once, by its first
    setForegroundWindow(window_);
    pumpFor(30);

    std::vector<shell::StartMenuEntry> entries = shell::startMenuEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, L"Today");
    EXPECT_TRUE(entries[0].today);
    EXPECT_EQ(entries[0].window, today);
    EXPECT_EQ(entries[1].window, window_);
    EXPECT_TRUE(entries[1].current);
    EXPECT_NE(entries[1].window, second);

    // The same menu as the flag opens, to find where its first item lies.
    Rect flag = shell::startFlagRect();
    ASSERT_FALSE(flag.isEmpty());
    MenuHandle copy = createPopupMenu();
    appendMenu(copy, mf::String, 1, L"Today");
    appendMenu(copy, mf::Separator, 0, L"");
    appendMenu(copy, mf::String, 2, L"Bars");
    shell::MenuPanel panel =
        shell::placeMenuPanel(copy, {flag.left, flag.bottom}, shell::MenuAnchor::TopLeft);
    destroyMenu(copy);
    tap(centreOf(flag));
    tap(centreOf(panel.itemRects[0]));
    ASSERT_TRUE(pumpUntil([&] { return foregroundWindow() == today; }));

    // A window in front that hides the start icon has no flag to tap.
    setForegroundWindow(window_);
    ASSERT_TRUE(shFullScreen(window_, shfs::HideStartIcon));
    EXPECT_TRUE(shell::startFlagRect().isEmpty());
    tap({flag.left + 2, flag.top + 2});
    tap(centreOf(panel.itemRects[0]));
    pumpFor(100);
    EXPECT_EQ(foregroundWindow(), window_);
    ASSERT_TRUE(shFullScreen(window_, shfs::ShowStartIcon));
    EXPECT_FALSE(shell::startFlagRect().isEmpty());
}

TEST_F(ShellBarsTest, WindowWithoutMenuBarAboveTheBarGetsAnEmptyBar) {
    Size s = screenSize();
    int h = shellBarHeight();
    EXPECT_EQ(visibleMenuBar(window_), 0u);
    EXPECT_EQ(shell::menuBarRect(), (Rect{0, s.height - h, s.width, s.height}));
    pumpFor(30);
    gui::repaintLayers();
    EXPECT_EQ(gui::framebuffer().pixel(3, s.height - h), shell::colour::BarTop);
    // A disabled soft key is drawn apart from an enabled one.
    MenuBarHandle bar = createMenuBar(window_, {});
    setSoftKeyText(bar, 0, L"Done");
    gui::repaintLayers();
    Rect left = shell::barPartRect(shell::BarPart::LeftKey);
    std::uint64_t enabled = areaSum(left);
    enableSoftKey(bar, 0, false);
    gui::repaintLayers();
    EXPECT_NE(areaSum(left), enabled);
    destroyMenuBar(bar);
}

TEST_F(ShellBarsTest, BackKeyGoesAsHotKeyToAWindowThatOverridesIt) {
    setFocus(window_);
    pressKey(vk::Escape);
    ASSERT_TRUE(pumpUntil([] { return logged(wm::KeyUp).size() == 1; }));
    EXPECT_EQ(logged(wm::KeyDown)[0].wParam, vk::Escape);
    EXPECT_TRUE(logged(wm::HotKey).empty());

    g_log.clear();
    overrideBackKey(window_, true);
    pressKey(vk::Escape);
    ASSERT_TRUE(pumpUntil([] { return logged(wm::HotKey).size() == 2; }));
    auto hot = logged(wm::HotKey);
    EXPECT_EQ(hot[0].wParam, 0u);
    EXPECT_EQ(hiWord(static_cast<std::uint64_t>(hot[0].lParam)), static_cast<int>(vk::Escape));
    EXPECT_EQ(loWord(static_cast<std::uint64_t>(hot[0].lParam)), 0);
    EXPECT_EQ(loWord(static_cast<std::uint64_t>(hot[1].lParam)), 0x1000);  // released
    EXPECT_TRUE(logged(wm::KeyDown).empty());

    // Passed on, the Back key reaches the focused window as ordinary Escape messages.
    sendBackToFocusWindow(wm::HotKey, hot[0].wParam, hot[0].lParam);
    sendBackToFocusWindow(wm::HotKey, hot[1].wParam, hot[1].lParam);
    ASSERT_TRUE(pumpUntil([] { return logged(wm::KeyUp).size() == 1; }));
    EXPECT_EQ(logged(wm::KeyDown).size(), 1u);
    EXPECT_EQ(logged(wm::KeyDown)[0].wParam, vk::Escape);

    g_log.clear();
    overrideBackKey(window_, false);
    pressKey(vk::Escape);
    ASSERT_TRUE(pumpUntil([] { return logged(wm::KeyUp).size() == 1; }));
    EXPECT_TRUE(logged(wm::HotKey).empty());
}

TEST_F(ShellBarsTest, InputPanelTellsEveryWindowAndTypesCharacters) {
    WindowHandle second = make(L"Second");
    setFocus(second);
    g_log.clear();
    showSip(true);
    auto changes = logged(wm::SettingChange);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].wParam, SpiSetSipInfo);
    EXPECT_TRUE(sipInfo().shown);
    EXPECT_EQ(sipInfo().visibleDesktop.bottom, sipInfo().sipRect.top);
    showSip(true);  // no change, no news
    EXPECT_EQ(logged(wm::SettingChange).size(), 2u);

    // The keyboard: rows of 1..0, q..p, a..l, then shift and z..m.
    Rect panel = sipInfo().sipRect;
    int rowHeight = panel.height() / 4;
    int keyWidth = panel.width() / 11;
    Point q{panel.left + keyWidth / 2, panel.top + rowHeight + rowHeight / 2};
    Point shift{panel.left + keyWidth / 2, panel.top + 3 * rowHeight + rowHeight / 2};
    Point backspace{panel.right - keyWidth / 2, panel.top + rowHeight / 2};
    tap(q);
    tap(shift);
    tap(q);
    tap(backspace);
    ASSERT_TRUE(pumpUntil([] { return logged(wm::Char).size() >= 3; }));
    auto chars = logged(wm::Char);
    EXPECT_EQ(chars[0].window, second);
    EXPECT_EQ(chars[0].wParam, static_cast<WParam>(L'q'));
    EXPECT_EQ(chars[1].wParam, static_cast<WParam>(L'Q'));
    EXPECT_EQ(chars[2].wParam, static_cast<WParam>(L'\b'));
    gui::repaintLayers();
    EXPECT_NE(gui::framebuffer().pixel(panel.left + 1, panel.top + 1), kWindowColour);
    saveScreenForReview("input-panel");

    // The keyboard button on the menu bar hides the panel again.
    tap(centreOf(shell::barPartRect(shell::BarPart::SipButton)));
    ASSERT_TRUE(pumpUntil([] { return !sipInfo().shown; }));
    EXPECT_EQ(logged(wm::SettingChange).size(), 4u);
    pumpFor(50);
    EXPECT_EQ(gui::framebuffer().pixel(panel.left + 1, panel.top + 1), kWindowColour);
}

TEST_F(ShellBarsTest, WaitCursorShowsInTheMiddleUntilCleared) {
    Size s = screenSize();
    Point middle{s.width / 2, s.height / 2};
    pumpFor(30);
    EXPECT_EQ(gui::framebuffer().pixel(middle.x, middle.y - 2), kWindowColour);
    setWaitCursor(true);
    EXPECT_TRUE(isWaitCursorShown());
    // Shown at once, without waiting for the loop: the program is about to be busy.
    EXPECT_EQ(gui::framebuffer().pixel(middle.x, middle.y - 2), shell::colour::PanelFace);
    std::uint64_t ring = areaSum({middle.x - 12, middle.y - 12, middle.x + 12, middle.y + 12});
    EXPECT_NE(ring, areaSum({middle.x - 12, 60, middle.x + 12, 84}));
    saveScreenForReview("wait-cursor");
    setWaitCursor(false);
    EXPECT_FALSE(isWaitCursorShown());
    pumpFor(50);
    EXPECT_EQ(gui::framebuffer().pixel(middle.x, middle.y - 2), kWindowColour);
}

}  // namespace
