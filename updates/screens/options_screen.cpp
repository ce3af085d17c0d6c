#include "updates/screens/options_screen.h"

#include <string>

#include "core/language.h"
#include "core/message_box.h"
#include "core/settings.h"
#include "home/screens/layout_preview.h"
#include "platform/api/clock.h"
#include "platform/api/shell.h"
#include "ui/label.h"
#include "ui/module_ids.h"
#include "ui/option_list.h"
#include "updates/option_model.h"
#include "updates/screens/filter_check_list.h"
#include "updates/screens/options_layout.h"
#include "updates/screens/page_button.h"
#include "updates/settings_keys.h"
#include "updates/update_status.h"

namespace updates {
namespace {

using namespace optionsControl;

constexpr int kTitlePoints = 10;
constexpr int kMainTitle = 375, kLanguageNotice = 458;
constexpr int kPageTitles[] = {376, 402, 410, 481, 422};
constexpr const wchar_t* kButtonPictures[] = {
    L"graphics2\\opts_general.tga",     L"graphics2\\opts_themes.tga",
    L"graphics2\\opts_today.tga",       L"graphics2\\opts_downloads.tga",
    L"graphics2\\opts_autoupdates.tga", L"graphics2\\wizard.tga"};
// The OptionsScreen value of each main-page button (10 to 14 the pages, 15 the wizard).
constexpr int kFirstRemembered = 10;

constexpr std::uint16_t kBackText = 503, kMenuText = 16, kOptionsText = 375;
constexpr std::uint16_t kMenuTexts[] = {505, 506, 507, 509, 510};
constexpr std::uint16_t kWizardText = 504;

}  // namespace

OptionsScreen::OptionsScreen(ui::ModuleHost& host) : ui::Module(host), host_(host) {}

void OptionsScreen::build() {
    const std::wstring& mainPath = host_.mainPath();
    ui::buildLayout(*this, optionsLayout(),
                    [&mainPath](const ui::LayoutRecord& r) -> std::unique_ptr<ui::Control> {
                        if (r.type == optionsLayoutType::PageButton)
                            return std::make_unique<PageButton>(
                                mainPath, kButtonPictures[r.id - FirstButton]);
                        if (r.type == optionsLayoutType::FilterList)
                            return std::make_unique<FilterCheckList>(mainPath);
                        if (r.type == optionsLayoutType::Preview)
                            return std::make_unique<home::LayoutPreview>(mainPath);
                        return nullptr;
                    });
    title_ = findControl<ui::Label>(Title);
    title_->setOwnFont(kTitlePoints, true);
    filter_ = findControl<FilterCheckList>(FilterList);
    status_ = findControl<ui::Label>(StatusBox);
    preview_ = findControl<home::LayoutPreview>(Preview);
    fillLists();
    // The main page opens with the button of the page last opened from it in focus.
    currentPage = page::Main;
    openPage(page::Main);
}

void OptionsScreen::fillLists() {
    const std::wstring& mainPath = host_.mainPath();
    const auto specs = optionSpecs();
    for (std::size_t k = 0; k < specs.size(); ++k) {
        const OptionSpec& spec = specs[k];
        auto choices = optionChoices(spec, mainPath);
        std::wstring value = optionValue(spec, mainPath, choices);
        if (spec.source == RowSource::FilterBits) {
            std::vector<FilterCheckList::Row> rows;
            for (const auto& c : choices) rows.push_back({c.label, std::stoi(c.stored)});
            filter_->setRows(std::move(rows));
            filter_->setMask(std::stoi(value));
            continue;
        }
        auto* list = findControl<ui::OptionList>(static_cast<int>(FirstList + k));
        if (!list)
            continue;
        list->adoptTable(std::make_unique<core::RecordTable>(2));
        for (const auto& c : choices) list->addOption(c.label, c.stored);
        if (!choices.empty())
            list->selectValue(choices[rowOfValue(choices, value)].stored);
    }
    // The end hour means nothing without a start hour.
    if (const OptionSpec* start = findOption(keys::OptSchedStartTime.name)) {
        bool window = optionValue(*start, mainPath) != L"-1";
        std::size_t end =
            static_cast<std::size_t>(findOption(keys::OptSchedEndTime.name) - specs.data());
        if (auto* list = findControl<ui::OptionList>(static_cast<int>(FirstList + end))) {
            list->isEnabled = window;
            list->invalidate();
        }
    }
    refreshStatus();
}

void OptionsScreen::refreshStatus() {
    std::wstring text;
    for (const auto& line : updateStatusLines(platform::deviceLocalTime())) {
        if (!text.empty())
            text += L"\n";
        text += line;
    }
    status_->setText(text);
}

void OptionsScreen::show(bool visible, bool focusFirst) {
    ui::Module::show(visible, focusFirst);
    if (!visible)
        return;
    updateMenu();
    // The main page opens with the button of the page last opened from it in focus.
    if (focusFirst && page_ == page::Main) {
        int remembered = core::settings::read(keys::OptionsScreen);
        if (auto* button = findControl(FirstButton + remembered - kFirstRemembered))
            setFocusedControl(button, false);
    }
}

void OptionsScreen::openPage(int pageId) {
    page_ = pageId;
    title_->setText(core::languageString(
        pageId == page::Main ? kMainTitle : kPageTitles[pageId - page::General]));
    if (pageId == page::AutomaticUpdates)
        refreshStatus();
    if (pageId == page::Home && preview_)
        rebuildPreview();
    setPage(pageId);
    updateMenu();
}

void OptionsScreen::rebuildPreview() {
    platform::setWaitCursor(true);
    preview_->rebuild();
    platform::setWaitCursor(false);
}

void OptionsScreen::updateMenu() {
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    menu_ = {{kind::Left, parent::SoftKey, ui::command::LeftSoftKey,
              page_ == page::Main ? kMenuText : kBackText},
             {kind::Right, parent::SoftKey, ui::command::RightSoftKey, kOptionsText}};
    for (std::uint32_t c = optionsCommand::FirstPage; c <= optionsCommand::LastPage; ++c) {
        menu_.push_back({kind::Right, 0, static_cast<std::uint16_t>(c),
                         kMenuTexts[c - optionsCommand::FirstPage]});
        menu_.back().checked = static_cast<int>(c) == page_;
    }
    menu_.push_back({kind::Right, 0, ui::kSeparatorCommand, 0});
    menu_.push_back({kind::Right, 0, optionsCommand::Wizard, kWizardText});
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> OptionsScreen::menuEntries() const {
    return menu_;
}

bool OptionsScreen::controlPressed(ui::Control& control) {
    int index = control.id - FirstButton;
    if (index < 0 || index >= kButtons)
        return false;
    core::settings::write(keys::OptionsScreen, kFirstRemembered + index);
    if (index == kButtons - 1) {
        host_.requestModuleLater(ui::moduleId::SetupWizard);
    } else {
        openPage(page::General + index);
    }
    return true;
}

bool OptionsScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::LeftSoftKey) {
        if (page_ == page::Main)
            host_.showMainMenu(true);
        else
            openPage(page::Main);
        return true;
    }
    if (commandId >= optionsCommand::FirstPage && commandId <= optionsCommand::LastPage) {
        openPage(static_cast<int>(commandId));
        return true;
    }
    if (commandId == optionsCommand::Wizard) {
        host_.requestModuleLater(ui::moduleId::SetupWizard);
        return true;
    }
    return false;
}

void OptionsScreen::controlChanged(ui::Control& control) {
    if (&control == filter_) {
        const OptionSpec* spec = findOption(keys::OptSchedFilter.name);
        setOption(*spec, std::to_wstring(filter_->mask()), host_.mainPath());
        return;
    }
    std::size_t option = static_cast<std::size_t>(control.id - FirstList);
    auto* list = dynamic_cast<ui::OptionList*>(&control);
    if (list && control.id >= FirstList && option < optionSpecs().size())
        optionChosen(option, *list);
}

void OptionsScreen::optionChosen(std::size_t option, ui::OptionList& list) {
    std::wstring value(list.currentValue());
    if (value.empty())
        return;
    const OptionSpec& spec = optionSpecs()[option];
    if (optionValue(spec, host_.mainPath()) == value)
        return;
    SetOutcome outcome = setOption(spec, value, host_.mainPath());
    if (outcome.result == SetResult::Stored)
        act(outcome.effects);
}

void OptionsScreen::act(unsigned effects) {
    if (effects & (effect::LookReload | effect::LookRedraw)) {
        platform::setWaitCursor(true);
        host_.applyLookSettings();
        platform::setWaitCursor(false);
    }
    if (effects & effect::TimeFormat)
        host_.applyFormatSettings();
    if ((effects & (effect::HomePreview | effect::HomeReload)) && page_ == page::Home)
        rebuildPreview();
    if (effects & effect::LanguageChange) {
        // The screen speaks the new language at once; the main menu and screens built
        // already follow at the next start, which the user is told once per visit.
        core::chooseStartLanguage(host_.mainPath());
        fillLists();
        openPage(page_);
        if (!languageNoticeShown_) {
            languageNoticeShown_ = true;
            core::showExclamation(core::languageString(kLanguageNotice), host_.programName());
        }
    }
    if (effects & effect::Reschedule) {
        fillLists();
        refreshStatus();
    }
    invalidate(false);
}

std::any OptionsScreen::saveState() const {
    return page_;
}

void OptionsScreen::restoreState(const std::any& state) {
    if (const int* saved = std::any_cast<int>(&state))
        openPage(*saved);
}

}  // namespace updates
