#pragma once
// The fixture of the weather screen tests: the program with the world-time and weather screens
// on the shared screen-test device, London (the first shipped favourite) current, an empty
// download folder the tests fill with weather files, message boxes answered from a list, and
// a test clock that only fastForward moves.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "core/settings_file.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/gui/screen.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/screen_shot.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "weather/screens/screens.h"
#include "weather/screens/weather_controls.h"
#include "weather/screens/weather_layouts.h"
#include "weather/screens/weather_screen.h"
#include "weather/settings_keys.h"
#include "worldtime/screens/screens.h"

namespace weather::test {

using namespace platform;

inline const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";
// The first shipped favourite: London, map region BritishIsles.
inline const std::string kCode = "GB2643743";
constexpr int kWeatherModule = 31, kMapsModule = 32, kOutlookModule = 33;

// Three days in Celsius: highs 21..23, lows 11..13, each with its own text.
inline const char* const kDaily =
    "1~1~21~11~SW~10~1~Clear day one~120126~M~~~~~\n"
    "1~3~22~12~W~20~2~Showers day two~120226~M~~~~~\n"
    "1~13~23~13~N~30~3~Snow day three~120326~M~~~~~\n";
inline const char* const kPeriods =
    "1~1~15~8~W~12~1~Bright morning~120126~M~~~~~\n"
    "1~3~17~9~W~12~1~Wet afternoon~120126~A~~~~~\n";
inline const char* const kCurrent =
    "1~1~20~10~NW~15~1016~Station one text~~x~17~10~Sunny~Last one\n"
    "1~3~5~1~N~9~1012~Station two text~~x~3~8~Cloudy~Last two\n"
    "1~13~-2~-5~E~4~1001~Station three text~~x~-6~2~Snow~Last three\n";

class WeatherScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        screens::test::restoreInstalledFile("mycities.dat");
        std::filesystem::remove_all(downloads());
        std::filesystem::create_directories(downloads());
        core::writeNumberSetting(L"FavCity", 1);
        core::writeNumberSetting(L"SchedulerStatus", 0);
        core::writeNumberSetting(L"OptTempFormat", 1);
        core::writeNumberSetting(L"OptWindFormat", 2);
        core::writeNumberSetting(L"OptWeatherDays", 0);
        core::writeNumberSetting(L"OptHomeLayoutReload", 0);
        core::writeNumberSetting(L"CITYSTATION_GB2643743", 1);
        core::writeSetting(L"CITYIMG_GB2643743", L"");
        answers_.clear();
        questions_.clear();
        // Timers run on the test clock, which only fastForward moves.
        platform::setClockOverride(*platform::toFileTime({2026, 12, 0, 1, 12, 0, 0, 0}));
        core::setMessageBoxHook(
            [this](std::wstring_view text, std::wstring_view caption, std::uint32_t flags) {
                questions_.push_back(std::wstring(text));
                EXPECT_EQ(caption, L"Vorn Roamer");
                if (answers_.empty())
                    return id::Ok;
                EXPECT_EQ(flags & (mb::YesNo | mb::IconQuestion), mb::YesNo | mb::IconQuestion);
                int answer = answers_.front();
                answers_.erase(answers_.begin());
                return answer;
            });
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
        platform::setClockOverride(std::nullopt);
    }

    // A settings-file value as the program finds it when it starts.
    static void setIni(std::wstring_view name, int value) {
        core::ensureIniFile(L"\\Program Files\\Vorn Roamer\\");
        core::setIniNumber(name, value);
        ASSERT_TRUE(core::saveIniFile());
    }
    static std::filesystem::path downloads() { return install_ / "downloads"; }
    static void write(const std::string& name, const std::string& text) {
        std::ofstream(downloads() / name, std::ios::binary) << text;
    }
    static void copyPicture(const std::string& name) {
        std::filesystem::copy_file(
            std::filesystem::path(VORN_SOURCE_DIR) / "data" / "graphics2" / "daymap.jpg",
            downloads() / name, std::filesystem::copy_options::overwrite_existing);
    }

    void open(int module) {
        app_.reset();
        pump();
        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        weather::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(module, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), module);
    }

    WeatherScreen& screen() { return dynamic_cast<WeatherScreen&>(*app_->currentModule()); }
    template <class T>
    T& control(int id) {
        T* c = screen().findControl<T>(id);
        EXPECT_NE(c, nullptr) << "control " << id;
        return *c;
    }
    ForecastList& list() { return control<ForecastList>(weatherControl::List); }
    std::wstring temperature(int row) { return list().rows().row(row)->temperature; }
    std::wstring label(int row) { return list().rows().row(row)->label; }
    std::wstring summary() { return control<SummaryLine>(weatherControl::Summary).text(); }
    std::vector<std::wstring> panel() {
        return control<ConditionsPanel>(weatherControl::Panel).lines();
    }
    std::wstring panelText() {
        std::wstring all;
        for (const auto& line : panel()) all += line + L"\n";
        return all;
    }
    MapPanel& map() { return control<MapPanel>(weatherControl::Map); }

    void pump() { platform::test::deliverPosted(); }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    void tap(int id) {
        Rect r = screen().findControl(id)->rect;
        Point p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        sendMessage(app_->mainWindow(), wm::LButtonDown, 1, makeLParam(p.x, p.y));
        sendMessage(app_->mainWindow(), wm::LButtonUp, 0, makeLParam(p.x, p.y));
        pump();
    }
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }

    // The screen as shown now.
    Bitmap shot() { return screens::test::screenShot(*app_); }
    // With VORN_WEATHER_SCREENSHOTS set to a folder, saves the screen there for review.
    void saveShot(const std::string& name) {
        screens::test::saveReviewShot(*app_, "VORN_WEATHER_SCREENSHOTS", name);
    }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::vector<int> answers_;
    std::vector<std::wstring> questions_;
};

}  // namespace weather::test
