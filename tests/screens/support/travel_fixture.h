#pragma once
// The fixture of the codes and flight status screen tests: the program with the travel
// screens on the shared screen-test device, an empty download folder the tests fill with
// flight files, message boxes answered from a list, and a test clock that only fastForward
// moves.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/comms.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "platform/api/clock.h"
#include "platform/api/shell.h"
#include "platform/gui/screen.h"
#include "tests/platform/support/message_pump.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/screen_shot.h"
#include "travel/screens/airport_screen.h"
#include "travel/screens/flight_detail_view.h"
#include "travel/screens/flight_screen.h"
#include "travel/screens/screens.h"
#include "worldtime/screens/screens.h"

namespace travel::test {

using namespace platform;

inline const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";

class TravelScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        std::filesystem::remove_all(downloads());
        std::filesystem::create_directories(downloads());
        core::writeNumberSetting(L"SchedulerStatus", 0);
        core::writeSetting(L"FltHstRequest", L"");
        core::writeSetting(L"FltHstResult", L"");
        answers_.clear();
        questions_.clear();
        platform::setClockOverride(*platform::toFileTime({2027, 3, 0, 1, 9, 30, 0, 0}));
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            questions_.push_back(std::wstring(text));
            if (answers_.empty())
                return id::Ok;
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

    static std::filesystem::path downloads() { return install_ / "downloads"; }
    static void write(const std::string& name, const std::string& text) {
        std::ofstream(downloads() / name, std::ios::binary) << text;
    }

    void open(int module) {
        app_.reset();
        pump();
        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        travel::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(module, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), module);
    }

    template <class Screen>
    Screen& screen() {
        return dynamic_cast<Screen&>(*app_->currentModule());
    }

    void pump() { platform::test::deliverPosted(); }
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    void comms(WParam report, LParam value = 0) {
        sendMessage(app_->mainWindow(), core::commsMessage(), report, value);
        pump();
    }

    // The screen as shown now.
    Bitmap shot() { return screens::test::screenShot(*app_); }
    // With VORN_TRAVEL_SCREENSHOTS set to a folder, saves the screen there for review.
    void saveShot(const std::string& name) {
        screens::test::saveReviewShot(*app_, "VORN_TRAVEL_SCREENSHOTS", name);
    }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::vector<int> answers_;
    std::vector<std::wstring> questions_;
};

}  // namespace travel::test
