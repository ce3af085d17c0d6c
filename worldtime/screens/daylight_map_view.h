#pragma once
// The daylight map as a control: the composed map picture with the favourites' markers, and
// the pulsing ring around the current favourite, whose frames repaint only the ring's patch.

#include <functional>
#include <vector>

#include "ui/control.h"
#include "worldtime/daylight_map.h"

namespace worldtime {

class DaylightMapView final : public ui::Control {
  public:
    DaylightMapView();

    // Loads the pictures at the control's size; false when the map picture is missing.
    bool load(std::wstring_view mainPath, double scale);
    // Moves the sun to a UTC moment; repaints the picture and the markers when the boundary
    // moved. True when it repainted.
    bool update(const platform::SystemTime& utc);
    // The favourites to mark (in favourites order) and the current one (a 1-based row, 0 for
    // none).
    void setCities(std::vector<MapCity> cities, int current);
    int current() const { return current_; }
    const DaylightMap& map() const { return map_; }

    // A favourite's point on the screen.
    platform::Point cityPoint(int row) const;
    // The favourite whose marker is nearest to a point within reach; 0 for none.
    int cityAt(platform::Point point) const;
    // Where the ring of the current favourite is drawn on the screen; empty without one.
    platform::Rect ringRect() const;
    int frame() const { return frame_; }
    // The next frame of the ring; invalidates only the ring's patch.
    void advancePulse();

    // A tap on a favourite's marker.
    std::function<void(int row)> onCityTapped;

    bool canTakeFocus() const override { return false; }
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    void repaintMarkers();

    DaylightMap map_;
    std::vector<MapCity> cities_;
    int current_ = 0;
    int frame_ = 1;
    double scale_ = 1.0;
};

}  // namespace worldtime
