#pragma once
// The fixture of the home-mode screen tests: the program with the world-time, weather and
// home screens on the shared screen-test device, London (the first shipped favourite)
// current, no quick alarm and no notifications, an empty download folder, message boxes
// counted, a device in UTC whose clock only the test moves, and input sent as the window
// system would.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "alarms/quick_alarm.h"
#include "app/application.h"
#include "core/comms.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "core/settings_file.h"
#include "home/screens/home_controls.h"
#include "home/screens/home_layouts.h"
#include "home/screens/home_screen.h"
#include "home/screens/screens.h"
#include "platform/api/clock.h"
#include "platform/api/control.h"
#include "platform/api/notifications.h"
#include "platform/api/profile.h"
#include "platform/api/shell.h"
#include "platform/gui/screen.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "tests/screens/support/screen_shot.h"
#include "ui/drop_down.h"
#include "ui/label.h"
#include "ui/module_ids.h"
#include "ui/text_button.h"
#include "weather/screens/screens.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/screens/month_calendar_view.h"
#include "worldtime/screens/screens.h"

namespace home::test {

using namespace platform;

inline const std::wstring kProgram = L"\\Program Files\\Vorn Roamer\\vornroamer3.exe";
inline const std::string kLondon = "GB2643743";

// A UTC moment (the device keeps UTC, so it reads as local time too).
inline FileTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return *toFileTime({static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), 0,
                        static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(hour),
                        static_cast<std::uint16_t>(minute), static_cast<std::uint16_t>(second), 0});
}

class HomeScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { install_ = screens::test::screenTestDevice(); }

    void SetUp() override {
        screens::test::restoreInstalledFile("mycities.dat");
        std::filesystem::remove_all(install_ / "downloads");
        std::filesystem::create_directories(install_ / "downloads");
        core::writeNumberSetting(L"FavCity", 1);
        core::writeNumberSetting(L"SchedulerStatus", 0);
        core::writeNumberSetting(L"FakeCommsDelayMs", 0);
        core::writeSetting(L"FakeCommsRequest", L"");
        core::writeSetting(L"QuickSetAlarm", L"0");
        for (NotificationHandle h : userNotificationHandles()) clearUserNotification(h);
        ASSERT_TRUE(setDeviceTimeZone("UTC"));
        setClockOffsetSeconds(0);
        // Tuesday 8 December 2026, 07:00:30.
        setClockOverride(at(2026, 12, 8, 7, 0, 30));
        setIni(L"homemode", 1);
        messages_.clear();
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return id::Ok;
        });
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
        setClockOverride(std::nullopt);
    }

    static void setIni(std::wstring_view name, int value) {
        core::ensureIniFile(L"\\Program Files\\Vorn Roamer\\");
        core::setIniNumber(name, value);
        ASSERT_TRUE(core::saveIniFile());
    }
    // The value the settings file holds on disk, read again.
    static int storedIni(std::wstring_view name, int fallback) {
        core::loadIniFile(L"\\Program Files\\Vorn Roamer\\", true);
        return core::iniNumber(name, fallback);
    }

    void open() {
        app_.reset();
        pump();
        app_ = std::make_unique<app::Application>(kProgram);
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        weather::registerScreens(app_->screens(), favourites);
        home::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(ui::moduleId::Home, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), ui::moduleId::Home);
    }

    HomeModeScreen& screen() { return dynamic_cast<HomeModeScreen&>(*app_->currentModule()); }
    template <class T>
    T& control(int id) {
        T* c = screen().findControl<T>(id);
        EXPECT_NE(c, nullptr) << "control " << id;
        return *c;
    }
    ui::Control* focused() { return screen().focusedControl(); }
    worldtime::MonthCalendarView& calendar() {
        return control<worldtime::MonthCalendarView>(homeControl::Calendar);
    }
    QuickAlarmPanel& alarmPanel() { return control<QuickAlarmPanel>(homeControl::AlarmPanel); }
    std::wstring text(int id) { return control<ui::Label>(id).text(); }
    std::wstring caption(int id) { return control<ui::TextButton>(id).text(); }
    HomeModeButton& modeButton(int mode) {
        return control<HomeModeButton>(homeControl::TimeMode + mode - 1);
    }

    void pump() { platform::test::deliverPosted(); }
    void key(std::uint32_t code) { platform::test::pressKeyOn(app_->mainWindow(), code); }
    void command(std::uint32_t id) {
        sendMessage(app_->mainWindow(), wm::Command, id, 0);
        pump();
    }
    void tap(Point p) {
        sendMessage(app_->mainWindow(), wm::LButtonDown, 1, makeLParam(p.x, p.y));
        sendMessage(app_->mainWindow(), wm::LButtonUp, 0, makeLParam(p.x, p.y));
        pump();
    }
    static Point centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    void tapControl(int id) { tap(centre(screen().findControl(id)->rect)); }
    template <class Condition>
    bool pumpUntil(Condition condition) {
        return platform::test::deliverUntil(condition);
    }

    // The pending notifications.
    static std::vector<NotificationRecord> notifications() {
        std::vector<NotificationRecord> all;
        for (NotificationHandle h : userNotificationHandles()) {
            if (auto r = userNotification(h))
                all.push_back(*r);
        }
        return all;
    }

    // The screen as shown now.
    Bitmap shot() { return screens::test::screenShot(*app_); }
    // With VORN_HOME_SCREENSHOTS set to a folder, saves the screen there for review.
    void saveShot(const std::string& name) {
        screens::test::saveReviewShot(*app_, "VORN_HOME_SCREENSHOTS", name);
    }

    static void write(const std::string& name, const std::string& text) {
        std::ofstream(install_ / "downloads" / name, std::ios::binary) << text;
    }

    static inline std::filesystem::path install_;
    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
};

}  // namespace home::test
