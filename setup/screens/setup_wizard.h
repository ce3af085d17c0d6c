#pragma once
// The set-up wizard (module 13): the user agreement (step 4), the user's cities (step 0), the
// look (step 1) and a last page (step 2); then the wizard hands over to the screen that was
// live before it, offering to download the new cities' data at once. Declining the agreement
// ends the program. The program opens on it until the agreement is accepted and the cities
// step was reached (WizardEULA, WizardDone).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/comms_request.h"
#include "core/record_table.h"
#include "ui/module.h"
#include "worldtime/cities.h"
#include "worldtime/favourites.h"

namespace ui {
class EditField;
class Label;
class OptionList;
}  // namespace ui

namespace worldtime {
class BusyIndicator;
class ResultListControl;
}  // namespace worldtime

namespace setup {

class WizardPicture;

// Commands of the wizard besides the soft keys.
namespace wizardCommand {
constexpr std::uint32_t ToggleTick = 102;
}

// Timers of the wizard.
constexpr std::uintptr_t kWizardPictureTimer = 4008;
constexpr std::uint32_t kWizardPictureIntervalMs = 100;
constexpr std::uintptr_t kWizardBusyTimer = 4002;
constexpr std::uint32_t kWizardBusyIntervalMs = 300;

// The request that downloads the data of every city after the wizard added cities.
constexpr int kDownloadAllRequest = 14;

class SetupWizard final : public ui::Module {
  public:
    SetupWizard(ui::ModuleHost& host, worldtime::Favourites& favourites, int previousId);
    ~SetupWizard() override;

    void build() override;
    void show(bool visible, bool focusFirst) override;
    void controlChanged(ui::Control& control) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool command(std::uint32_t commandId, std::intptr_t data) override;
    void timer(std::uintptr_t id) override;
    void startTimers() override;
    bool commsMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                      platform::LParam lParam) override;
    std::span<const ui::MenuEntry> menuEntries() const override;
    // The step, the city entry, the search results and whether cities were added outlive a
    // rotation.
    std::any saveState() const override;
    void restoreState(const std::any& state) override;

    int step() const { return step_; }
    int previousId() const { return previousId_; }
    bool resultsShown() const { return resultsShown_; }
    bool offersDownload() const { return offerDownload_; }
    bool isBusy() const { return busy_; }
    worldtime::CityDatabase& database() { return database_; }

  private:
    void enterStep(int step);
    void showAgreement();
    void updateSoftKeys();
    void forward();
    void backward();
    void finish();
    int moduleAfterwards() const;

    // The cities step (wizard_cities.cpp).
    bool hasTickedResult() const;
    void showResults(bool shown);
    void updateChosenCities();
    void search();
    void lookUp();
    void addTickedCities();
    void toggleTick();
    void lookupAnswered(bool success);
    void setBusy(bool busy);
    void showMessage(int stringNumber);

    // The look step (wizard_look.cpp).
    void buildLookLists();
    void lookChosen(ui::OptionList& list);

    ui::ModuleHost& host_;
    worldtime::Favourites& favourites_;
    int previousId_;
    // The city of the host's zone goes into the empty entry when the cities step first opens.
    bool citySuggested_ = false;
    worldtime::CityDatabase database_;
    std::vector<ui::MenuEntry> softKeys_;
    int step_ = -1;
    bool resultsShown_ = false;
    bool offerDownload_ = false;
    core::CommsRequestWatch lookup_;
    bool busy_ = false;
    bool finishing_ = false;

    ui::Label* title_ = nullptr;
    ui::EditField* agreement_ = nullptr;
    ui::EditField* entry_ = nullptr;
    ui::Label* chosen_ = nullptr;
    worldtime::ResultListControl* results_ = nullptr;
    worldtime::BusyIndicator* busyIndicator_ = nullptr;
    std::vector<WizardPicture*> pictures_;
};

}  // namespace setup
