// The wizard's cities step: the local search of the city list, the remote look-up through the
// comms program when that finds nothing, and adding the ticked cities as favourites. The city
// database does the searching and adding, as it does for the city screen.

#include "core/comms.h"
#include "core/language.h"
#include "core/message_box.h"
#include "platform/api/window.h"
#include "setup/screens/setup_wizard.h"
#include "setup/screens/wizard_layouts.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "worldtime/screens/city_lists.h"

namespace setup {

using namespace platform;

namespace {

namespace text {
constexpr int NothingFound = 600, NoCitiesToAdd = 108, NotStarted = 713;
}

}  // namespace

bool SetupWizard::hasTickedResult() const {
    const core::RecordTable* shown = results_->table();
    if (!shown)
        return false;
    for (int row = 1; row <= shown->rowCount(); ++row) {
        if (worldtime::isTicked(*shown, row))
            return true;
    }
    return false;
}

void SetupWizard::showResults(bool shown) {
    core::RecordTable& found = database_.results();
    if (shown && found.empty())
        shown = false;
    resultsShown_ = shown;
    if (shown) {
        results_->setTable(&found);
        results_->selectRow(1, false);
    }
    results_->show(shown, true);
    if (!shown)
        updateChosenCities();
    chosen_->show(!shown, true);
    if (shown && step_ == wizardStep::Cities)
        setFocusedControl(results_, isActive);
    updateSoftKeys();
}

void SetupWizard::updateChosenCities() {
    const core::RecordTable& favourites = favourites_.table();
    std::wstring names;
    for (int row = 1; row <= favourites.rowCount(); ++row) {
        if (!names.empty())
            names += L", ";
        names += favourites.fieldText(row, worldtime::cityField::Name);
    }
    chosen_->setText(names);
}

void SetupWizard::search() {
    // While the comms program works, a search asks it to stop and does nothing else.
    if (core::isCommsRunning()) {
        core::cancelComms();
        return;
    }
    switch (database_.searchLocal(entry_->text())) {
        case worldtime::SearchOutcome::Found:
            showResults(true);
            break;
        case worldtime::SearchOutcome::NeedsRemote:
            lookUp();
            break;
        case worldtime::SearchOutcome::EmptyText:
            setFocusedControl(entry_, true);
            break;
    }
}

void SetupWizard::lookUp() {
    switch (database_.requestLookup(entry_->text())) {
        case worldtime::LookupOutcome::Started:
            lookup_.sent();
            break;
        case worldtime::LookupOutcome::Cancelled:
            lookup_.withdrawn();
            break;
        case worldtime::LookupOutcome::EmptyText:
            setFocusedControl(entry_, true);
            break;
        case worldtime::LookupOutcome::NotStarted:
            showMessage(text::NotStarted);
            break;
    }
}

bool SetupWizard::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    return lookup_.report(wParam, lParam);
}

void SetupWizard::lookupAnswered(bool success) {
    if (success && database_.loadSearchResults()) {
        showResults(true);
        return;
    }
    showMessage(text::NothingFound);
}

void SetupWizard::addTickedCities() {
    if (!database_.addSearchResultsFromView()) {
        showMessage(text::NoCitiesToAdd);
        return;
    }
    offerDownload_ = true;
    // The entry is emptied so that the right soft key moves on rather than searching again.
    entry_->setText(L"");
    showResults(false);
    setFocusedControl(entry_, true);
}

void SetupWizard::toggleTick() {
    if (step_ != wizardStep::Cities || !resultsShown_)
        return;
    if (results_->toggle(results_->currentRow()))
        updateSoftKeys();
}

void SetupWizard::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    busyIndicator_->animate(busy, kWizardBusyTimer, kWizardBusyIntervalMs);
}

void SetupWizard::showMessage(int stringNumber) {
    core::showExclamation(core::languageString(stringNumber), host_.programName());
}

}  // namespace setup
