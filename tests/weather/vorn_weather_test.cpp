// `vorn weather` on a device with weather files: the texts of the weather screen's panel and
// list, in the chosen units and language, as text and as JSON, and what it says without
// files.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "core/settings.h"
#include "tests/platform/support/test_device.h"
#include "tests/platform/support/vorn_command.h"
#include "tests/weather/support/weather_test_support.h"
#include "weather/screen_texts.h"
#include "weather/settings_keys.h"
#include "weather/weather_data.h"

namespace weather {
namespace {

using Outcome = platform::test::VornOutcome;

Outcome vorn(const std::string& arguments) {
    return platform::test::runVorn(arguments);
}

bool holds(const Outcome& run, std::wstring_view text) {
    return run.out.find(platform::toUtf8(text)) != std::string::npos;
}

constexpr std::wstring_view kLondon = L"GB2643743";

class VornWeatherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::prepareDevice({"citylist.dat", "mycities.dat", "citynames.dat"});
        test::writeDownload(L"GB2643743.dat",
                            "1~61~11~4~SW~20~1~Light rain~120626~~~~~~\n"
                            "1~95~13~6~S~35~2~Thunderstorms~120726~~~~~~\n"
                            "1~0~9~1~N~10~3~Clear~120826~~~~~~\n");
        test::writeDownload(L"GB2643743_c.dat",
                            "1~3~7~5~W~15~1012~Overcast~~~4~10~cloudy~Heathrow\n"
                            "1~61~8~5~SW~20~1009.6~Drizzle~~~5~8~wet~City Airport\n");
    }
};

TEST_F(VornWeatherTest, PrintsThePanelAndTheListTheScreenShows) {
    writeStationRow(kLondon, 2);
    const Outcome run = vorn("weather London");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    // The same reader and texts the screen uses, for the station stored for the city.
    WeatherData current(fileKind::Current, kLondon, unitsFromSettings(), test::kDownloads);
    current.selectStation(readStationRow(kLondon));
    for (const std::wstring& line : currentPanelLines(current)) {
        if (!line.empty()) {
            EXPECT_TRUE(holds(run, line)) << platform::toUtf8(line) << "\n" << run.out;
        }
    }
    EXPECT_TRUE(holds(run, L"Now 8°C wet")) << run.out;
    EXPECT_TRUE(holds(run, L"Pressure 1010mb, wind 12 mph SW, visibility 5 miles")) << run.out;
    WeatherData daily(fileKind::Daily, kLondon, unitsFromSettings(), test::kDownloads);
    for (int row = 1; row <= 3; ++row) {
        const std::wstring summary = summaryLine(daily, listMode::Daily, row);
        EXPECT_TRUE(holds(run, summary)) << platform::toUtf8(summary) << "\n" << run.out;
    }
    EXPECT_TRUE(holds(run, L"Thunderstorms Wind 22 mph S")) << run.out;
}

TEST_F(VornWeatherTest, JsonFollowsTheUnitAndLanguageOptions) {
    core::writeNumberSetting(L"OptTempFormat", 2);
    core::writeNumberSetting(L"OptWindFormat", 2);
    core::writeSetting(L"OptLang", L"0407");
    core::writeNumberSetting(L"OptWeatherDays", 1);
    const Outcome run = vorn("weather GB2643743 --json");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(holds(run, L"\"celsius\":false")) << run.out;
    EXPECT_TRUE(holds(run, L"\"station\":1")) << run.out;
    EXPECT_TRUE(holds(run, L"\"temperature\":\"45°F\"")) << run.out;
    EXPECT_TRUE(holds(run, L"\"wind\":\"15 km/h\"")) << run.out;
    EXPECT_TRUE(holds(run, L"\"visibility\":\"10 km\"")) << run.out;
    EXPECT_TRUE(holds(run, L"\"label\":\"Mo\"")) << run.out;
    EXPECT_TRUE(holds(run, L"\"date\":\"2026-12-07\"")) << run.out;
    EXPECT_TRUE(holds(run, L"\"highLow\":\"55/43°F\"")) << run.out;
    EXPECT_TRUE(holds(run, L"Luftdruck 1012mb")) << run.out;
}

TEST_F(VornWeatherTest, WithoutFilesItSaysThereIsNoData) {
    const Outcome run = vorn("weather Tokyo");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(holds(run, L"No current conditions yet.")) << run.out;
    EXPECT_TRUE(holds(run, L"No forecast yet.")) << run.out;
    const Outcome json = vorn("weather Tokyo --json");
    EXPECT_TRUE(holds(json, L"\"noData\":true")) << json.out;
    EXPECT_TRUE(holds(json, L"\"daily\":[]")) << json.out;
    EXPECT_EQ(vorn("weather").exitCode, 2);
    EXPECT_EQ(vorn("weather Nowhereville").exitCode, 2);
}

}  // namespace
}  // namespace weather
