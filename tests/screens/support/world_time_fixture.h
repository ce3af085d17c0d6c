#pragma once
// The fixture of the world-time screen tests: the program with world time's screens on the
// shared screen-test device, the shipped favourites with the first one current, a device
// clock held at 21 June 2026 12:00 UTC, and input sent as the window system would.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "core/settings.h"
#include "platform/api/clock.h"
#include "platform/api/window.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "ui/label.h"
#include "worldtime/screens/screens.h"

namespace worldtime::test {

inline platform::FileTime utcAt(int year, int month, int day, int hour, int minute) {
    platform::SystemTime t{static_cast<std::uint16_t>(year),
                           static_cast<std::uint16_t>(month),
                           0,
                           static_cast<std::uint16_t>(day),
                           static_cast<std::uint16_t>(hour),
                           static_cast<std::uint16_t>(minute),
                           0,
                           0};
    return *platform::toFileTime(t);
}

inline std::filesystem::path installFolder() {
    return platform::test::useTestDevice("240x320") / "Program Files" / "Vorn Roamer";
}

class WorldTimeScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        screens::test::restoreInstalledFile("mycities.dat");
        core::writeNumberSetting(L"FavCity", 1);
        core::writeNumberSetting(L"OptHomeLayoutReload", 0);
        platform::setClockOverride(utcAt(2026, 6, 21, 12, 0));
    }

    void TearDown() override {
        app_.reset();
        pump();
        platform::setClockOverride(std::nullopt);
    }

    void open(int id) {
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        favourites_ = registerScreens(app_->screens());
        ASSERT_TRUE(app_->createMainWindow());
        app_->switchModule(id, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), id);
    }

    void pump() { platform::test::deliverPosted(); }
    // Dispatches the timers that are due while no other message comes first; answers how many.
    int deliverDueTimers() {
        int delivered = 0;
        platform::Message m;
        while (platform::peekMessage(m, false) && m.id == platform::wm::Timer) {
            platform::peekMessage(m, true);
            platform::dispatchMessage(m);
            ++delivered;
        }
        return delivered;
    }
    void send(std::uint32_t message, platform::WParam wParam = 0, platform::LParam lParam = 0) {
        platform::sendMessage(app_->mainWindow(), message, wParam, lParam);
        pump();
    }
    void key(std::uint32_t code) {
        send(platform::wm::KeyDown, code, 1);
        send(platform::wm::KeyUp, code, static_cast<platform::LParam>(0xC0000001u));
    }
    void tap(platform::Point p) {
        send(platform::wm::LButtonDown, 1, platform::makeLParam(p.x, p.y));
        send(platform::wm::LButtonUp, 0, platform::makeLParam(p.x, p.y));
    }
    std::wstring label(int id) {
        auto* l = app_->currentModule()->findControl<ui::Label>(id);
        return l ? l->text() : L"<no label>";
    }

    std::unique_ptr<app::Application> app_;
    std::shared_ptr<Favourites> favourites_;
};

}  // namespace worldtime::test
