// The home-mode screen's weather: the summary panel, the update and the comms program's
// reports, and the soft keys and menus that follow them.

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

namespace {

// A forecast day shows its low, the current conditions their temperature, each with the
// degree sign and the unit ("11°C").
constexpr int kDayTemperature = weather::temperatureFlag::Low | weather::temperatureFlag::Degree |
                                weather::temperatureFlag::Unit;
constexpr int kNowTemperature = weather::temperatureFlag::High | weather::temperatureFlag::Degree |
                                weather::temperatureFlag::Unit;
static_assert(kDayTemperature == 770 && kNowTemperature == 769);

}  // namespace

void HomeModeScreen::refreshWeatherIcon() {
    weatherIcon_ = {};
    std::wstring code = cityField(worldtime::cityField::Code);
    if (code.empty())
        return;
    int icon = weather::todayIconNumber(host_.downloadPath(), code);
    if (icon == weather::kNoReportIcon)
        return;
    SizedPicture picture;
    picture.load(host_.mainPath() + weather::conditionIconPath(icon), false);
    int size = static_cast<int>(32 * gfx::displayMetrics().scaleX);
    weatherIcon_ = picture.at(size, size);
}

void HomeModeScreen::refreshWeather() {
    WeatherSummary summary;
    summary.small = kind_ == HomeLayoutKind::DisplayMode;
    std::wstring code = cityField(worldtime::cityField::Code);
    if (cityRow() == 0) {
        weather_->setSummary(std::move(summary));
        return;
    }
    summary.hasCity = true;
    summary.cityName = cityField(worldtime::cityField::Name);
    const std::wstring& mainPath = host_.mainPath();
    weather::Units units = weather::unitsFromSettings();
    weather::WeatherData daily(weather::fileKind::Daily, code, units, host_.downloadPath());
    if (!daily.noData()) {
        for (int row = 1; row <= std::min(5, daily.rowCount()); ++row) {
            summary.days.push_back({mainPath + weather::conditionIconPath(daily.iconNumber(row)),
                                    daily.dayText(7, row),
                                    daily.temperatureText(kDayTemperature, row)});
        }
    }
    if (summary.days.empty()) {
        summary.noForecast = {core::languageString(text::NoForecast),
                              core::languageString(busy_ ? text::Downloading : text::TapUpdate)};
    }
    weather::WeatherData current(weather::fileKind::Current, code, units, host_.downloadPath());
    if (!current.noData() && current.rowCount() >= 1) {
        summary.currentIconPath = mainPath + weather::conditionIconPath(current.iconNumber(1));
        summary.currentLines = {core::formatText(core::languageString(text::NowTemperature),
                                                 current.temperatureText(kNowTemperature, 1)),
                                current.fieldText(8, 1)};
    } else {
        summary.currentIconPath = mainPath + weather::conditionIconPath(weather::kNoReportIcon);
        summary.currentLines = {core::languageString(text::NoCurrent1),
                                core::languageString(text::NoCurrent2),
                                core::languageString(text::NoCurrent3)};
    }
    weather_->setSummary(std::move(summary));
}

void HomeModeScreen::controlChanged(ui::Control& control) {
    if (&control == cities_) {
        refreshCity();
        invalidate(true);
    }
}

// Starts a download of the current city's weather, or cancels the one that runs.
void HomeModeScreen::update() {
    if (core::isCommsRunning()) {
        core::cancelComms();
    } else if (core::sendCommsRequest(core::formatText(L"/manual %d", kUpdateMask))) {
        request_.sent();
    } else {
        core::showExclamation(core::languageString(text::NotStarted), host_.programName());
    }
    updateButton_->setText(core::languageString(
        busy_ || core::isCommsRunning() ? text::CancelCaption : text::UpdateCaption));
    updateButton_->redrawNow();
    updateMenu();
}

void HomeModeScreen::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    busyIndicator_->reset();
    if (busy) {
        busyIndicator_->show(true, true);
        if (WindowHandle window = host_.mainWindow())
            setTimer(window, kBusyTimer, kBusyMs);
    } else {
        stopTimer(kBusyTimer);
    }
    // Work that ended may have left new weather files; the mode's visibility hides the
    // indicator and reloads the quick alarm.
    refreshMode();
    updateMenu();
}

bool HomeModeScreen::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    bool known = request_.report(wParam, lParam);
    if (wParam == core::commsReport::Ended) {
        refreshWeatherIcon();
        refreshWeather();
    }
    updateMenu();
    invalidate(false);
    return known;
}

void HomeModeScreen::updateMenu() {
    auto item = [](std::uint32_t commandId, std::uint32_t string) {
        return ui::MenuEntry{Right, 0, static_cast<std::uint16_t>(commandId), string};
    };
    const bool running = busy_ || core::isCommsRunning();
    std::array<ui::MenuEntry, 12> entries{};
    std::size_t n = 0;
    entries[n++] = {Left, SoftKey, ui::command::LeftSoftKey, text::Menu};
    if (mode_ == homeMode::Calendar) {
        entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Calendar};
        entries[n++] = item(homeCommand::ViewDay, text::ViewDay);
        entries[n++] = item(homeCommand::NewAppointment, text::NewAppointment);
    } else if (mode_ == homeMode::Weather) {
        entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Weather};
        entries[n++] =
            item(homeCommand::Update,
                 static_cast<std::uint32_t>(running ? text::CancelUpdate : text::UpdateWeather));
        entries[n++] = item(homeCommand::WeatherDetails, text::WeatherDetails);
    } else {
        entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::NowScreen};
    }
    if (n > 2)
        entries[n++] = item(ui::kSeparatorCommand, 0);
    entries[n++] = item(homeCommand::Cities, text::Cities);
    entries[n++] = item(homeCommand::About, text::About);
    if (n == menuSize_ && std::equal(entries.begin(), entries.begin() + n, menu_.begin()))
        return;
    menu_ = entries;
    menuSize_ = n;
    if (isActive && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

std::span<const ui::MenuEntry> HomeModeScreen::menuEntries() const {
    return {menu_.data(), menuSize_};
}

}  // namespace home
