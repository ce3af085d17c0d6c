#pragma once
// The city screen (module 98): the full city list with a live filter, favourites marked and
// the selected city's details (view 1); the editor of a city's name and zone (view 2); and the
// cities a search found, to be ticked and added as favourites (view 3). Searches look in the
// local list first and then ask the comms program.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/comms_request.h"
#include "core/record_table.h"
#include "ui/list_model.h"
#include "ui/module.h"
#include "worldtime/cities.h"
#include "worldtime/favourites.h"

namespace ui {
class EditField;
class ListControl;
class TextButton;
}  // namespace ui

namespace worldtime {

class BusyIndicator;
class CityDetailPanel;
class CityListControl;
class ResultListControl;

// Menu commands of the list view.
namespace cityCommand {
constexpr std::uint16_t SortByName = 9801, SortByCountry = 9802, SortByZone = 9803,
                        FavouritesOnly = 9804, EditCity = 9805, FindCity = 9806,
                        SearchServer = 9807, ToggleFavourite = 9808, Done = 9809;
}

// Timers of the screen.
constexpr std::uintptr_t kCityClockTimer = 4001;
constexpr std::uintptr_t kCityBusyTimer = 4002;
constexpr std::uint32_t kCityBusyIntervalMs = 300;

class CityScreen final : public ui::Module {
  public:
    CityScreen(ui::ModuleHost& host, Favourites& favourites, int previousId);
    ~CityScreen() override;

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
    // The filter text, the selected city and an unfinished edit outlive a rotation.
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    int view() const { return currentPage; }
    int previousId() const { return previousId_; }
    CityDatabase& database() { return database_; }
    bool isBusy() const { return busy_; }
    // The code of the selected city; empty when the list is empty.
    std::wstring selectedCode() const;

  private:
    void showView(int view);
    void enterListView(bool reload);
    void enterEditView();
    void enterAddView(int headingString);
    void refreshList();
    void updateDetails();
    void updateListMenu();
    void selectCode(std::wstring_view code);

    void toggleFavourite();
    void setSortMode(int mode);
    void search();
    void lookUp();
    void confirmEdit();
    void confirmAdd();
    void lookupAnswered(bool success);
    void setBusy(bool busy);
    void showMessage(int stringNumber);
    void focusFilter();
    void leave();

    ui::ModuleHost& host_;
    int previousId_;
    CityDatabase database_;
    // The zone table as the editor's list shows it, with the list's own current row.
    ui::RecordTableListModel zoneRows_;
    std::array<ui::MenuEntry, 16> listMenu_{};
    std::size_t listMenuSize_ = 0;
    core::CommsRequestWatch lookup_;
    bool busy_ = false;
    bool timersRunning_ = false;

    ui::EditField* filter_ = nullptr;
    BusyIndicator* busyIndicator_ = nullptr;
    ui::TextButton* searchButton_ = nullptr;
    CityListControl* list_ = nullptr;
    CityDetailPanel* details_ = nullptr;
    ui::TextButton* favouriteButton_ = nullptr;
    ui::EditField* nameEdit_ = nullptr;
    ui::ListControl* zoneList_ = nullptr;
    ResultListControl* results_ = nullptr;
};

}  // namespace worldtime
