// The home-mode screen's keys, taps and commands.

#include "home/screens/home_screen.h"

#include <algorithm>
#include <cmath>

#include "alarms/quick_alarm.h"
#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_file.h"
#include "gfx/blend.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/theme.h"
#include "home/screens/alarm_time_picker.h"
#include "home/screens/home_controls.h"
#include "home/screens/home_screen_texts.h"
#include "platform/api/locale.h"
#include "platform/api/notifications.h"
#include "ui/control_paint.h"
#include "ui/drop_down.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "ui/text_button.h"
#include "weather/units.h"
#include "weather/weather_data.h"
#include "weather/weather_files.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/screens/month_calendar_view.h"

namespace home {

using namespace platform;
using ui::menuKind::Context;
using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;
namespace text = homeText;

bool HomeModeScreen::controlPressed(ui::Control& control) {
    if (&control == clock_) {
        toggleFullScreen();
        return true;
    }
    for (std::size_t i = 0; i < modeButtons_.size(); ++i) {
        if (&control == modeButtons_[i]) {
            chooseMode(static_cast<int>(i) + 1);
            return true;
        }
    }
    if (&control == previousMonth_ || &control == nextMonth_) {
        stepMonth(&control == previousMonth_ ? -1 : 1);
        return true;
    }
    if (&control == alarmButton_) {
        pressAlarmButton();
        return true;
    }
    if (&control == updateButton_) {
        command(homeCommand::Update, 0);
        return true;
    }
    return false;
}

bool HomeModeScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (message != wm::KeyDown)
        return false;
    bool handled = modeKey(keyCode);
    if (!handled && (keyCode == vk::Up || keyCode == vk::Down)) {
        // The default: the next or previous control takes the focus.
        moveFocus(keyCode == vk::Down);
        handled = true;
    }
    syncFocus();
    return handled;
}

bool HomeModeScreen::modeKey(std::uint32_t keyCode) {
    ui::Control* focused = focusedControl();
    switch (mode_) {
        case homeMode::Clock:
            if (focused != modeButtons_[0])
                return false;
            if (keyCode == vk::Return || keyCode == vk::Right) {
                stepCity(1);
                return true;
            }
            if (keyCode == vk::Left) {
                stepCity(-1);
                return true;
            }
            return false;
        case homeMode::Weather:
            if (keyCode == vk::Return) {
                command(homeCommand::Update, 0);
                return true;
            }
            if (keyCode == vk::Right || keyCode == vk::Left) {
                stepCity(keyCode == vk::Right ? 1 : -1);
                return true;
            }
            return false;
        case homeMode::Calendar:
            return calendarKey(keyCode);
        case homeMode::Alarm:
            return alarmKey(keyCode);
        default:
            return false;
    }
}

// The calendar has taken the arrows it uses before these come here.
bool HomeModeScreen::calendarKey(std::uint32_t keyCode) {
    ui::Control* focused = focusedControl();
    if (focused == modeButtons_[1] && keyCode == vk::Left) {
        setFocusedControl(calendar_, true);
        return true;
    }
    if (focused == calendar_) {
        if (keyCode == vk::Up || keyCode == vk::Left || keyCode == vk::Right) {
            setFocusedControl(modeButtons_[1], true);
            return true;
        }
        if (keyCode == vk::Down) {
            setFocusedControl(previousMonth_, true);
            return true;
        }
        return false;
    }
    if (focused == previousMonth_ || focused == nextMonth_) {
        if (keyCode == vk::Up) {
            setFocusedControl(calendar_, true);
            return true;
        }
        if (focused == previousMonth_ && keyCode == vk::Right) {
            setFocusedControl(nextMonth_, true);
            return true;
        }
        if (focused == nextMonth_ && keyCode == vk::Left) {
            setFocusedControl(previousMonth_, true);
            return true;
        }
    }
    return false;
}

bool HomeModeScreen::alarmKey(std::uint32_t keyCode) {
    ui::Control* focused = focusedControl();
    if (focused == modeButtons_[3] && keyCode == vk::Left) {
        setFocusedControl(alarmButton_, true);
        return true;
    }
    if (focused != alarmButton_)
        return false;
    AlarmTimePicker& picker = alarm_->picker();
    switch (keyCode) {
        case vk::Up:
        case vk::Down:
            picker.step(keyCode == vk::Up ? 1 : -1);
            alarm_->invalidate();
            refreshQuickAlarm();
            return true;
        case vk::Left:
        case vk::Right:
            if (!picker.moveSelection(keyCode == vk::Right ? 1 : -1)) {
                // Past the first or the last digit the focus goes back to the mode button.
                settingFocus_ = true;
                setFocusedControl(modeButtons_[3], true);
                settingFocus_ = false;
            }
            alarm_->invalidate();
            return true;
        default:
            return false;
    }
}

void HomeModeScreen::pointer(std::uint32_t message, WParam keys, Point point) {
    if (captureControl()) {
        ui::Module::pointer(message, keys, point);
        syncFocus();
        return;
    }
    if (mode_ == homeMode::Calendar && calendar_->rect.contains(point) &&
        !previousMonth_->rect.contains(point) && !nextMonth_->rect.contains(point)) {
        if (message == wm::LButtonDown) {
            setFocusedControl(calendar_, true);
            syncFocus();
            // A tap-and-hold on a day opens the calendar menu for that day.
            heldCell_ = calendar_->cellAt(point);
            if (heldCell_ >= 0 &&
                calendar_->grid().cells[static_cast<std::size_t>(heldCell_)].day > 0) {
                const ui::MenuEntry entries[] = {
                    {Context, ui::menuParent::ContextItems, homeCommand::ViewDay, text::ViewDay},
                    {Context, ui::menuParent::ContextItems, homeCommand::NewAppointment,
                     text::NewAppointment},
                };
                host_.showContextMenu(*this, point, entries);
            }
            heldCell_ = -1;
            updateMenu();
            return;
        }
        calendar_->pointer(message, keys, point);
        return;
    }
    if (mode_ == homeMode::Alarm && alarm_->rect.contains(point)) {
        if (focusedControl() != alarmButton_) {
            setFocusedControl(alarmButton_, true);
            syncFocus();
        }
        alarm_->pointer(message, keys, point);
        return;
    }
    if (mode_ == homeMode::Weather && weather_->summary().hasCity &&
        weather_->headingRect().contains(point)) {
        if (message != wm::LButtonDown)
            return;
        if (weather_->rightArrowRect().contains(point)) {
            stepCity(1);
            return;
        }
        if (!weather_->leftArrowRect().contains(point)) {
            const ui::MenuEntry entries[] = {
                {Context, ui::menuParent::ContextItems, homeCommand::Update,
                 static_cast<std::uint32_t>(busy_ ? text::CancelUpdate : text::UpdateWeather)},
                {Context, ui::menuParent::ContextItems, homeCommand::WeatherDetails,
                 text::WeatherDetails},
            };
            if (host_.showContextMenu(*this, point, entries)) {
                updateMenu();
                return;
            }
        }
        stepCity(-1);
        return;
    }
    ui::Module::pointer(message, keys, point);
    syncFocus();
}

void HomeModeScreen::openCalendar(bool newAppointment) {
    int cell = heldCell_ >= 0 ? heldCell_ : calendar_->selectedCell();
    // A day that cannot be chosen (no selection, an empty cell) opens nothing.
    calendar_->choose(cell, newAppointment);
}

bool HomeModeScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            // The clock keeps ticking under the menu; its ticks wait until the menu closes.
            host_.showMainMenu(true);
            return true;
        case homeCommand::NewAppointment:
        case homeCommand::ViewDay:
            openCalendar(commandId == homeCommand::NewAppointment);
            return true;
        case homeCommand::Update:
            update();
            return true;
        case homeCommand::WeatherDetails:
            host_.requestModuleLater(ui::moduleId::CurrentWeather);
            return true;
        case homeCommand::Cities:
            host_.requestModuleLater(ui::moduleId::CityList);
            return true;
        case homeCommand::Quit:
            // Through module 99, so that every subsystem stores what it keeps.
            host_.requestModuleLater(ui::moduleId::Quit);
            return true;
        case homeCommand::About:
            host_.showAbout();
            return true;
        default:
            return false;
    }
}

}  // namespace home
