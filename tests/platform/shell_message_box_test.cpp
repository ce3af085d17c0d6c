// Message boxes answered by stylus, by keys and through control requests, and their look.

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
#include "platform/shell/message_box_layout.h"
#include "platform/shell/shell_internal.h"
#include "tests/platform/support/shell_input.h"
#include "tests/platform/support/test_device.h"

using namespace platform;
using namespace platform::test;
using Kind = gui::InputEvent::Kind;

namespace {

constexpr std::wstring_view kQuestion = L"Delete the city \"Lisbon\" from your list of favourites?";

Rect buttonRect(std::wstring_view text, std::uint32_t flags, int answer) {
    for (const auto& b : shell::layOutMessageBox(text, flags).buttons) {
        if (b.answer == answer)
            return b.rect;
    }
    ADD_FAILURE() << "no button " << answer;
    return {};
}

class ShellMessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useTestDevice();
        installShell();
    }
};

TEST_F(ShellMessageBoxTest, YesAndNoAreAnsweredByTap) {
    std::uint32_t flags = mb::YesNo | mb::IconQuestion;
    tap(centreOf(buttonRect(kQuestion, flags, id::Yes)));
    EXPECT_EQ(messageBox(0, kQuestion, L"Vorn Roamer", flags), id::Yes);
    tap(centreOf(buttonRect(kQuestion, flags, id::No)));
    EXPECT_EQ(messageBox(0, kQuestion, L"Vorn Roamer", flags), id::No);

    // A press that leaves its button before the release answers nothing; the box then
    // waits for a proper tap. Taps beside the buttons do nothing either.
    Rect yes = buttonRect(kQuestion, flags, id::Yes);
    gui::injectInput({Kind::PointerDown, centreOf(yes)});
    gui::injectInput({Kind::PointerMove, {yes.left - 30, yes.top - 30}});
    gui::injectInput({Kind::PointerUp, {yes.left - 30, yes.top - 30}});
    tap({2, 2});
    tap(centreOf(buttonRect(kQuestion, flags, id::No)));
    EXPECT_EQ(messageBox(0, kQuestion, L"Vorn Roamer", flags), id::No);
}

TEST_F(ShellMessageBoxTest, KeysMoveBetweenButtonsAndAnswer) {
    std::uint32_t yesNo = mb::YesNo | mb::IconQuestion;
    pressKey(vk::Return);  // Yes is highlighted first
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::Yes);
    pressKey(vk::Right);
    pressKey(vk::Return);
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::No);
    pressKey(vk::Tab);
    pressKey(vk::Tab);  // round again to Yes
    pressKey(vk::Return);
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::Yes);
    pressKey(vk::Right);
    pressKey(vk::Left);
    pressKey(vk::Return);
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::Yes);
    pressKey(vk::LetterA + ('N' - 'A'));
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::No);
    pressKey(vk::LetterA + ('O' - 'A'));  // no OK button here: ignored
    pressKey(vk::LetterA + ('Y' - 'A'));
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::Yes);
    pressKey(vk::Escape);
    EXPECT_EQ(messageBox(0, kQuestion, L"Caption", yesNo), id::No);

    std::uint32_t okCancel = mb::OkCancel | mb::IconExclamation;
    pressKey(vk::Escape);
    EXPECT_EQ(messageBox(0, L"Continue?", L"Caption", okCancel), id::Cancel);
    pressKey(vk::LetterA + ('Y' - 'A'));  // no Yes button here: ignored
    pressKey(vk::LetterA + ('O' - 'A'));
    EXPECT_EQ(messageBox(0, L"Continue?", L"Caption", okCancel), id::Ok);
}

std::vector<std::pair<std::uint32_t, WParam>> g_keys;

LResult keyLoggingProc(WindowHandle w, std::uint32_t id, WParam wp, LParam lp) {
    if (id == wm::KeyDown || id == wm::KeyUp || id == wm::Char)
        g_keys.push_back({id, wp});
    return defWindowProc(w, id, wp, lp);
}

TEST_F(ShellMessageBoxTest, OkBoxAnswersOkAndLaterInputReachesTheWindowAfterwards) {
    pressKey(vk::Escape);
    EXPECT_EQ(messageBox(0, L"No Language Dat File", L"Vorn Roamer", mb::IconExclamation), id::Ok);
    tap(centreOf(buttonRect(L"Saved.", mb::IconInformation, id::Ok)));
    EXPECT_EQ(messageBox(0, L"Saved.", L"Vorn Roamer", mb::IconInformation), id::Ok);

    ASSERT_TRUE(registerWindowClass({L"ShellBoxKeys", keyLoggingProc}));
    WindowCreate c;
    c.className = L"ShellBoxKeys";
    WindowHandle w = createWindow(c);
    setFocus(w);
    // As `vorndev ctl key y` sends it: press, character, release.
    gui::injectInput({Kind::KeyDown, {}, vk::LetterA + ('O' - 'A'), 0});
    gui::injectInput({Kind::Char, {}, 0, L'o'});
    gui::injectInput({Kind::KeyUp, {}, vk::LetterA + ('O' - 'A'), 0});
    pressKey(vk::Down);  // after the answer: the window's
    EXPECT_EQ(messageBox(0, L"Saved.", L"Vorn Roamer", mb::Ok), id::Ok);
    // Nothing reached the window while the box was open, not even the character or the
    // release of the key that answered it.
    EXPECT_TRUE(g_keys.empty());
    for (int i = 0; i < 20 && g_keys.size() < 2; ++i) gui::pumpModal(10);
    ASSERT_EQ(g_keys.size(), 2u);
    EXPECT_EQ(g_keys[0], (std::pair<std::uint32_t, WParam>{wm::KeyDown, vk::Down}));
    EXPECT_EQ(g_keys[1], (std::pair<std::uint32_t, WParam>{wm::KeyUp, vk::Down}));
    destroyWindow(w);
}

TEST_F(ShellMessageBoxTest, ControlRequestsDriveAnOpenBox) {
    std::uint32_t flags = mb::YesNo | mb::IconQuestion;
    std::filesystem::path shot = test::useTestDevice() / "box.png";
    bool shotWhileOpen = false;
    EXPECT_TRUE(shell::openMessageBoxButtons().empty());
    gui::deferAction(50, [&] {
        auto& input = gui::windowSystem().input;
        input.push_back(gui::ControlRequest{"screenshot " + shot.string(), "", 1});
        gui::deferAction(100, [&] {
            shotWhileOpen = std::filesystem::exists(shot);
            auto buttons = shell::openMessageBoxButtons();
            ASSERT_EQ(buttons.size(), 2u);
            EXPECT_EQ(buttons[1].label, L"No");
            Point c = centreOf(buttons[1].rect);
            gui::windowSystem().input.push_back(gui::ControlRequest{
                "tap " + std::to_string(c.x) + " " + std::to_string(c.y), "", 2});
        });
    });
    EXPECT_EQ(messageBox(0, kQuestion, L"Vorn Roamer", flags), id::No);
    EXPECT_TRUE(shotWhileOpen);
    EXPECT_TRUE(shell::openMessageBoxButtons().empty());
}

TEST_F(ShellMessageBoxTest, PressedButtonIsHighlightedAndTheCaptionIsABar) {
    std::uint32_t flags = mb::YesNo | mb::IconQuestion;
    shell::MessageBoxLayout layout = shell::layOutMessageBox(kQuestion, flags);
    Rect yes = layout.buttons[0].rect;
    Colour pressed = 0, unpressed = 0, caption = 0, face = 0, icon = 0;
    gui::injectInput({Kind::PointerDown, centreOf(yes)});
    gui::deferAction(80, [&] {
        gui::presentNow();
        const Bitmap& fb = gui::framebuffer();
        pressed = fb.pixel(yes.left + 3, yes.top + yes.height() / 2);
        unpressed = fb.pixel(layout.buttons[1].rect.left + 3, yes.top + yes.height() / 2);
        caption = fb.pixel(layout.caption.right - 3, layout.caption.top);
        face = fb.pixel(layout.box.left + 3, layout.box.bottom - 3);
        icon = fb.pixel(layout.icon.left + layout.icon.width() / 2, layout.icon.top + 3);
        gui::injectInput({Kind::PointerUp, centreOf(yes)});
    });
    EXPECT_EQ(messageBox(0, kQuestion, L"Vorn Roamer", flags), id::Yes);
    // Pressed: the blue of the highlight; not pressed: a light face.
    EXPECT_LT(redOf(pressed), 60);
    EXPECT_GT(blueOf(pressed), 160);
    EXPECT_GT(redOf(unpressed), 200);
    EXPECT_EQ(caption, shell::colour::BarTop);
    EXPECT_EQ(face, shell::colour::PanelFace);
    EXPECT_GT(blueOf(icon), 150);  // the question disc is blue
    EXPECT_LT(redOf(icon), 100);
}

TEST_F(ShellMessageBoxTest, LongTextIsCutAndTheButtonsStayOnScreen) {
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"Many words of a long message. ";
    shell::MessageBoxLayout l = shell::layOutMessageBox(text, mb::OkCancel);
    Size s = screenSize();
    EXPECT_GE(l.box.top, shellBarHeight());
    EXPECT_LE(l.box.bottom, s.height - shellBarHeight());
    for (const auto& b : l.buttons) EXPECT_LE(b.rect.bottom, l.box.bottom);
    EXPECT_LE(l.text.bottom, l.buttons[0].rect.top);
    EXPECT_TRUE(l.icon.isEmpty());
}

// The exclamation box at each screen size; with VORN_SHELL_SCREENSHOTS set to a folder the
// screens are saved there.
TEST_F(ShellMessageBoxTest, BoxScalesWithTheScreen) {
    const char* folder = std::getenv("VORN_SHELL_SCREENSHOTS");
    std::wstring_view text = L"Problems loading daylight savings info file!";
    std::vector<int> heights;
    for (const char* name : {"240x320", "480x640"}) {
        setScreenProfile(*screenProfileFromName(name));
        gui::applyScreenProfile();
        heights.push_back(shell::layOutMessageBox(text, mb::IconExclamation).box.height());
        gui::deferAction(100, [&] {
            gui::presentNow();
            if (folder) {
                savePng(gui::framebuffer(),
                        std::filesystem::path(folder) / (std::string("box-") + name + ".png"));
            }
            pressKey(vk::Return);
        });
        EXPECT_EQ(messageBox(0, text, L"Vorn Roamer", mb::IconExclamation), id::Ok);
    }
    setScreenProfile(*screenProfileFromName("240x320"));
    gui::applyScreenProfile();
    EXPECT_NEAR(heights[1], 2 * heights[0], 4);
}

}  // namespace
