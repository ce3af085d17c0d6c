// The weather screen's maps (mode 4): the forecast map, the satellite and radar loops, and
// the user map with the editor of its address.

#include <algorithm>

#include "core/format.h"
#include "core/language.h"
#include "core/settings_file.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "weather/screen_texts.h"
#include "weather/screens/weather_controls.h"
#include "weather/screens/weather_layouts.h"
#include "weather/screens/weather_screen.h"
#include "weather/settings_keys.h"
#include "weather/weather_files.h"

namespace weather {

using namespace platform;

namespace {

namespace text {
constexpr int Loading = 166, NoForecastMap = 167, NoSatellite = 168, NoRadarHere = 169,
              NoRadar = 170, NoUserMap = 171, UserMapAddress = 172, UserMapSource = 173,
              UserMapHint = 174, FirstCaption = 176;
}

constexpr std::wstring_view kMapModeKey = L"mapmode";
// The loop's frame period in milliseconds: the setting, kept to what a person can watch and
// the timer can serve (a damaged setting of 0 would step without pause).
constexpr int kDefaultFramePeriod = 50, kShortestFramePeriod = 20, kLongestFramePeriod = 10000;

int kindOfMapMode(int mode) {
    switch (mode) {
        case mapMode::Satellite:
            return fileKind::Satellite;
        case mapMode::Radar:
            return fileKind::Radar;
        case mapMode::User:
            return fileKind::UserMap;
        default:
            return fileKind::ForecastMap;
    }
}

}  // namespace

void WeatherScreen::setMapMode(int mode) {
    mode = std::clamp(mode, 1, 4);
    if (mode == mapMode_)
        return;
    mapMode_ = mode;
    core::setIniNumber(kMapModeKey, mapMode_);
    core::saveIniFile();
    for (std::size_t i = 0; i < mapButtons_.size(); ++i)
        mapButtons_[i]->setChosen(static_cast<int>(i) + 1 == mapMode_);
    stopLoop();
    reload();
    startLoop();
}

void WeatherScreen::loadMap() {
    int kind = kindOfMapMode(mapMode_);
    std::wstring_view key = isFrameKind(kind) ? std::wstring_view(region_) : code_;
    map_ = std::make_unique<WeatherData>(kind, key, units_, host_.downloadPath());
    if (map_->exists()) {
        // Decoding takes a moment: the panel says so first.
        updateMapText(true);
        mapPanel_->redrawNow();
        map_->load();
    }
    updateMapText(false);
}

void WeatherScreen::updateMapText(bool loading) {
    if (loading) {
        mapPanel_->setText(core::languageString(text::Loading));
        return;
    }
    if (map_ && map_->image()) {
        mapPanel_->setPicture(map_->image(),
                              core::languageString(text::FirstCaption + mapMode_ - 1));
        return;
    }
    std::wstring message;
    switch (mapMode_) {
        case mapMode::Satellite:
            message = core::languageString(text::NoSatellite);
            break;
        case mapMode::Radar:
            message =
                core::languageString(isRadarRegion(region_) ? text::NoRadar : text::NoRadarHere);
            break;
        case mapMode::User: {
            message = core::languageString(text::NoUserMap);
            std::wstring source = readUserMapSource(code_);
            if (!source.empty()) {
                message += L" " + core::languageString(text::UserMapAddress) + L" " +
                           core::formatText(core::languageString(text::UserMapSource), source) +
                           L" " + core::languageString(text::UserMapHint);
            }
            break;
        }
        default:
            message = core::languageString(text::NoForecastMap);
            break;
    }
    mapPanel_->setText(std::move(message));
}

void WeatherScreen::stepLoop(bool forward) {
    if (!map_ || !isFrameKind(map_->kind()) || map_->frameCount() == 0)
        return;
    bool moved = forward ? map_->stepFrameForward() : map_->stepFrame();
    if (!moved)
        return;
    // The new frame replaces the old picture; a frame that does not decode shows the text.
    map_->load();
    updateMapText(false);
}

void WeatherScreen::startLoop() {
    bool loops = mode_ == listMode::Maps && !isEditing() &&
                 (mapMode_ == mapMode::Satellite || mapMode_ == mapMode::Radar);
    WindowHandle window = host_.mainWindow();
    if (!loops || !isActive || !window) {
        stopLoop();
        return;
    }
    int period = std::clamp(core::iniNumber(L"map_animspeed", kDefaultFramePeriod),
                            kShortestFramePeriod, kLongestFramePeriod);
    setTimer(window, kLoopTimer, static_cast<std::uint32_t>(period));
    looping_ = true;
}

void WeatherScreen::stopLoop() {
    if (looping_) {
        if (WindowHandle window = host_.mainWindow())
            killTimer(window, kLoopTimer);
    }
    looping_ = false;
}

void WeatherScreen::enterEditState() {
    stopLoop();
    settingFocus_ = true;
    setPage(weatherPage::EditSource);
    settingFocus_ = false;
    findControl<ui::Label>(weatherControl::EditTitle)->setText(favouriteTitle());
    source_->setText(readUserMapSource(code_));
    setFocusedControl(source_, true);
    if (isActive)
        host_.setMenuBar(menuEntries());
}

void WeatherScreen::leaveEditState(bool store) {
    if (store && !code_.empty())
        writeUserMapSource(code_, source_->text());
    settingFocus_ = true;
    setPage(weatherPage::Maps);
    chooseModeButton();
    settingFocus_ = false;
    if (isActive)
        host_.setMenuBar(menuEntries());
    reload();
    startLoop();
}

}  // namespace weather
