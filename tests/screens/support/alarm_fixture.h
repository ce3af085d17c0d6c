#pragma once
// The fixture of the alarm screen tests: the program with the world-time and alarm screens on
// the shared screen-test device, the English language file, a device clock held at a known
// moment, no alarms and no notifications, message boxes answered by the test, and input sent
// as the window system would.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "alarms/alarm_store.h"
#include "alarms/screens/alarm_editor_screen.h"
#include "alarms/screens/alarm_list_screen.h"
#include "alarms/screens/screens.h"
#include "app/application.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/shell.h"
#include "platform/api/window.h"
#include "tests/platform/support/message_pump.h"
#include "tests/platform/support/test_device.h"
#include "tests/screens/support/screen_device.h"
#include "ui/drop_down.h"
#include "ui/module_ids.h"
#include "ui/popup_list.h"
#include "worldtime/screens/screens.h"

namespace alarms::test {

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

inline platform::SystemTime localAt(int year, int month, int day, int hour, int minute) {
    return {static_cast<std::uint16_t>(year),
            static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(platform::dayOfWeekOf(year, month, day)),
            static_cast<std::uint16_t>(day),
            static_cast<std::uint16_t>(hour),
            static_cast<std::uint16_t>(minute),
            0,
            0};
}

inline const std::wstring kStoreFile = L"\\windows\\vornalarms.dat";

class AlarmScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { screens::test::screenTestDevice(); }

    void SetUp() override {
        screens::test::restoreInstalledFile("mycities.dat");
        core::writeNumberSetting(L"FavCity", 1);
        platform::deleteFile(kStoreFile);
        for (platform::NotificationHandle h : platform::userNotificationHandles())
            platform::clearUserNotification(h);
        // The device keeps UTC, so local times read as written; Tuesday 8 December 2026, 10:30.
        ASSERT_TRUE(platform::setDeviceTimeZone("UTC"));
        platform::setClockOverride(utcAt(2026, 12, 8, 10, 30));
        platform::setClockOffsetSeconds(0);
        messages_.clear();
        answer_ = platform::id::Yes;
        core::setMessageBoxHook([this](std::wstring_view text, std::wstring_view, std::uint32_t) {
            messages_.push_back(std::wstring(text));
            return answer_;
        });
        app_ = std::make_unique<app::Application>(L"\\Program Files\\Vorn Roamer\\vornroamer3.exe");
        core::buildLanguageList(app_->mainPath(), 1, 9);
        core::openLanguage(app_->mainPath(), true, true);
        auto favourites = worldtime::registerScreens(app_->screens());
        alarms::registerScreens(app_->screens(), favourites);
        ASSERT_TRUE(app_->createMainWindow());
    }

    void TearDown() override {
        app_.reset();
        pump();
        core::setMessageBoxHook({});
        platform::setClockOverride(std::nullopt);
        platform::deleteFile(kStoreFile);
    }

    void open(int id) {
        app_->switchModule(id, {.saveOld = true});
        pump();
        ASSERT_EQ(app_->currentModuleId(), id);
    }
    AlarmListScreen& listScreen() {
        auto* screen = dynamic_cast<AlarmListScreen*>(app_->currentModule());
        EXPECT_NE(screen, nullptr) << "the live screen is not the alarm list";
        return *screen;
    }
    AlarmEditorScreen& editor() {
        auto* screen = dynamic_cast<AlarmEditorScreen*>(app_->currentModule());
        EXPECT_NE(screen, nullptr) << "the live screen is not the alarm editor";
        return *screen;
    }

    void pump() { platform::test::deliverPosted(); }
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
    void tapControl(int id) {
        ui::Control* c = app_->currentModule()->findControl(id);
        ASSERT_NE(c, nullptr) << "no control " << id;
        tap({(c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2});
    }
    void softKey(int side) { send(platform::wm::Command, side == 0 ? 99 : 100, 0); }
    // Chooses a row of an editor list through its pop-up, with the stylus and the keys.
    void choose(int id, int row) {
        tapControl(id);
        auto* popup = dynamic_cast<ui::PopupList*>(app_->overlay());
        ASSERT_NE(popup, nullptr) << "the list " << id << " did not open";
        int now = popup->list().currentRow();
        for (; now < row; ++now) key(platform::vk::Down);
        for (; now > row; --now) key(platform::vk::Up);
        key(platform::vk::Return);
        ASSERT_EQ(app_->overlay(), nullptr);
    }
    int chosen(int id) {
        ui::DropDown* d = editor().list(id);
        return d && d->table() ? d->table()->currentRow() : -1;
    }

    // A store row written as another program would, armed or not.
    void storeAlarm(const AlarmRecord& record, bool arm) {
        AlarmStore store;
        ASSERT_EQ(store.addNew(record), arm ? EditResult::Saved : EditResult::Saved);
        if (!arm) {
            ASSERT_TRUE(store.select(record.name));
            ASSERT_TRUE(store.disarm());
        }
    }
    static AlarmRecord daily(std::wstring name, int hour, int minute) {
        AlarmRecord r;
        r.name = std::move(name);
        r.message = L"Wake up";
        r.kind = RepeatKind::Daily;
        r.timeOfDayMs = (hour * 60 + minute) * 60000;
        r.startDate = {8, 12, 2026};
        r.soundName = L"Vibrate";
        r.soundPath = L"Vibrate";
        return r;
    }
    // The armed "/ALARM" notifications: argument line and start.
    std::vector<platform::NotificationRecord> notifications() {
        std::vector<platform::NotificationRecord> all;
        for (platform::NotificationHandle h : platform::userNotificationHandles()) {
            if (auto r = platform::userNotification(h))
                all.push_back(*r);
        }
        return all;
    }

    std::unique_ptr<app::Application> app_;
    std::vector<std::wstring> messages_;
    int answer_ = platform::id::Yes;
};

}  // namespace alarms::test
