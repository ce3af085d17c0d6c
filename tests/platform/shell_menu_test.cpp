// Menus and the menu bar: the menu data, soft keys pressed by tap and by key, soft-key menus
// with sub-menus, separators, check marks and disabled items, context menus at a point.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/api/shell_install.h"
#include "platform/api/window.h"
#include "platform/gui/window_system.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/menu_model.h"
#include "platform/shell/menu_view.h"
#include "platform/shell/shell_internal.h"
#include "tests/platform/support/shell_input.h"
#include "tests/platform/support/test_device.h"

using namespace platform;
using namespace platform::test;
using Kind = gui::InputEvent::Kind;

namespace {

struct Logged {
    WindowHandle window;
    std::uint32_t id;
    WParam wParam;
};
std::vector<Logged> g_log;

LResult loggingProc(WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
    if (id == wm::Paint) {
        PaintSession paint(w);
        paint.dc().fillRect(clientRect(w), rgb(236, 236, 236));
        return 0;
    }
    if (id == wm::Command || id == wm::KeyDown || id == wm::LButtonUp || id == wm::LButtonDown) {
        g_log.push_back({w, id, wp});
    }
    return defWindowProc(w, id, wp, lp);
}

int countOf(std::uint32_t id, WParam wParam) {
    int n = 0;
    for (const auto& l : g_log) n += l.id == id && l.wParam == wParam;
    return n;
}

// The right soft key's menu used by most tests:
//   Alpha (201, checked) | separator | Disabled (202) | More > [Sub one 301, Sub two 302] | Last
struct SampleMenu {
    MenuHandle menu = 0;
    MenuHandle sub = 0;
};

SampleMenu fillSampleMenu(MenuHandle menu) {
    SampleMenu m{menu, createPopupMenu()};
    appendMenu(m.sub, mf::String, 301, L"Sub one");
    appendMenu(m.sub, mf::String, 302, L"Sub two");
    appendMenu(menu, mf::String | mf::Checked, 201, L"Alpha");
    appendMenu(menu, mf::Separator, 0, L"");
    appendMenu(menu, mf::String | mf::Grayed, 202, L"Disabled");
    appendMenu(menu, mf::Popup, m.sub, L"More");
    appendMenu(menu, mf::String, 203, L"Last");
    return m;
}

class ShellMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        installShell();
        if (!isWindowClassRegistered(L"ShellMenuTest")) {
            ASSERT_TRUE(registerWindowClass({L"ShellMenuTest", loggingProc}));
        }
        WindowCreate c;
        c.className = L"ShellMenuTest";
        c.title = L"Menus";
        window_ = createWindow(c);
        ASSERT_NE(window_, 0u);
        setForegroundWindow(window_);
        pumpFor(30);
        g_log.clear();
    }
    void TearDown() override {
        destroyWindow(window_);
        pumpFor(30);
    }
    // A bar with a button on the left and a menu on the right.
    MenuBarHandle makeBar(SoftKeyKind left = SoftKeyKind::Button,
                          SoftKeyKind right = SoftKeyKind::Menu) {
        MenuBarHandle bar = createMenuBar(window_, {left, right, 99, 100});
        setSoftKeyText(bar, 0, L"Done");
        setSoftKeyText(bar, 1, L"Menu");
        return bar;
    }
    WindowHandle window_ = 0;
};

TEST_F(ShellMenuTest, MenuItemsAreFoundByCommandIdThroughSubMenus) {
    SampleMenu m = fillSampleMenu(createPopupMenu());
    EXPECT_EQ(menuItemCount(m.menu), 5);
    EXPECT_EQ(menuItemCount(m.sub), 2);
    EXPECT_TRUE(setMenuItemText(m.menu, 302, L"Second"));
    EXPECT_EQ((*shell::menuItems(m.sub))[1].text, L"Second");
    EXPECT_TRUE(checkMenuItem(m.menu, 301, true));
    EXPECT_TRUE((*shell::menuItems(m.sub))[0].isChecked());
    EXPECT_TRUE(checkMenuItem(m.menu, 201, false));
    EXPECT_FALSE((*shell::menuItems(m.menu))[0].isChecked());
    EXPECT_TRUE(enableMenuItem(m.menu, 202, true));
    EXPECT_TRUE((*shell::menuItems(m.menu))[2].isEnabled());
    EXPECT_TRUE(enableMenuItem(m.menu, 301, false));
    EXPECT_FALSE((*shell::menuItems(m.sub))[0].isSelectable());
    EXPECT_FALSE(setMenuItemText(m.menu, 999, L"none"));
    // A menu cannot contain itself, directly or through a sub-menu.
    EXPECT_FALSE(appendMenu(m.sub, mf::Popup, m.menu, L"Loop"));
    EXPECT_FALSE(appendMenu(m.menu, mf::Popup, m.menu, L"Self"));
    EXPECT_FALSE(appendMenu(m.menu, mf::Popup, 0xFFFF, L"Unknown"));
    // Destroying a menu destroys its sub-menus.
    EXPECT_TRUE(destroyMenu(m.menu));
    EXPECT_EQ(menuItemCount(m.sub), -1);
    EXPECT_FALSE(destroyMenu(m.menu));
}

TEST_F(ShellMenuTest, SoftKeyButtonsSendTheirCommandsWhenTappedOrPressedWithF1AndF2) {
    MenuBarHandle bar = makeBar(SoftKeyKind::Button, SoftKeyKind::Button);
    EXPECT_EQ(visibleMenuBar(window_), bar);
    EXPECT_EQ(softKeyMenu(bar, 1), 0u);
    tap(centreOf(shell::barPartRect(shell::BarPart::LeftKey)));
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 99) == 1; }));
    tap(centreOf(shell::barPartRect(shell::BarPart::RightKey)));
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 100) == 1; }));
    pressKey(vk::F1);
    pressKey(vk::F2);
    ASSERT_TRUE(
        pumpUntil([] { return countOf(wm::Command, 99) == 2 && countOf(wm::Command, 100) == 2; }));
    // The keys were the soft keys' and the window never saw them.
    EXPECT_EQ(countOf(wm::KeyDown, vk::F1), 0);

    // A press that slides off the key before the release does nothing.
    Rect left = shell::barPartRect(shell::BarPart::LeftKey);
    gui::injectInput({Kind::PointerDown, centreOf(left)});
    gui::injectInput({Kind::PointerUp, centreOf(shell::barPartRect(shell::BarPart::RightKey))});
    // A disabled key does nothing either.
    enableSoftKey(bar, 1, false);
    pressKey(vk::F2);
    pumpFor(100);
    EXPECT_EQ(countOf(wm::Command, 99), 2);
    EXPECT_EQ(countOf(wm::Command, 100), 2);
    EXPECT_EQ(countOf(wm::LButtonUp, 0), 0);  // the bar kept its presses

    // Without a menu bar the window gets F1 itself.
    showMenuBar(bar, false);
    pressKey(vk::F1);
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::KeyDown, vk::F1) == 1; }));
    EXPECT_TRUE(destroyMenuBar(bar));
}

TEST_F(ShellMenuTest, ShowingOneMenuBarHidesTheOwnersOthers) {
    MenuBarHandle a = makeBar();
    MenuBarHandle b = makeBar(SoftKeyKind::Button, SoftKeyKind::None);
    EXPECT_EQ(visibleMenuBar(window_), b);  // a new bar is shown at once
    EXPECT_TRUE(showMenuBar(a, true));
    EXPECT_EQ(visibleMenuBar(window_), a);
    setSoftKeyText(a, 0, L"Left text");
    EXPECT_EQ(softKeyText(a, 0), L"Left text");
    EXPECT_EQ(softKeyText(b, 0), L"Done");
    EXPECT_NE(softKeyMenu(a, 1), 0u);
    EXPECT_TRUE(destroyMenuBar(a));
    EXPECT_EQ(visibleMenuBar(window_), 0u);
    EXPECT_FALSE(showMenuBar(a, true));
    EXPECT_EQ(createMenuBar(0xFFFFFF, {}), 0u);
    destroyMenuBar(b);
}

TEST_F(ShellMenuTest, SoftKeyMenuIsWalkedByKeysPastSeparatorsAndDisabledItems) {
    MenuBarHandle bar = makeBar();
    fillSampleMenu(softKeyMenu(bar, 1));
    // Down from nothing: Alpha; Down skips the separator and Disabled: More; Down: Last.
    pressKey(vk::F2);
    pressKey(vk::Down);
    pressKey(vk::Down);
    pressKey(vk::Down);
    pressKey(vk::Return);
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 203) == 1; }));
    // Up from nothing: Last; Up: More; Right opens it on its first item; Down; Enter.
    pressKey(vk::F2);
    pressKey(vk::Up);
    pressKey(vk::Up);
    pressKey(vk::Right);
    pressKey(vk::Down);
    pressKey(vk::Return);
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 302) == 1; }));
    // Down wraps from Last to Alpha.
    pressKey(vk::F2);
    pressKey(vk::Up);
    pressKey(vk::Down);
    pressKey(vk::Return);
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 201) == 1; }));
    // The menu's keys never reached the window.
    EXPECT_EQ(countOf(wm::KeyDown, vk::Down), 0);
    EXPECT_EQ(countOf(wm::KeyDown, vk::Return), 0);
    destroyMenuBar(bar);
}

TEST_F(ShellMenuTest, BackClosesTheSubMenuThenTheMenuAndLaterKeysReachTheWindow) {
    MenuBarHandle bar = makeBar();
    fillSampleMenu(softKeyMenu(bar, 1));
    pressKey(vk::F2);
    pressKey(vk::Up);
    pressKey(vk::Up);
    pressKey(vk::Right);   // Sub one highlighted
    pressKey(vk::Escape);  // back to the menu, More highlighted
    pressKey(vk::Down);    // Last
    pressKey(vk::Left);    // nothing to close at the top
    pressKey(vk::Escape);  // dismissed
    pressKey(vk::Return);  // for the window
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::KeyDown, vk::Return) == 1; }));
    for (const auto& l : g_log) EXPECT_NE(l.id, wm::Command) << l.wParam;
    destroyMenuBar(bar);
}

TEST_F(ShellMenuTest, SoftKeyMenuIsChosenByTapsAndDisabledItemsCannotBeChosen) {
    MenuBarHandle bar = makeBar();
    SampleMenu m = fillSampleMenu(softKeyMenu(bar, 1));
    Rect key = shell::barPartRect(shell::BarPart::RightKey);
    shell::MenuPanel panel =
        shell::placeMenuPanel(m.menu, {key.right, key.top}, shell::MenuAnchor::BottomRight);
    // The menu opens just above the key, against the right edge of the screen.
    EXPECT_EQ(panel.rect.bottom, key.top);
    EXPECT_EQ(panel.rect.right, screenSize().width);
    shell::MenuPanel sub = shell::placeSubMenuPanel(m.sub, panel, 3);

    tap(centreOf(key));                 // opens the menu
    tap(centreOf(panel.itemRects[2]));  // Disabled: nothing
    tap(centreOf(panel.itemRects[1]));  // the separator: nothing
    tap(centreOf(panel.itemRects[3]));  // More: opens the sub-menu
    tap(centreOf(sub.itemRects[0]));    // Sub one
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 301) == 1; }));
    EXPECT_EQ(countOf(wm::Command, 202), 0);
    // The sub-menu stays on screen.
    EXPECT_GE(sub.rect.left, 0);
    EXPECT_LE(sub.rect.right, screenSize().width);

    // A tap outside dismisses, and its release does not reach the window under it.
    tap(centreOf(key));
    tap({20, 60});
    pumpFor(150);
    EXPECT_EQ(countOf(wm::LButtonUp, 0), 0);
    EXPECT_EQ(g_log.size(), 1u);
    destroyMenuBar(bar);
}

TEST_F(ShellMenuTest, ContextMenuAtAPointReturnsTheChoiceAndPostsItOnlyWhenAsked) {
    SampleMenu m = fillSampleMenu(createPopupMenu());
    Point at{60, 80};
    shell::MenuPanel panel = shell::placeMenuPanel(m.menu, at, shell::MenuAnchor::TopLeft);
    EXPECT_EQ(panel.rect.left, at.x);
    EXPECT_EQ(panel.rect.top, at.y);
    tap(centreOf(panel.itemRects[4]));
    EXPECT_EQ(trackPopupMenu(m.menu, at, window_, false), 203u);
    pumpFor(50);
    EXPECT_EQ(countOf(wm::Command, 203), 0);
    tap(centreOf(panel.itemRects[0]));
    EXPECT_EQ(trackPopupMenu(m.menu, at, window_, true), 201u);
    ASSERT_TRUE(pumpUntil([] { return countOf(wm::Command, 201) == 1; }));
    pressKey(vk::Escape);
    EXPECT_EQ(trackPopupMenu(m.menu, at, window_, true), 0u);

    // Near the bottom right corner the menu opens up and to the left of the point.
    Size s = screenSize();
    shell::MenuPanel corner =
        shell::placeMenuPanel(m.menu, {s.width - 5, s.height - 5}, shell::MenuAnchor::TopLeft);
    EXPECT_EQ(corner.rect.right, s.width - 5);
    EXPECT_EQ(corner.rect.bottom, s.height - 5);
    EXPECT_EQ(trackPopupMenu(createPopupMenu(), at, window_, false), 0u);  // empty menu
    destroyMenu(m.menu);
}

TEST_F(ShellMenuTest, BarsAndTheMenuHighlightAreDrawn) {
    MenuBarHandle bar = makeBar();
    SampleMenu m = fillSampleMenu(softKeyMenu(bar, 1));
    pumpFor(50);
    gui::repaintLayers();
    const Bitmap& fb = gui::framebuffer();
    Size s = screenSize();
    int h = shellBarHeight();
    // Both bars carry the bar gradient: its top colour on their first row.
    EXPECT_EQ(fb.pixel(s.width / 2, 0), shell::colour::BarTop);
    EXPECT_EQ(fb.pixel(s.width / 2 + 1, s.height - h), shell::colour::BarTop);
    EXPECT_EQ(fb.pixel(s.width / 2, s.height - 1), shell::colour::BarBottom);
    // The window lies between the bars.
    EXPECT_EQ(fb.pixel(s.width / 2, s.height / 2), rgb(236, 236, 236));

    Rect key = shell::barPartRect(shell::BarPart::RightKey);
    shell::MenuPanel panel =
        shell::placeMenuPanel(m.menu, {key.right, key.top}, shell::MenuAnchor::BottomRight);
    Colour highlighted = 0, plain = 0, frame = 0;
    gui::deferAction(100, [&] {
        gui::presentNow();
        highlighted = fb.pixel(panel.itemRects[4].right - 3, panel.itemRects[4].top + 2);
        plain = fb.pixel(panel.itemRects[3].left + 3, panel.itemRects[3].top + 2);
        frame = fb.pixel(panel.rect.left, panel.rect.top + panel.rect.height() / 2);
        pressKey(vk::Escape);
    });
    pressKey(vk::F2);
    pressKey(vk::Up);  // Last
    pumpUntil([&] { return highlighted != 0; });
    EXPECT_EQ(highlighted, shell::colour::Highlight);
    EXPECT_EQ(plain, shell::colour::PanelFace);
    EXPECT_EQ(frame, shell::colour::PanelFrame);
    // Once closed, the window shows again where the menu was.
    pumpFor(100);
    EXPECT_EQ(fb.pixel(panel.itemRects[4].right - 3, panel.itemRects[4].top + 2),
              rgb(236, 236, 236));
    destroyMenuBar(bar);
}

// At each screen size, a soft-key menu with its sub-menu open; the menu grows with the
// screen. With VORN_SHELL_SCREENSHOTS set to a folder, the screens are saved there.
TEST_F(ShellMenuTest, MenuWithOpenSubMenuScalesWithTheScreen) {
    const char* folder = std::getenv("VORN_SHELL_SCREENSHOTS");
    std::vector<int> widths;
    for (const char* name : {"240x320", "480x640"}) {
        setScreenProfile(*screenProfileFromName(name));
        gui::applyScreenProfile();
        MenuBarHandle bar = makeBar();
        SampleMenu m = fillSampleMenu(softKeyMenu(bar, 1));
        Rect key = shell::barPartRect(shell::BarPart::RightKey);
        widths.push_back(
            shell::placeMenuPanel(m.menu, {key.right, key.top}, shell::MenuAnchor::BottomRight)
                .rect.width());
        bool shot = false;
        gui::deferAction(150, [&] {
            gui::presentNow();
            if (folder) {
                savePng(gui::framebuffer(),
                        std::filesystem::path(folder) / (std::string("menu-") + name + ".png"));
            }
            shot = true;
            pressKey(vk::Escape);
            pressKey(vk::Escape);
        });
        pressKey(vk::F2);
        pressKey(vk::Up);
        pressKey(vk::Up);
        pressKey(vk::Right);
        pumpUntil([&] { return shot; });
        pumpFor(50);
        destroyMenuBar(bar);
    }
    setScreenProfile(*screenProfileFromName("240x320"));
    gui::applyScreenProfile();
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_NEAR(widths[1], 2 * widths[0], 4);
}

}  // namespace
