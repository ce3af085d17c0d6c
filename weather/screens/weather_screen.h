#pragma once
// The weather screen (modules 31, 32 and 33): the weather of the current favourite from the
// files the comms program leaves. Mode 1 lists the days, mode 2 the parts of the next days,
// each with a summary line of the selected row and the current conditions at a station;
// mode 3 lists the grouped periods of the outlook; mode 4 shows the weather maps (the
// forecast map, the satellite and radar loops and a map from an address the user types).
// The menu asks the comms program for fresh data, deletes old data and switches the units.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/comms_request.h"
#include "ui/module.h"
#include "weather/units.h"
#include "weather/weather_data.h"
#include "worldtime/favourites.h"

namespace ui {
class EditField;
class Label;
}  // namespace ui

namespace worldtime {
class BusyIndicator;
}

namespace weather {

class ConditionsPanel;
class ForecastList;
class MapPanel;
class ModeButton;
class SummaryLine;

// Menu commands.
namespace weatherCommand {
constexpr std::uint16_t Update = 3101, UpdateCity = 3102, Delete = 3103, TemperatureUnit = 3104,
                        WindUnit = 3105, DayLabels = 3106, City = 3107, EditUserMap = 122;
}

// The masks of the update requests by mode.
constexpr int kForecastMask = 14, kOutlookMask = 16, kMapsMask = 3840;

// Timers of the screen: the busy animation and the map loops.
constexpr std::uintptr_t kBusyTimer = 4002;
constexpr std::uint32_t kBusyIntervalMs = 300;
constexpr std::uintptr_t kLoopTimer = 4004;

// The map kinds of mode 4 ("mapmode").
namespace mapMode {
constexpr int Forecast = 1, Satellite = 2, Radar = 3, User = 4;
}

// The live screen in words ("mode 1; busy 0; rows ...; summary ...; panel ..."), for drivers
// of the program ("ctl app weather").
struct WeatherReadout {
    std::wstring text;
};

class WeatherScreen final : public ui::Module {
  public:
    WeatherScreen(ui::ModuleHost& host, worldtime::Favourites& favourites,
                  std::shared_ptr<WeatherReadout> readout = {});
    ~WeatherScreen() override;

    void build() override;
    void show(bool visible, bool focusFirst) override;
    void controlChanged(ui::Control& control) override;
    bool controlPressed(ui::Control& control) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    bool commsMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                      platform::LParam lParam) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    // The edit state and its text, and a pending request, outlive a rotation.
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    int mode() const { return mode_; }
    int mapMode() const { return mapMode_; }
    bool isBusy() const { return busy_; }
    bool isEditing() const { return currentPage == 3; }
    bool isLooping() const { return looping_; }
    const std::wstring& cityCode() const { return code_; }
    // The data sets shown (none before loading).
    const WeatherData* listData() const { return list_.get(); }
    const WeatherData* currentData() const { return current_.get(); }
    const WeatherData* mapData() const { return map_.get(); }

    // Shows another mode (1 to 4), stores it and reloads; the same mode changes nothing.
    void setMode(int mode);
    void setMapMode(int mode);
    // Steps the current conditions' station by one row, wrapping round.
    void stepStation(int step);
    // The loop's next frame (the previous existing one).
    void stepLoop(bool forward);
    // Discards the data sets and reads the files again.
    void reload();

  private:
    void placeForMode();
    void loadForecast();
    void loadCurrent();
    void updateSummary();
    void loadMap();
    void updateMapText(bool loading);
    void startLoop();
    void stopLoop();
    void chooseModeButton();

    void update(bool thisCityOnly);
    void deleteOldData();
    void toggleTemperatureUnit();
    void toggleWindUnit();
    void toggleDayLabels();
    void enterEditState();
    void leaveEditState(bool store);
    void setBusy(bool busy);
    void updateMenu();
    int requestMask() const;
    std::wstring favouriteTitle() const;
    std::wstring favouriteField(int field) const;
    void updateReadout();

    ui::ModuleHost& host_;
    worldtime::Favourites& favourites_;
    std::shared_ptr<WeatherReadout> readout_;
    int mode_ = 1;
    int mapMode_ = mapMode::Forecast;
    std::wstring code_;
    std::wstring region_;
    Units units_;
    std::unique_ptr<WeatherData> list_;
    std::unique_ptr<WeatherData> current_;
    std::unique_ptr<WeatherData> map_;
    core::CommsRequestWatch request_;
    bool busy_ = false;
    bool looping_ = false;
    // Focus changes the screen makes itself choose no mode.
    bool settingFocus_ = false;
    std::array<ui::MenuEntry, 16> menu_{};
    std::size_t menuSize_ = 0;

    ui::Label* heading_ = nullptr;
    worldtime::BusyIndicator* busyIndicator_ = nullptr;
    std::array<ModeButton*, 3> listButtons_{};
    std::array<ModeButton*, 4> mapButtons_{};
    ForecastList* listControl_ = nullptr;
    SummaryLine* summary_ = nullptr;
    ConditionsPanel* panel_ = nullptr;
    MapPanel* mapPanel_ = nullptr;
    ui::EditField* source_ = nullptr;
};

}  // namespace weather
