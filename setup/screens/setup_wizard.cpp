#include "setup/screens/setup_wizard.h"

#include <any>

#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "platform/api/shell.h"
#include "setup/agreement.h"
#include "setup/home_city.h"
#include "setup/screens/wizard_layouts.h"
#include "setup/screens/wizard_pictures.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/module_ids.h"
#include "ui/option_list.h"
#include "worldtime/screens/city_lists.h"

namespace setup {

using namespace platform;

namespace {

// String numbers of the wizard's texts.
namespace text {
constexpr int Quit = 13, Cancel = 18, Finish = 116, Accept = 457, Back = 503, Next = 602,
              Search = 603, NoHomeCity = 605, DownloadNow = 606, CitiesTitle = 607, LookTitle = 609,
              LastTitle = 611;
}

// Fixed texts of the agreement page.
constexpr std::wstring_view kAgreementTitle = L"License Agreement";
constexpr std::wstring_view kAgreementHeading =
    L"Vorn Roamer License Agreement. Please read & accept the terms below.";

// "The update program could not be started."
constexpr int kCommsNotStarted = 713;
constexpr std::size_t kCityEntryLimit = 64;
constexpr int kTitlePoints = 8;

// The search results: the city screen's list, which tells the wizard of every tick so that
// the soft keys follow.
class TickList final : public worldtime::ResultListControl {
  public:
    using ResultListControl::ResultListControl;

    bool key(std::uint32_t message, std::uint32_t keyCode, LParam flags) override {
        bool used = ResultListControl::key(message, keyCode, flags);
        if (owner && message == wm::KeyDown)
            owner->controlChanged(*this);
        return used;
    }
    bool pointer(std::uint32_t message, WParam keys, Point point) override {
        bool used = ResultListControl::pointer(message, keys, point);
        if (owner && message == wm::LButtonDown)
            owner->controlChanged(*this);
        return used;
    }
};

struct WizardState {
    int step = wizardStep::Agreement;
    std::wstring entry;
    core::RecordTable results{worldtime::cityField::Count};
    int resultRow = 0;
    bool resultsShown = false;
    bool offerDownload = false;
    bool lookupPending = false;
    bool citySuggested = false;
};

}  // namespace

SetupWizard::SetupWizard(ui::ModuleHost& host, worldtime::Favourites& favourites, int previousId)
    : ui::Module(host),
      host_(host),
      favourites_(favourites),
      previousId_(previousId),
      database_(host.mainPath(), host.downloadPath(), favourites.table()),
      lookup_({[this](bool busy) { setBusy(busy); },
               [this](bool success) { lookupAnswered(success); }}) {}

SetupWizard::~SetupWizard() {
    if (WindowHandle window = host_.mainWindow()) {
        killTimer(window, kWizardPictureTimer);
        killTimer(window, kWizardBusyTimer);
    }
}

void SetupWizard::build() {
    const std::wstring& mainPath = host_.mainPath();
    ui::buildLayout(*this, wizardLayout(),
                    [&mainPath](const ui::LayoutRecord& r) -> std::unique_ptr<ui::Control> {
                        switch (r.type) {
                            case wizardLayoutType::Picture:
                                return std::make_unique<WizardPicture>(mainPath, r.first == 1);
                            case wizardLayoutType::ClockPreview:
                                return std::make_unique<ClockPreview>();
                            case wizardLayoutType::ResultList:
                                return std::make_unique<TickList>(mainPath);
                            case wizardLayoutType::BusyIndicator:
                                return std::make_unique<worldtime::BusyIndicator>(mainPath);
                            default:
                                return nullptr;
                        }
                    });
    title_ = findControl<ui::Label>(wizardControl::Title);
    title_->setOwnFont(kTitlePoints, true);
    findControl<ui::Label>(wizardControl::AgreementHeading)->setText(kAgreementHeading);
    agreement_ = findControl<ui::EditField>(wizardControl::Agreement);
    entry_ = findControl<ui::EditField>(wizardControl::CityEntry);
    entry_->setLimit(kCityEntryLimit);
    chosen_ = findControl<ui::Label>(wizardControl::Chosen);
    findControl<ui::Label>(wizardControl::LastHeading)->setBold(true);
    results_ = findControl<worldtime::ResultListControl>(wizardControl::Results);
    busyIndicator_ = findControl<worldtime::BusyIndicator>(wizardControl::Busy);
    for (int id : {wizardControl::AgreementPicture, wizardControl::CitiesPicture,
                   wizardControl::LookPicture, wizardControl::LastPicture}) {
        pictures_.push_back(findControl<WizardPicture>(id));
    }
    buildLookLists();
    bool accepted = core::settings::read(core::keys::WizardEULA) >= 3;
    enterStep(accepted ? wizardStep::Cities : wizardStep::Agreement);
}

void SetupWizard::show(bool visible, bool focusFirst) {
    ui::Module::show(visible, focusFirst);
    WindowHandle window = host_.mainWindow();
    if (!visible && window)
        killTimer(window, kWizardPictureTimer);
}

void SetupWizard::startTimers() {
    if (WindowHandle window = host_.mainWindow())
        setTimer(window, kWizardPictureTimer, kWizardPictureIntervalMs);
    if (core::isCommsRunning())
        setBusy(true);
}

std::span<const ui::MenuEntry> SetupWizard::menuEntries() const {
    return softKeys_;
}

void SetupWizard::updateSoftKeys() {
    int left = text::Back, right = text::Next;
    switch (step_) {
        case wizardStep::Agreement:
            left = text::Quit;
            right = text::Accept;
            break;
        case wizardStep::Cities:
            left = text::Cancel;
            if (!(resultsShown_ && hasTickedResult()) && !entry_->text().empty())
                right = text::Search;
            break;
        case wizardStep::LastPage:
            right = text::Finish;
            break;
        default:
            break;
    }
    using ui::menuKind::Left;
    using ui::menuKind::Right;
    using ui::menuParent::SoftKey;
    std::vector<ui::MenuEntry> keys = {
        {Left, SoftKey, ui::command::LeftSoftKey, static_cast<std::uint32_t>(left)},
        {Right, SoftKey, ui::command::RightSoftKey, static_cast<std::uint32_t>(right)},
    };
    if (!softKeys_.empty() && softKeys_[0].stringNumber == keys[0].stringNumber &&
        softKeys_[1].stringNumber == keys[1].stringNumber) {
        return;
    }
    softKeys_ = std::move(keys);
    // Until the module is shown, the application sets the bar from menuEntries() itself.
    if (isActive && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

void SetupWizard::enterStep(int step) {
    step_ = step;
    setPage(step);
    switch (step) {
        case wizardStep::Agreement:
            title_->setText(kAgreementTitle);
            showAgreement();
            break;
        case wizardStep::Cities:
            core::settings::write(core::keys::WizardDone, 1);
            title_->setText(core::languageString(text::CitiesTitle));
            // The host's own city, found with one tap on Search.
            if (!citySuggested_ && entry_->text().empty())
                entry_->setText(suggestedHomeCity(host_.mainPath()));
            citySuggested_ = true;
            showResults(false);
            setFocusedControl(entry_, isActive);
            break;
        case wizardStep::Look:
            title_->setText(core::languageString(text::LookTitle));
            setFocusedControl(findControl(wizardControl::ClockFaces), isActive);
            break;
        default:
            title_->setText(core::languageString(text::LastTitle));
            break;
    }
    updateSoftKeys();
    invalidate(false);
}

void SetupWizard::showAgreement() {
    agreement_->setText(agreementText(agreementPath(host_.mainPath())));
    showSip(false);
    showResults(false);
    setFocusedControl(agreement_, isActive);
}

void SetupWizard::controlChanged(ui::Control& control) {
    if (&control == entry_ || &control == results_)
        updateSoftKeys();
    else if (auto* list = dynamic_cast<ui::OptionList*>(&control))
        lookChosen(*list);
}

bool SetupWizard::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Return)
        return false;
    // Enter in the city entry searches; on the last page it finishes.
    bool searches = step_ == wizardStep::Cities && focusedControl() == entry_;
    if (!searches && step_ != wizardStep::LastPage)
        return false;
    if (message == wm::KeyDown && !finishing_) {
        if (searches)
            search();
        else
            finish();
    }
    return true;
}

bool SetupWizard::command(std::uint32_t commandId, std::intptr_t) {
    if (finishing_)
        return true;
    switch (commandId) {
        case ui::command::LeftSoftKey:
            if (step_ == wizardStep::Agreement)
                host_.quit();
            else
                backward();
            return true;
        case ui::command::RightSoftKey:
            if (step_ == wizardStep::Agreement) {
                core::settings::write(core::keys::WizardEULA, 3);
                enterStep(wizardStep::Cities);
            } else {
                forward();
            }
            return true;
        case wizardCommand::ToggleTick:
            toggleTick();
            return true;
        case ui::command::Back:
            // Back closes the results or goes a step back; it never declines the agreement.
            if (step_ == wizardStep::Cities && resultsShown_)
                showResults(false);
            else if (step_ != wizardStep::Agreement)
                backward();
            return true;
        default:
            return false;
    }
}

void SetupWizard::forward() {
    switch (step_) {
        case wizardStep::Cities:
            if (resultsShown_ && hasTickedResult())
                addTickedCities();
            else if (!entry_->text().empty())
                search();
            else
                enterStep(wizardStep::Look);
            break;
        case wizardStep::Look:
            enterStep(wizardStep::LastPage);
            break;
        default:
            finish();
            break;
    }
}

void SetupWizard::backward() {
    if (step_ == wizardStep::Cities)
        finish();
    else
        enterStep(step_ - 1);
}

void SetupWizard::finish() {
    ui::ModuleHost& host = host_;
    if (favourites_.table().currentRow() == 0 &&
        core::showMessageBox(core::languageString(text::NoHomeCity), host.programName(),
                             mb::YesNo | mb::IconQuestion) != id::Yes) {
        return;
    }
    if (offerDownload_ && !core::isCommsRunning() &&
        core::showMessageBox(core::languageString(text::DownloadNow), host.programName(),
                             mb::YesNo | mb::IconQuestion) == id::Yes) {
        if (!core::sendCommsRequest(core::formatText(L"/manual %d", kDownloadAllRequest)))
            showMessage(kCommsNotStarted);
    }
    finishing_ = true;
    host.replaceModuleLater(moduleAfterwards());
}

int SetupWizard::moduleAfterwards() const {
    if (previousId_ >= 1 && previousId_ != ui::moduleId::SetupWizard &&
        previousId_ != ui::moduleId::Quit) {
        return previousId_;
    }
    // Opened at start-up: the start screen the program would have shown.
    int start = core::settings::read(core::keys::OptStartScreen);
    return start == 1 ? ui::moduleId::Home : start;
}

void SetupWizard::timer(std::uintptr_t id) {
    if (id == kWizardPictureTimer) {
        for (WizardPicture* picture : pictures_) {
            if (picture && picture->isLive(currentPage))
                picture->step();
        }
        if (step_ == wizardStep::Agreement && focusedControl() != agreement_)
            setFocusedControl(agreement_, true);
    } else if (id == kWizardBusyTimer) {
        busyIndicator_->step();
        lookup_.withdrawIfGone();
    } else {
        ui::Module::timer(id);
    }
}

std::any SetupWizard::saveState() const {
    WizardState state;
    state.step = step_;
    state.entry = entry_->text();
    if (const core::RecordTable* shown = results_->table())
        state.results.copyFrom(*shown);
    state.resultRow = results_->currentRow();
    state.resultsShown = resultsShown_;
    state.offerDownload = offerDownload_;
    state.lookupPending = lookup_.pending();
    state.citySuggested = citySuggested_;
    return state;
}

void SetupWizard::restoreState(const std::any& saved) {
    const auto* state = std::any_cast<WizardState>(&saved);
    if (!state)
        return;
    offerDownload_ = state->offerDownload;
    lookup_.carryOn(state->lookupPending);
    // The entry is the old screen's, suggestion or not.
    citySuggested_ = state->citySuggested || state->step == wizardStep::Cities;
    if (state->step != step_)
        enterStep(state->step);
    entry_->setText(state->entry);
    if (state->resultsShown) {
        database_.results().copyFrom(state->results);
        showResults(true);
        results_->selectRow(state->resultRow, false);
    }
    updateSoftKeys();
}

}  // namespace setup
