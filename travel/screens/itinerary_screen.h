#pragma once
// The itinerary (module 54): the list of trips, a trip's agenda, the editor of an entry and the
// form that names a new trip, one at a time. Each lives on a page of its own controls; the
// soft keys and the Options menu change with the page. Back goes from the editor to the
// agenda and from the agenda to the trip list.

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "travel/trip_agenda.h"
#include "travel/trip_file.h"
#include "ui/module.h"

namespace ui {
class DateTimePicker;
class DropDown;
class EditField;
class Label;
class TextButton;
}  // namespace ui

namespace travel {

class AgendaList;
class TripList;

// What the screen keeps while the program runs: which page shows what, for rebuilding it on
// rotation and for drivers of the program ("ctl app itinerary").
struct ItineraryState {
    enum class View { Trips, Agenda, Editor, NewTrip };
    View view = View::Trips;
    std::wstring trip;  // the open trip
    int entry = 0;      // the entry being edited, from 1; 0 a new one
    EntryKind kind = EntryKind::Note;
    int tripRow = 1;
    int agendaRow = 0;
    std::wstring readout;
};

namespace itineraryCommand {
// Trip list.
constexpr std::uint32_t NewTrip = 120, OpenTrip = 121, DeleteTrip = 122;
// Agenda (new entries are 120 to 125 by kind).
constexpr std::uint32_t Edit = 103, DeleteEntry = 104, ShowInCalendar = 108;
}  // namespace itineraryCommand

class ItineraryScreen final : public ui::Module {
  public:
    ItineraryScreen(ui::ModuleHost& host, std::shared_ptr<ItineraryState> state);
    ~ItineraryScreen() override;

    void build() override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    bool controlPressed(ui::Control& control) override;
    std::span<const ui::MenuEntry> menuEntries() const override;

    ItineraryState::View view() const { return state_->view; }
    const std::optional<Trip>& trip() const { return trip_; }
    TripList& tripList() const { return *tripList_; }
    AgendaList& agenda() const { return *agenda_; }

  private:
    void buildTripPage();
    void buildAgendaPage();
    void buildEditorPages();
    void buildNewTripPage();
    void placeControls();
    void showView(ItineraryState::View view);
    void refreshMenu();
    void updateReadout();

    void reloadTrips();
    void openTrip(const std::wstring& name);
    void reloadAgenda();
    void deleteTrip();
    bool createTrip();

    void editEntry(int entry, std::optional<EntryKind> newKind);
    void fillEditor(const TripEntry& entry);
    bool saveEditor();
    void deleteEntry();
    void showInCalendar();

    ui::ModuleHost& host_;
    std::shared_ptr<ItineraryState> state_;
    std::optional<Trip> trip_;
    TripEntry editing_;
    AirlineCodes airlines_;
    std::vector<ui::MenuEntry> menu_;

    TripList* tripList_ = nullptr;
    ui::Label* agendaTitle_ = nullptr;
    AgendaList* agenda_ = nullptr;
    ui::Label* agendaEmpty_ = nullptr;
    ui::Label* editorTitle_ = nullptr;
    ui::Label* startLabel_ = nullptr;
    ui::Label* endLabel_ = nullptr;
    ui::Label* reminderLabel_ = nullptr;
    ui::DateTimePicker* startDate_ = nullptr;
    ui::DateTimePicker* startTime_ = nullptr;
    ui::DateTimePicker* endDate_ = nullptr;
    ui::DateTimePicker* endTime_ = nullptr;
    ui::DropDown* reminder_ = nullptr;
    std::vector<ui::Label*> fieldLabels_;
    std::vector<ui::EditField*> fieldEdits_;
    ui::TextButton* more_ = nullptr;
    ui::TextButton* less_ = nullptr;
    ui::Label* nameLabel_ = nullptr;
    ui::EditField* name_ = nullptr;
    ui::Label* iconLabel_ = nullptr;
    ui::DropDown* icon_ = nullptr;
};

}  // namespace travel
