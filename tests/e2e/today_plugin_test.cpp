// The Today plug-in in the device's Today screen, on a headless device: the host loads it from
// the path the main program registers, a tap on its clock opens the main program on the home
// screen, a new layout choice rebuilds it within one refresh, and it shows an armed quick
// alarm as the next alarm. A broken library is left out and the screen carries on.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "alarms/quick_alarm.h"
#include "platform/api/clock.h"
#include "platform/api/registry.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

const std::string kItemKey = "Software\\Microsoft\\Today\\Items\\\"VornRoamer\"";

struct Shot {
    int width = 0;
    int height = 0;
    std::string rgb;
    int channel(int x, int y, int c) const {
        return static_cast<unsigned char>(rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c]);
    }
    // Pixels of a rectangle that differ from another shot's.
    int differences(const Shot& other, int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                for (int c = 0; c < 3; ++c)
                    if (channel(x, y, c) != other.channel(x, y, c)) {
                        ++count;
                        break;
                    }
        return count;
    }
    // Pixels of a colour (within a small tolerance) in a rectangle.
    int pixelsOf(int r, int g, int b, int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += std::abs(channel(x, y, 0) - r) < 8 && std::abs(channel(x, y, 1) - g) < 8 &&
                                 std::abs(channel(x, y, 2) - b) < 8
                             ? 1
                             : 0;
        return count;
    }
};

class TodayPluginFlow : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        // The program opens on world time, so reaching the home screen proves the hand-over.
        ask({"reg", "set", "HKCU", kSettingsKey, "OptStartScreen", "--string", "20"});
        // Rotation off, so the item keeps its first favourite.
        ask({"reg", "set", "HKCU", kSettingsKey, "OptHomeRotate", "--string", "2"});
        CommandResult start =
            vorndev({"start", "--headless", "--detach", "--device", device_.root().string()});
        ASSERT_EQ(start.exitCode, 0) << start.err;
        ASSERT_EQ(device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "30000"}).exitCode, 0);
        ASSERT_TRUE(waitForModule(20)) << device_.deviceLog();
        // The main program registered the item at its start; the screen loaded it.
        ASSERT_TRUE(waitUntil([&] { return itemShown(); })) << device_.deviceLog();
    }

    Shot today(const std::string& name) {
        const std::string file = (device_.root() / (name + ".png")).string();
        CommandResult taken = device_.ctl({"screenshot", file, "--window", "VornToday"});
        EXPECT_EQ(taken.exitCode, 0) << taken.err;
        Shot shot;
        CommandResult size = runCommand("/usr/bin/identify", {"-format", "%w %h", file});
        if (std::sscanf(size.out.c_str(), "%d %d", &shot.width, &shot.height) != 2)
            return {};
        CommandResult pixels = runCommand("/usr/bin/convert", {file, "-depth", "8", "rgb:-"});
        if (pixels.exitCode == 0 &&
            pixels.out.size() == static_cast<std::size_t>(shot.width * shot.height * 3))
            shot.rgb = pixels.out;
        return shot;
    }

    // The item's tab strip (lines in the Today screen's line colour) below the 60-pixel
    // heading, right of the home icon.
    int tabLinePixels(const Shot& s) const {
        return s.rgb.empty() ? -1 : s.pixelsOf(150, 166, 196, 24, 60, 240, 60 + 16);
    }
    bool itemShown() {
        Shot s = today("probe");
        return tabLinePixels(s) > 40;
    }

    void closeMainProgram() {
        ask({"post", "--class", "Vorn Roamer", "WM_CLOSE"});
        ASSERT_TRUE(waitUntil([&] {
            return device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "1"}).exitCode != 0;
        }));
    }
};

TEST_F(TodayPluginFlow, TapOnTheClockOpensTheMainProgramOnTheHomeScreen) {
    closeMainProgram();
    // The clock of the default layout: 2, 2 in the panel below the 16-pixel strip, 52 square;
    // the item starts below the heading, the Today window below the 26-pixel task bar.
    ask({"tap", "28", std::to_string(26 + 60 + 16 + 28), "--window", "VornToday"});
    ASSERT_EQ(device_.ctl({"wait-window", "Vorn Roamer", "--timeout", "30000"}).exitCode, 0)
        << device_.deviceLog();
    EXPECT_TRUE(waitForModule(10)) << device_.deviceLog();
    EXPECT_EQ(registryValue("HomeStarting"), "");  // taken by the main program
}

TEST_F(TodayPluginFlow, NewLayoutChoiceRebuildsTheItemWithinOneRefresh) {
    ASSERT_GT(tabLinePixels(today("tabs")), 40);
    std::string install = "\\Program Files\\Vorn Roamer\\home\\today_notabs.xml";
    ask({"reg", "set", "HKCU", kSettingsKey, "OptHomeLayout", "--string", install});
    ask({"reg", "set", "HKCU", kSettingsKey, "OptHomeLayoutReload", "--string", "1"});
    // The refresh query, every 2 seconds, takes the request up and clears it; the item is
    // built again from the new file, without its tab strip.
    ASSERT_TRUE(waitUntil([&] { return registryValue("OptHomeLayoutReload") == "0"; }));
    EXPECT_TRUE(waitUntil([&] { return tabLinePixels(today("notabs")) < 10; }));
}

TEST_F(TodayPluginFlow, ArmedQuickAlarmIsShownAsTheNextAlarm) {
    Shot before = today("no-alarm");
    // The next-alarm line of the default layout: 58, 54 in the panel, 178 x 12.
    const int top = 60 + 16 + 54, bottom = top + 12;
    platform::SystemTime in = platform::deviceLocalTime();
    auto later = platform::toFileTime(in);
    ASSERT_TRUE(later);
    auto moment = platform::toSystemTime(*later + 3 * 3600 * platform::kFileTimeTicksPerSecond);
    ASSERT_TRUE(moment);
    ASSERT_TRUE(alarms::setQuickAlarm(*moment));
    // The item reads its data again every 30 seconds.
    EXPECT_TRUE(
        waitUntil([&] { return today("alarm").differences(before, 58, top, 236, bottom) > 20; },
                  std::chrono::seconds(45)))
        << device_.deviceLog();
}

TEST_F(TodayPluginFlow, BrokenLibraryIsLeftOutAndTheScreenCarriesOn) {
    std::filesystem::path broken = device_.root() / "windows" / "broken.dll";
    std::ofstream(broken) << "not a library";
    auto key = platform::RegistryKey::create(platform::Hive::LocalMachine,
                                             L"Software\\Microsoft\\Today\\Items\\Broken");
    ASSERT_TRUE(key);
    key->setString(L"DLL", L"\\windows\\broken.dll");
    key->setDword(L"Enabled", 1);
    ask({"post", "--class", "VornToday", "WM_SETTINGCHANGE", "242"});
    ASSERT_TRUE(waitUntil([&] {
        return device_.deviceLog().find("item Broken left out") != std::string::npos;
    })) << device_.deviceLog();
    // The good item is back after the reload, and the screen still answers.
    EXPECT_TRUE(waitUntil([&] { return itemShown(); }));
}

}  // namespace

namespace {

TEST(TodayPluginInstall, InstallingRegistersTheItemAndRemovingTakesItAway) {
    TestDevice device;
    // Installed by `vorndev init`; the main program has never run.
    auto item = platform::RegistryKey::open(platform::Hive::LocalMachine,
                                            L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\"");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->queryString(L"DLL", 520).value_or(L""), L"\\windows\\VornRoamerToday.dll");
    EXPECT_EQ(item->queryDword(L"Enabled").value_or(0), 1u);

    CommandResult removed = vorndev({"uninstall", "--device", device.root().string()});
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(platform::registryKeyExists(platform::Hive::LocalMachine,
                                             L"Software\\Microsoft\\Today\\Items\\\"VornRoamer\""));
}

}  // namespace
