// The weather screen driven as a traveller would: opened from the main menu on the weather
// files already on the device, an update asked for through the screen's menu, the busy
// animation while the stand-in comms program works, and the new values once it is done. The
// program tells its screen through `ctl app weather`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/support/main_program_session.h"
#include "tests/platform/support/test_device.h"

using namespace e2e;

namespace {

// A 240x320 screen: the main menu's group cells are 39 pixels high in a column from 2,2
// below the 26-pixel task bar, its entries 72 x 82 in two columns from 47,6.
constexpr int kTaskBar = 26;
const std::pair<int, int> kWeatherGroup{21, kTaskBar + 2 + 2 * 39 + 19};
const std::pair<int, int> kFirstEntry{47 + 36, kTaskBar + 6 + 30};

class WeatherFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        std::filesystem::path root = device_.root();
        std::filesystem::create_directories(root / "windows");
        // The device has the real comms program when it is built; this flow uses the stand-in.
        std::filesystem::remove(root / "windows" / "vornroamer3_sched.exe");
        std::filesystem::create_symlink(platform::test::builtProgram("vorn_fake_comms"),
                                        root / "windows" / "vornroamer3_sched.exe");
        std::filesystem::path downloads = root / "Program Files" / "Vorn Roamer" / "downloads";
        std::filesystem::create_directories(downloads);
        // Yesterday's download: lows of 3 and 4 degrees.
        std::ofstream(downloads / "GB2643743.dat")
            << "1~61~9~3~S~20~1~Old rain~120126~M~~~~~\n1~3~8~4~S~10~2~Old cloud~120226~M~~~~~\n";
        ask({"reg", "set", "HKCU", kSettingsKey, "FakeCommsDelayMs", "--string", "1500"});
        startProgram(10);
    }
    std::string screen() { return ask({"app", "weather"}); }
};

TEST_F(WeatherFlowTest, AnUpdateFromTheMenuShowsTheBusyAnimationAndTheNewValues) {
    key("softleft");
    tap(kWeatherGroup);
    tap(kFirstEntry);
    ASSERT_TRUE(waitForModule(31)) << device_.deviceLog();
    std::string before = screen();
    EXPECT_NE(before.find("mode 1; busy 0; rows 3°C"), std::string::npos) << before;
    EXPECT_NE(before.find("Old rain"), std::string::npos) << before;

    // "Update weather", the first entry of the right soft key's menu.
    key("softright");
    key("down");
    key("enter");
    ASSERT_TRUE(waitUntil([&] { return screen().find("busy 1") != std::string::npos; }))
        << screen();
    ASSERT_TRUE(waitUntil([&] { return screen().find("busy 0") != std::string::npos; }))
        << screen();
    ASSERT_TRUE(waitUntil([&] { return screen().find("Fresh forecast") != std::string::npos; }))
        << screen();
    std::string after = screen();
    EXPECT_NE(after.find("rows 11°C"), std::string::npos) << after;
    EXPECT_NE(after.find("Fresh conditions"), std::string::npos) << after;
    EXPECT_EQ(after.find("Old rain"), std::string::npos) << after;
    EXPECT_EQ(registryValue("FakeCommsRequest"), "/manual 14");

    // The command line reads the same files by the same rules and prints the same texts.
    CommandResult cli = runCommand(builtProgram("vorn"), {"weather", "London"},
                                   {"VORN_DEVICE=" + device_.root().string()});
    ASSERT_EQ(cli.exitCode, 0) << cli.out;
    for (const char* text : {"11°C", "Fresh forecast day 1", "Fresh conditions", "Updated now"}) {
        EXPECT_NE(cli.out.find(text), std::string::npos) << text << "\n" << cli.out;
        EXPECT_NE(after.find(text), std::string::npos) << text << "\n" << after;
    }
}

}  // namespace
