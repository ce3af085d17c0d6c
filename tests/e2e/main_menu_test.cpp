// The main menu and the navigation between screens, driven as a person would with
// `vorndev ctl`: the left soft key opens the menu, taps or keys choose a group and a screen,
// Back walks the history. The program reports its live module through `ctl app module`.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// The groups of the main menu and their screens, in the order shown.
const std::vector<std::vector<int>> kGroups = {
    {10, 98, 11}, {20, 21, 22, 23, 24}, {31, 32, 33},
    {41, 44, 43}, {51, 52, 53, 54},     {61, 62, 63, 64, 65, 66},
};

// The menu on a 240x320 screen (portrait, scale 1.0): group cells of 39 pixels in a column
// from 2,2; entry cells 72 x 82 in two columns from 47,6. The window starts below the 26-pixel
// task bar.
constexpr int kTaskBar = 26;

std::pair<int, int> groupPoint(int group) {
    return {21, kTaskBar + 2 + (group - 1) * 39 + 19};
}

std::pair<int, int> entryPoint(int entry) {
    int col = (entry - 1) % 2, row = (entry - 1) / 2;
    return {47 + col * 72 + 36, kTaskBar + 6 + row * 82 + 30};
}

// A start screen that no menu entry opens, so that every entry switches: an id no subsystem
// registers, which shows the program's placeholder screen with the main menu's soft key.
constexpr int kStartScreen = 12;

class MainMenuTest : public MainProgramSession {
  protected:
    // The wizard finished, the program opens on its start screen, whose left soft key is the
    // main menu's.
    void SetUp() override {
        skipWizard();
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string",
             std::to_string(kStartScreen)});
        startProgram(kStartScreen);
    }

    std::string menu() { return ask({"app", "menu"}); }
    std::string history() { return ask({"app", "history"}); }
};

TEST_F(MainMenuTest, EveryScreenOpensByTapAndBackWalksTheHistory) {
    std::vector<int> visited{kStartScreen};
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        for (std::size_t e = 0; e < kGroups[g].size(); ++e) {
            int id = kGroups[g][e];
            key("softleft");
            ASSERT_EQ(menu().rfind("open", 0), 0u)
                << "the left soft key opens the menu on screen " << visited.back();
            tap(groupPoint(static_cast<int>(g + 1)));
            auto [x, y] = entryPoint(static_cast<int>(e + 1));
            // Down on one entry and up on another opens nothing.
            auto [ox, oy] = entryPoint(e == 0 ? 2 : 1);
            ask({"down", std::to_string(x), std::to_string(y)});
            ask({"up", std::to_string(ox), std::to_string(oy)});
            ASSERT_EQ(module(), visited.back());
            ask({"tap", std::to_string(x), std::to_string(y)});
            ASSERT_EQ(module(), id) << "group " << g + 1 << " entry " << e + 1;
            EXPECT_EQ(menu(), "closed");
            visited.push_back(id);
            if (id == 32) {
                EXPECT_EQ(ask({"app", "ini", "weathermode"}), "4");
            }
            if (id == 33) {
                EXPECT_EQ(ask({"app", "ini", "weathermode"}), "3");
            }
            if (id == 64) {
                EXPECT_EQ(registryValue("ConversionMode"), "4");
            }
            if (id == 20) {
                EXPECT_EQ(ask({"app", "ini", "internationalmode"}), "1");
            }
        }
    }
    // The history holds every screen left, oldest first.
    std::string expected;
    for (std::size_t i = 0; i + 1 < visited.size(); ++i) {
        expected += (i ? " " : "") + std::to_string(visited[i]);
    }
    EXPECT_EQ(history(), expected);

    // Back returns along the way, one screen at a time, and stops at the first one.
    for (std::size_t i = visited.size() - 1; i > 0; --i) {
        key("back");
        ASSERT_EQ(module(), visited[i - 1]);
    }
    key("back");
    EXPECT_EQ(module(), kStartScreen) << "an empty history leaves Back unhandled";
    EXPECT_EQ(history(), "");
}

TEST_F(MainMenuTest, EveryScreenOpensByKeys) {
    int previous = kStartScreen;
    int opened = 0;
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        for (int id : kGroups[g]) {
            key("softleft");
            // Down steps through the groups; Right through the chosen group's screens.
            ASSERT_EQ(menu().rfind("open", 0), 0u)
                << "the left soft key opens the menu on screen " << previous;
            for (int i = 0; i < 12 && std::stoi(menu().substr(5)) != static_cast<int>(g + 1); ++i) {
                key("down");
            }
            std::string want = "open " + std::to_string(g + 1) + " " + std::to_string(id);
            for (int i = 0; i < 12 && menu() != want; ++i) key("right");
            ASSERT_EQ(menu(), want);
            // The left soft key and Enter both open the highlighted screen.
            key(opened++ % 2 == 0 ? "softleft" : "enter");
            ASSERT_EQ(module(), id);
            previous = id;
        }
    }
    // Back with the menu open only closes it; the right soft key closes it too.
    key("softleft");
    key("back");
    EXPECT_EQ(menu(), "closed");
    EXPECT_EQ(module(), previous);
    key("softleft");
    key("softright");
    EXPECT_EQ(menu(), "closed");
    EXPECT_EQ(module(), previous);
    // Up from the first group wraps round to the last.
    key("softleft");
    for (int i = 0; i < 6 && std::stoi(menu().substr(5)) != 1; ++i) key("down");
    key("up");
    EXPECT_EQ(std::stoi(menu().substr(5)), 6);
    key("back");
}

TEST_F(MainMenuTest, TheChangeModuleMessageSwitchesAndQuitEndsTheProgram) {
    ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "41"});
    ASSERT_TRUE(waitUntil([&] { return module() == 41; }));
    ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "41"});
    EXPECT_EQ(module(), 41);
    EXPECT_EQ(history(), std::to_string(kStartScreen)) << "a switch to the live id records nothing";
    ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "77"});
    ASSERT_TRUE(waitUntil([&] { return module() == 77; })) << "unknown ids still switch";
    ask({"post", "--class", "Vorn Roamer", "VornRoamerChngModule", "99"});
    EXPECT_TRUE(waitUntil([&] {
        return device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "10"}).exitCode != 0;
    })) << "module 99 ends the program";
}

}  // namespace
