// The comms program on a headless device, answering from recorded answers: the city screen's
// remote look-up finds a city that is not in the list and adds it, and a weather update of
// the favourites leaves every kind of weather file, which `vorn weather` then prints.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/draw.h"
#include "platform/api/picture_codec.h"
#include "tests/e2e/support/main_program_session.h"

using namespace e2e;

namespace {

// Points on a 240x320 screen below the 26-pixel task bar: the main menu's first group and
// its second entry (the cities), the city screen's filter, search button, first result's
// tick box and add button.
constexpr int kTaskBar = 26;
const std::pair<int, int> kFirstGroup{21, kTaskBar + 2 + 19};
const std::pair<int, int> kCitiesEntry{47 + 72 + 36, kTaskBar + 6 + 30};
const std::pair<int, int> kFilterField{60, kTaskBar + 14};
const std::pair<int, int> kSearchButton{199, kTaskBar + 14};
const std::pair<int, int> kAddButton{61, kTaskBar + 254};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string jpeg(int width, int height) {
    platform::Bitmap bitmap(width, height);
    bitmap.fill(platform::rgb(40, 90, 160));
    std::vector<std::uint8_t> bytes = platform::encodeJpeg(bitmap, 85);
    return std::string(bytes.begin(), bytes.end());
}

class CommsFlowTest : public MainProgramSession {
  protected:
    void SetUp() override {
        skipWizard();
        install_ = device_.root() / "Program Files" / "Vorn Roamer";
        downloads_ = install_ / "downloads";
        // The recorded answers, with pictures made here.
        std::filesystem::path replays = device_.root() / "replays";
        std::filesystem::create_directories(replays);
        std::filesystem::path source =
            std::filesystem::path(VORN_SOURCE_DIR) / "tests" / "commsprogram" / "replays";
        for (const auto& entry : std::filesystem::directory_iterator(source))
            std::filesystem::copy_file(entry.path(), replays / entry.path().filename());
        writeFile(replays / "satellite.jpg", jpeg(512, 379));
        writeFile(replays / "relief.jpg", jpeg(512, 512));
        platform::Bitmap radar(512, 512);
        radar.fill(platform::rgb(0, 200, 0));
        ASSERT_TRUE(platform::savePng(radar, replays / "radar.png"));
        platform::Bitmap map(200, 150);
        ASSERT_TRUE(platform::savePng(map, replays / "usermap.png"));
        ask({"reg", "set", "HKCU", kSettingsKey, "CommsReplayPath", "--string", "\\replays\\"});
        ask({"reg", "set", "HKCU", kSettingsKey, "CITYIMG_GB2643743", "--string",
             "https://maps.example/map.png"});
        ASSERT_TRUE(std::filesystem::exists(device_.root() / "windows" / "vornroamer3_sched.exe"));
    }

    CommandResult vorn(const std::vector<std::string>& args) {
        return runCommand(builtProgram("vorn"), args, {"VORN_DEVICE=" + device_.root().string()});
    }

    std::filesystem::path install_;
    std::filesystem::path downloads_;
};

TEST_F(CommsFlowTest, RemoteLookUpFindsACityNotInTheListAndAddsIt) {
    startProgram(10);
    ASSERT_EQ(readFile(install_ / "citylist.dat").find("US9999901"), std::string::npos);
    key("softleft");
    tap(kFirstGroup);
    tap(kCitiesEntry);
    ASSERT_TRUE(waitForModule(98));
    tap(kFilterField);
    ask({"type", "Zzyzx"});
    // No city of the list holds the name, so the search asks the comms program.
    tap(kSearchButton);
    ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(downloads_ / "searchresult.dat"); }))
        << device_.deviceLog();
    EXPECT_NE(readFile(downloads_ / "searchresult.dat")
                  .find("~Zzyzx~United States~35.1433~-116.1047~America/Los_Angeles~US9999901~0~"
                        "NorthAmerica~0\n"),
              std::string::npos);
    EXPECT_EQ(registryValue("CityLookupRequest"), "Zzyzx");
    ASSERT_TRUE(waitUntil([&] { return registryValue("SchedulerStatus") == "0"; }));
    // The result list: the first row's tick box, then the add button.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    tap(12, kTaskBar + 24 + 12);
    tap(kAddButton);
    ASSERT_TRUE(waitUntil([&] {
        return readFile(install_ / "mycities.dat").find("US9999901") != std::string::npos;
    })) << device_.deviceLog();
    EXPECT_NE(readFile(install_ / "citylist.dat").find("~Zzyzx~United States~"), std::string::npos);
}

TEST_F(CommsFlowTest, WeatherUpdateOfTheFavouritesLeavesEveryKindAndVornPrintsIt) {
    CommandResult weather = vorn({"update", "weather"});
    ASSERT_EQ(weather.exitCode, 0) << weather.err << device_.deviceLog();
    EXPECT_NE(weather.out.find("GB2643743_c.dat"), std::string::npos) << weather.out;
    CommandResult maps = vorn({"update", "maps"});
    ASSERT_EQ(maps.exitCode, 0) << maps.err << device_.deviceLog();
    for (const char* name :
         {"GB2643743.dat", "GB2643743_d.dat", "GB2643743_c.dat", "GB2643743_a.dat",
          "GB2643743_m.dat", "GB2643743_m4.dat", "BritishIsles_sat0.dat", "BritishIsles_sat4.dat",
          "BritishIsles_rad0.dat", "BritishIsles_rad2.dat", "JP1850147.dat", "Japan_rad0.dat",
          "NorthAmerica_sat0.dat", "AU2147714_m.dat"}) {
        EXPECT_TRUE(std::filesystem::exists(downloads_ / name)) << name;
    }
    // New York's region has satellite pictures but no radar.
    EXPECT_FALSE(std::filesystem::exists(downloads_ / "NorthAmerica_rad0.dat"));
    EXPECT_EQ(registryValue("PluginUpdateData"), "1");

    CommandResult printed = vorn({"weather", "London"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    for (const char* text : {"Light rain", "Humidity 81%", "Observed 14:45 local time"})
        EXPECT_NE(printed.out.find(text), std::string::npos) << text << "\n" << printed.out;

    // An update that finds no recorded answer changes nothing and says why.
    std::string before = readFile(downloads_ / "GB2643743.dat");
    ask({"reg", "set", "HKCU", kSettingsKey, "CommsReplayPath", "--string", "\\nothing\\"});
    CommandResult failed = vorn({"update", "weather", "London"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("code 3"), std::string::npos) << failed.err;
    EXPECT_EQ(readFile(downloads_ / "GB2643743.dat"), before);
}

}  // namespace
