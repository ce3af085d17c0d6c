#pragma once
// The daylight map screen (module 21): the world map with the sunlit half bright and the
// other half dark, the favourites marked and the current one ringed, and a panel with the
// current favourite's local date and time, coordinates, sunrise and sunset. Left and Right
// step through the favourites; a tap on a marker makes that city the current one.

#include <cstdint>

#include "ui/module.h"
#include "worldtime/favourites.h"
#include "worldtime/screens/screen_timers.h"
#include "worldtime/world_clock.h"

namespace worldtime {

class DaylightMapView;

namespace daylightMapId {
constexpr int Map = 1, Name = 2, Time = 3, Date = 4, Coordinates = 5, Sunrise = 6, Sunset = 7,
              Empty = 8, Change = 9;
}

class DaylightMapScreen final : public ui::Module {
  public:
    DaylightMapScreen(ui::ModuleHost& host, Favourites& favourites);
    ~DaylightMapScreen() override;

    void build() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    void skinChanged(bool redraw) override;
    std::span<const ui::MenuEntry> menuEntries() const override;

    DaylightMapView* mapView() const { return map_; }
    // The one-line date and time of the compact layouts (landscape and square).
    bool compact() const { return compact_; }
    // Makes a favourite the current city and shows it.
    bool makeCurrent(int row);
    // Recomputes the sun and the panel for the present time.
    void refresh();

  private:
    void refreshPanel();
    void setText(int id, const std::wstring& text);

    ui::ModuleHost& host_;
    Favourites& favourites_;
    DaylightMapView* map_ = nullptr;
    bool compact_ = false;
    platform::Rect nameBar_;
    MinuteCheck minuteCheck_;
};

}  // namespace worldtime
