#pragma once
// The airport and airline codes screen (module 52): the airport table by letter tab, sorted
// by code, airport or city, with the current airport in full below the list; or the airline
// table, from which the flight status screen opens for the chosen airline. A missing table
// shows an empty list.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/record_table.h"
#include "travel/screens/airport_list.h"
#include "ui/module.h"

namespace worldtime {
class LetterGroupBar;
}

namespace travel {

struct FlightHandoff;
struct TravelReadout;

namespace codesId {
constexpr int Tabs = 1, List = 2, Empty = 3, Detail = 4;
}
namespace codesCommand {
constexpr std::uint16_t SortByCode = 101, SortByAirport = 102, SortByCity = 103,
                        ToggleAirlines = 104, FlightStatus = 105;
}

class AirportScreen final : public ui::Module {
  public:
    AirportScreen(ui::ModuleHost& host, std::shared_ptr<FlightHandoff> handoff,
                  std::shared_ptr<TravelReadout> readout);

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    // Shows a tab (1 to 10) with the first row starting with the text current (row 1 when
    // none does).
    void showTab(int tab, std::wstring_view typed);
    // Goes to the first row starting with the text, in the tab of its first letter.
    void goToTyped(std::wstring_view typed);
    void setSortField(int field);
    void setMode(CodesMode mode);
    // Opens the flight status screen for the current airline.
    bool openFlightStatus();

    int tab() const;
    int sortField() const { return sortField_; }
    CodesMode mode() const { return mode_; }
    const AirportRowsModel& rows() const { return rows_; }
    AirportList* list() const { return list_; }

  private:
    struct SavedState {
        CodesMode mode;
        int sortField;
        int tab;
        int row;
    };

    const core::RecordTable& all() const;
    int listedField() const;
    void selectionChanged();
    void sortChanged();
    void updateMenu();
    void updateReadout();

    ui::ModuleHost& host_;
    std::shared_ptr<FlightHandoff> handoff_;
    std::shared_ptr<TravelReadout> readout_;
    core::RecordTable airports_;
    core::RecordTable airlines_;
    AirportRowsModel rows_;
    // The tab of each row of the shown table by the field it is sorted on.
    std::vector<std::uint8_t> rowTabs_;
    CodesMode mode_ = CodesMode::Airports;
    int sortField_ = 1;
    worldtime::LetterGroupBar* tabs_ = nullptr;
    AirportList* list_ = nullptr;
    CodesDetail* detail_ = nullptr;
    std::array<ui::MenuEntry, 10> menu_{};
    std::size_t menuSize_ = 0;
};

}  // namespace travel
