#include "travel/screens/airport_screen.h"

#include <algorithm>

#include "core/format.h"
#include "core/language.h"
#include "gfx/display_metrics.h"
#include "travel/airline_table.h"
#include "travel/airport_codes.h"
#include "travel/screens/flight_handoff.h"
#include "ui/label.h"
#include "ui/layout.h"
#include "ui/module_ids.h"
#include "worldtime/screens/dial_code_list.h"

namespace travel {

using namespace platform;
using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;

namespace {

namespace text {
constexpr int Menu = 16, SortByCode = 219, SortByAirport = 220, SortByCity = 221, NoAirports = 222,
              Airlines = 840, Airports = 841, FlightStatus = 842, Code = 849, Airport = 850,
              City = 851, NoAirlines = 852, Codes = 855, Airline = 846;
}

struct ScreenShape {
    Size size;        // layout pixels
    int detailLines;  // lines of the detail panel under the list; 0 puts it beside the list
};

ScreenShape screenShape() {
    if (gfx::displayMetrics().isSquare)
        return {{240, 188}, 2};
    if (gfx::isLandscape())
        return {{320, 188}, 0};
    return {{240, 268}, 3};
}

constexpr int kTabsHeight = 26;
constexpr int kDetailLineHeight = 16;
constexpr int kSideDetailWidth = 110;

}  // namespace

AirportScreen::AirportScreen(ui::ModuleHost& host, std::shared_ptr<FlightHandoff> handoff,
                             std::shared_ptr<TravelReadout> readout)
    : ui::Module(host), host_(host), handoff_(std::move(handoff)), readout_(std::move(readout)) {}

void AirportScreen::build() {
    const ScreenShape shape = screenShape();
    const Size size = shape.size;
    airports_ = loadAirports(host_.mainPath(), sortField_);
    airlines_ = loadAirlines(host_.mainPath());

    auto tabs = std::make_unique<worldtime::LetterGroupBar>();
    tabs->id = codesId::Tabs;
    tabs->onChoose = [this](int tab) { showTab(tab, airportTabLabel(tab).substr(0, 1)); };
    tabs_ = static_cast<worldtime::LetterGroupBar*>(&addControl(std::move(tabs)));
    tabs_->place(gfx::scaleRect({2, 2, size.width - 2, kTabsHeight}), nullptr);
    tabs_->show(true, false);

    Rect listRect{0, kTabsHeight + 2, size.width, size.height};
    Rect detailRect{};
    if (shape.detailLines > 0) {
        listRect.bottom = size.height - shape.detailLines * kDetailLineHeight - 4;
        detailRect = {0, listRect.bottom, size.width, size.height};
    } else {
        listRect.right = size.width - kSideDetailWidth;
        detailRect = {listRect.right, listRect.top, size.width, size.height};
    }

    auto list = std::make_unique<AirportList>();
    list->id = codesId::List;
    list->onTabStep = [this](int step) {
        int next = (tab() - 1 + step + kAllAirportsTab) % kAllAirportsTab + 1;
        showTab(next, airportTabLabel(next).substr(0, 1));
    };
    list->onTyped = [this](std::wstring_view typed) { goToTyped(typed); };
    list->onSelectionChange = [this](ui::ListControl&, int) { selectionChanged(); };
    list->onActivate = [this](ui::ListControl&, int) {
        return mode_ == CodesMode::Airlines && openFlightStatus();
    };
    list_ = static_cast<AirportList*>(&addControl(std::move(list)));
    list_->place(gfx::scaleRect(listRect), nullptr);
    list_->show(true, false);

    auto detail = std::make_unique<CodesDetail>();
    detail->id = codesId::Detail;
    detail_ = static_cast<CodesDetail*>(&addControl(std::move(detail)));
    detail_->place(gfx::scaleRect(detailRect), nullptr);
    detail_->show(true, false);

    const ui::LayoutRecord empty[] = {
        {codesId::Empty, ui::layoutType::Label, 12, 70,
         static_cast<std::int16_t>(listRect.right - 24), 60, 0, text::NoAirports,
         dt::Center | dt::WordBreak, ui::kEveryPage},
    };
    ui::buildLayout(*this, empty);
    rebuildIdIndex();
    setFocusedControl(list_, false);

    // The screen opens on every airport, sorted by code.
    sortChanged();
    showTab(kAllAirportsTab, L"");
    updateMenu();
}

const core::RecordTable& AirportScreen::all() const {
    return mode_ == CodesMode::Airlines ? airlines_ : airports_;
}

int AirportScreen::listedField() const {
    return mode_ == CodesMode::Airlines ? airlineField::Name : sortField_;
}

void AirportScreen::sortChanged() {
    rowTabs_ = airportRowTabs(all(), listedField());
}

int AirportScreen::tab() const {
    return tabs_ ? tabs_->group() : kAllAirportsTab;
}

void AirportScreen::showTab(int tab, std::wstring_view typed) {
    if (!tabs_->setGroup(tab))
        return;
    rows_.set(&all(), airportTabRows(rowTabs_, tab), listedField());
    list_->showRows(&rows_);
    const bool empty = rows_.rowCount() == 0;
    list_->show(!empty, true);
    if (auto* note = findControl<ui::Label>(codesId::Empty)) {
        note->setStringNumber(mode_ == CodesMode::Airlines ? text::NoAirlines : text::NoAirports);
        note->show(empty, true);
    }
    if (!empty) {
        int row = firstAirportRowWith(all(), rows_.rows(), listedField(), typed);
        if (row != list_->currentRow()) {
            list_->scrollTo(row);
            list_->selectRow(row, false);
        }
    } else {
        list_->selectRow(0, false);
    }
    list_->invalidate();
    selectionChanged();
}

void AirportScreen::goToTyped(std::wstring_view typed) {
    if (typed.empty())
        return;
    int tabOfFirst = airportTabOf(typed.front());
    int target = tab() == kAllAirportsTab || tabOfFirst == 0 ? tab() : tabOfFirst;
    if (target != tab()) {
        showTab(target, typed);
        return;
    }
    int row = firstAirportRowWith(all(), rows_.rows(), listedField(), typed);
    // The list moves only when another row starts with the letters.
    if (row == 0 || row == list_->currentRow())
        return;
    list_->scrollTo(row);
    list_->selectRow(row, false);
    list_->invalidate();
    selectionChanged();
}

void AirportScreen::setSortField(int field) {
    if (field < airportField::Code || field > airportField::City)
        return;
    if (mode_ != CodesMode::Airports)
        setMode(CodesMode::Airports);
    sortField_ = field;
    sortAirports(airports_, field);
    sortChanged();
    list_->setMode(mode_, sortField_);
    showTab(tab(), airportTabLabel(tab()).substr(0, 1));
    updateMenu();
}

void AirportScreen::setMode(CodesMode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    sortChanged();
    list_->setMode(mode_, sortField_);
    showTab(kAllAirportsTab, L"");
    updateMenu();
}

bool AirportScreen::openFlightStatus() {
    if (mode_ != CodesMode::Airlines || list_->currentRow() == 0 || !handoff_)
        return false;
    handoff_->airline = std::wstring(rows_.field(list_->currentRow(), airlineField::Name));
    host_.requestModuleLater(ui::moduleId::Flights);
    return true;
}

void AirportScreen::selectionChanged() {
    const int row = list_ ? list_->currentRow() : 0;
    std::vector<std::pair<std::wstring, std::wstring>> lines;
    if (row > 0 && mode_ == CodesMode::Airports) {
        lines.emplace_back(core::languageString(text::Code),
                           std::wstring(rows_.field(row, airportField::Code)));
        lines.emplace_back(core::languageString(text::Airport),
                           std::wstring(rows_.field(row, airportField::Name)));
        lines.emplace_back(core::languageString(text::City),
                           std::wstring(rows_.field(row, airportField::City)));
    } else if (row > 0) {
        lines.emplace_back(core::languageString(text::Airline),
                           std::wstring(rows_.field(row, airlineField::Name)));
        lines.emplace_back(core::languageString(text::Code),
                           std::wstring(rows_.field(row, airlineField::Code)));
    }
    if (detail_)
        detail_->setLines(std::move(lines));
    updateMenu();
    updateReadout();
}

bool AirportScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case codesCommand::SortByCode:
        case codesCommand::SortByAirport:
        case codesCommand::SortByCity:
            setSortField(static_cast<int>(commandId - codesCommand::SortByCode) + 1);
            return true;
        case codesCommand::ToggleAirlines:
            setMode(mode_ == CodesMode::Airports ? CodesMode::Airlines : CodesMode::Airports);
            return true;
        case codesCommand::FlightStatus:
            return openFlightStatus();
        default:
            return false;
    }
}

bool AirportScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    // With an empty tab the list is hidden; Left and Right still step the tabs.
    if (list_ && !list_->isVisible && (keyCode == vk::Left || keyCode == vk::Right))
        return list_->key(message, keyCode, flags);
    return false;
}

void AirportScreen::updateMenu() {
    auto item = [](std::uint16_t commandId, std::uint32_t string, bool checked = false,
                   bool enabled = true) {
        ui::MenuEntry entry{Right, 0, commandId, string};
        entry.checked = checked;
        entry.enabled = enabled;
        return entry;
    };
    const bool airports = mode_ == CodesMode::Airports;
    std::array<ui::MenuEntry, 10> entries{};
    std::size_t n = 0;
    entries[n++] = {Left, SoftKey, ui::command::LeftSoftKey, text::Menu};
    entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Codes};
    entries[n++] = item(codesCommand::SortByCode, text::SortByCode, airports && sortField_ == 1);
    entries[n++] =
        item(codesCommand::SortByAirport, text::SortByAirport, airports && sortField_ == 2);
    entries[n++] = item(codesCommand::SortByCity, text::SortByCity, airports && sortField_ == 3);
    entries[n++] = item(ui::kSeparatorCommand, 0);
    entries[n++] = item(codesCommand::ToggleAirlines, airports ? text::Airlines : text::Airports);
    if (!airports)
        entries[n++] = item(codesCommand::FlightStatus, text::FlightStatus, false,
                            list_ && list_->currentRow() > 0);
    if (n == menuSize_ && std::equal(entries.begin(), entries.begin() + n, menu_.begin()))
        return;
    menu_ = entries;
    menuSize_ = n;
    if (isActive && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

std::span<const ui::MenuEntry> AirportScreen::menuEntries() const {
    return {menu_.data(), menuSize_};
}

void AirportScreen::updateReadout() {
    if (!readout_)
        return;
    const int row = list_ ? list_->currentRow() : 0;
    std::wstring text = mode_ == CodesMode::Airlines ? L"airlines" : L"airports";
    text += L"; sort " + std::to_wstring(sortField_) + L"; tab " +
            std::wstring(airportTabLabel(tab())) + L"; row " + std::to_wstring(row) + L" of " +
            std::to_wstring(rows_.rowCount());
    if (detail_) {
        for (const auto& [label, value] : detail_->lines()) text += L"\n" + label + L" " + value;
    }
    readout_->codes = std::move(text);
}

std::any AirportScreen::saveState() const {
    return SavedState{mode_, sortField_, tab(), list_ ? list_->currentRow() : 0};
}

void AirportScreen::restoreState(const std::any& state) {
    const auto* saved = std::any_cast<SavedState>(&state);
    if (!saved)
        return;
    setMode(saved->mode);
    if (saved->mode == CodesMode::Airports && saved->sortField != sortField_)
        setSortField(saved->sortField);
    showTab(saved->tab, L"");
    if (saved->row > 0 && list_->selectRow(saved->row, false))
        selectionChanged();
}

}  // namespace travel
