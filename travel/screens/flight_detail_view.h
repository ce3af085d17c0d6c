#pragma once
// The detail view of a saved flight: "Flight 1 of 2" with arrows when the file holds more
// than one, then the departure, the status and the arrival as label and value lines. A tap
// on the arrows steps through the flights; a tap elsewhere scrolls a view too short for all
// lines.

#include <functional>

#include "travel/flight_file.h"
#include "ui/control.h"
#include "ui/list_control.h"

namespace travel {

class FlightDetailView final : public ui::Control {
  public:
    FlightDetailView();

    // Shows the file's flights from the first; an empty file shows "No flight data.".
    void setFile(FlightFile file);
    void clear();
    const FlightFile& file() const { return file_; }
    int flight() const { return flight_; }
    // Steps to the next or previous flight, wrapping; false with fewer than two.
    bool step(int by);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    int lineHeight() const;
    int linesFitting() const;
    int totalLines() const;

    FlightFile file_;
    std::vector<FlightDetailLine> lines_;
    int flight_ = 0;
    int scroll_ = 0;
    bool loaded_ = false;
};

// The saved-flights list: Left and Right go to the detail view's flights instead of the list.
class SavedFlightList final : public ui::ListControl {
  public:
    std::function<void(int step)> onSideways;

    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
};

}  // namespace travel
