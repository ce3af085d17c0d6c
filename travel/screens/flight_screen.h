#pragma once
// The flight status screen (module 51): the saved flights (the comms program's answers in
// the download folder) under a new-query row. The new-query row shows the query form
// (airline, flight number, yesterday, today or tomorrow); a saved flight shows its detail
// and can be refreshed or deleted. While the comms program works the screen shows the busy
// animation and the query command cancels it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/comms_request.h"
#include "core/record_table.h"
#include "ui/module.h"

namespace worldtime {
class BusyIndicator;
}

namespace ui {
class ListControl;
}

namespace travel {

struct FlightHandoff;
struct TravelReadout;
class FlightDetailView;

namespace flightId {
constexpr int List = 1, AirlineLabel = 2, Airline = 3, NumberLabel = 4, Number = 5, DayLabel = 6,
              Day = 7, QueryButton = 8, DataTime = 9, Detail = 10, Busy = 11;
}
namespace flightCommand {
constexpr std::uint16_t Query = 101, Delete = 102;
}
// The pages of the screen: the query form and a saved flight's detail.
namespace flightPage {
constexpr int Form = 0, Detail = 1;
}
constexpr std::uintptr_t kFlightBusyTimer = 4002;
constexpr std::uint32_t kFlightBusyIntervalMs = 300;

class FlightScreen final : public ui::Module {
  public:
    FlightScreen(ui::ModuleHost& host, std::shared_ptr<FlightHandoff> handoff,
                 std::shared_ptr<TravelReadout> readout);
    ~FlightScreen() override;

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool controlPressed(ui::Control& control) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    bool commsMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                      platform::LParam lParam) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // Reads the download folder again and selects the flight file of the name (the current
    // row's when empty; the new-query row when it is gone).
    void reloadList(std::wstring_view select);
    // Makes a row current and shows its form or detail.
    void selectRow(int row);
    // Sends the query of the form or refreshes the saved flight; false when nothing was sent.
    bool requestFlight();
    // Asks, then deletes the current saved flight.
    void deleteFlight();
    bool isBusy() const { return busy_; }
    const core::RecordTable& savedFlights() const { return saved_; }
    FlightDetailView* detail() const { return detail_; }

  private:
    struct SavedState {
        std::wstring file;
        bool pending;
    };

    bool onSavedFlight() const;
    void setBusy(bool busy);
    void answered(bool success);
    void takeHandoff();
    void updateMenu();
    void updateReadout();
    void showMessage(int stringNumber) const;

    ui::ModuleHost& host_;
    std::shared_ptr<FlightHandoff> handoff_;
    std::shared_ptr<TravelReadout> readout_;
    core::RecordTable airlines_;
    core::RecordTable saved_;
    core::RecordTable days_;
    core::CommsRequestWatch request_;
    ui::ListControl* list_ = nullptr;
    FlightDetailView* detail_ = nullptr;
    worldtime::BusyIndicator* busyIndicator_ = nullptr;
    bool busy_ = false;
    std::array<ui::MenuEntry, 6> menu_{};
    std::size_t menuSize_ = 0;
};

}  // namespace travel
