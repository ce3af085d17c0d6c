#include "worldtime/screens/city_screen.h"

#include <algorithm>

#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "gfx/display_metrics.h"
#include "gfx/graphics_state.h"
#include "platform/api/shell.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/list_control.h"
#include "ui/module_ids.h"
#include "ui/text_button.h"
#include "worldtime/city_clock.h"
#include "worldtime/clock_change.h"
#include "worldtime/date_helpers.h"
#include "worldtime/screens/city_layouts.h"
#include "worldtime/screens/city_lists.h"
#include "worldtime/world_clock.h"
#include "worldtime/zones.h"

namespace worldtime {

using namespace platform;

namespace {

constexpr std::size_t kTextLimit = 64;

// String numbers of the screen's texts.
namespace text {
constexpr int Menu = 16, Back = 17, Cancel = 18, Ok = 224, Cities = 671, Search = 603,
              MakeFavourite = 112, RemoveFavourite = 111, NoCitiesToAdd = 108, NothingFound = 600,
              Found = 601, Next = 602, Matching = 604, LocalTime = 124, NotStarted = 713;
}

using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;

const ui::MenuEntry kEditKeys[] = {
    {Left, SoftKey, ui::command::LeftSoftKey, text::Ok},
    {Right, SoftKey, ui::command::RightSoftKey, text::Cancel},
};

const ui::MenuEntry kAddKeys[] = {
    {Left, SoftKey, ui::command::LeftSoftKey, text::Next},
    {Right, SoftKey, ui::command::RightSoftKey, text::Cancel},
};

std::unique_ptr<ui::Control> makeOwnControl(const ui::LayoutRecord& record,
                                            std::wstring_view mainPath) {
    switch (record.type) {
        case cityLayoutType::CityList:
            return std::make_unique<CityListControl>(mainPath);
        case cityLayoutType::ResultList:
            return std::make_unique<ResultListControl>(mainPath);
        case cityLayoutType::DetailPanel:
            return std::make_unique<CityDetailPanel>();
        case cityLayoutType::BusyIndicator:
            return std::make_unique<BusyIndicator>(mainPath);
        default:
            return nullptr;
    }
}

// As buildLayout, with the screen's own types made here rather than through the program's
// control factory, which other screens fill with their own types.
void buildCityLayout(ui::Module& module, std::span<const ui::LayoutRecord> records) {
    setWaitCursor(true);
    auto* gs = gfx::graphicsState();
    DeviceContext* dc = gs ? &gs->drawingDc() : nullptr;
    for (const ui::LayoutRecord& r : records) {
        std::unique_ptr<ui::Control> made = makeOwnControl(r, module.host().mainPath());
        if (!made)
            made = ui::createToolkitControl(r, module);
        if (!made)
            continue;
        made->page = r.page;
        made->id = r.id;
        ui::Control& control = module.addControl(std::move(made));
        control.place(gfx::scaleRect(rectOfSize(r.x, r.y, r.width, r.height)), dc);
        control.show(r.visible != 0, false);
        control.placed();
    }
    module.rebuildIdIndex();
    setWaitCursor(false);
}

}  // namespace

CityScreen::CityScreen(ui::ModuleHost& host, Favourites& favourites, int previousId)
    : ui::Module(host),
      host_(host),
      previousId_(previousId),
      database_(host.mainPath(), host.downloadPath(), favourites.table()),
      lookup_({[this](bool busy) { setBusy(busy); },
               [this](bool success) { lookupAnswered(success); }}) {}

CityScreen::~CityScreen() {
    if (WindowHandle window = host_.mainWindow()) {
        killTimer(window, kCityClockTimer);
        killTimer(window, kCityBusyTimer);
    }
}

void CityScreen::build() {
    currentPage = cityView::List;
    buildCityLayout(*this, cityScreenLayout());
    filter_ = findControl<ui::EditField>(cityControl::Filter);
    busyIndicator_ = findControl<BusyIndicator>(cityControl::Busy);
    searchButton_ = findControl<ui::TextButton>(cityControl::Search);
    list_ = findControl<CityListControl>(cityControl::List);
    details_ = findControl<CityDetailPanel>(cityControl::Details);
    favouriteButton_ = findControl<ui::TextButton>(cityControl::Favourite);
    nameEdit_ = findControl<ui::EditField>(cityControl::NameEdit);
    zoneList_ = findControl<ui::ListControl>(cityControl::ZoneList);
    results_ = findControl<ResultListControl>(cityControl::Results);
    if (auto* title = findControl<ui::Label>(cityControl::EditTitle))
        title->setBold(true);
    findControl<ui::Label>(cityControl::ResultHeading)->setBold(true);
    filter_->setLimit(kTextLimit);
    nameEdit_->setLimit(kTextLimit);
    zoneRows_.setField(zoneColumn::DisplayName);
    zoneRows_.keepOwnCurrentRow();
    list_->setDatabase(&database_);
    results_->setDatabase(&database_);
    // The list selects through the database; the screen follows with the details and menu.
    list_->onSelectionChange = [this](ui::ListControl&, int) {
        updateDetails();
        updateListMenu();
    };
    list_->onActivate = [this](ui::ListControl&, int) {
        toggleFavourite();
        return true;
    };
    zoneList_->onActivate = [this](ui::ListControl&, int) {
        confirmEdit();
        return true;
    };
    enterListView(true);
}

void CityScreen::show(bool visible, bool focusFirst) {
    if (visible && focusFirst) {
        // The list takes the focus first: a text field would take the Back key for itself.
        ui::Control* first = currentPage == cityView::List   ? static_cast<ui::Control*>(list_)
                             : currentPage == cityView::Edit ? static_cast<ui::Control*>(nameEdit_)
                                                             : static_cast<ui::Control*>(results_);
        setFocusedControl(first, false);
    }
    ui::Module::show(visible, false);
}

std::span<const ui::MenuEntry> CityScreen::menuEntries() const {
    switch (currentPage) {
        case cityView::Edit:
            return kEditKeys;
        case cityView::Add:
            return kAddKeys;
        default:
            return {listMenu_.data(), listMenuSize_};
    }
}

std::wstring CityScreen::selectedCode() const {
    return std::wstring(database_.shownField(database_.selection(), cityField::Code));
}

namespace {

struct CityScreenState {
    int view = cityView::List;
    std::wstring filter;
    std::wstring code;
    std::wstring editedName;
    int editedZoneRow = 0;
};

}  // namespace

std::any CityScreen::saveState() const {
    CityScreenState state;
    state.view = currentPage;
    state.filter = filter_->text();
    state.code = selectedCode();
    if (currentPage == cityView::Edit) {
        state.editedName = nameEdit_->text();
        state.editedZoneRow = zoneList_->currentRow();
    }
    return state;
}

void CityScreen::restoreState(const std::any& saved) {
    const auto* state = std::any_cast<CityScreenState>(&saved);
    if (!state)
        return;
    filter_->setText(state->filter);
    database_.setFilter(state->filter);
    selectCode(state->code);
    refreshList();
    // Search results belong to the old screen; their view falls back to the list.
    if (state->view == cityView::Edit && !state->code.empty()) {
        enterEditView();
        nameEdit_->setText(state->editedName);
        zoneList_->selectRow(state->editedZoneRow, false);
    }
}

void CityScreen::selectCode(std::wstring_view code) {
    int row = code.empty() ? 0 : database_.shownRowOf(code);
    if (row > 0)
        database_.setSelection(row);
}

void CityScreen::showView(int view) {
    setPage(view);
    ui::Control* first = view == cityView::List   ? static_cast<ui::Control*>(list_)
                         : view == cityView::Edit ? static_cast<ui::Control*>(nameEdit_)
                                                  : static_cast<ui::Control*>(results_);
    setFocusedControl(first, isActive);
    if (view == cityView::List)
        updateListMenu();
    // Until the module is shown, the application sets the bar from menuEntries() itself;
    // over the main menu the menu's own soft keys stay.
    if (isActive && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
    invalidate(false);
}

void CityScreen::enterListView(bool reload) {
    std::wstring code = selectedCode();
    if (reload) {
        database_.loadFavourites();
        database_.loadCityList();
    }
    selectCode(code);
    showView(cityView::List);
    refreshList();
}

void CityScreen::refreshList() {
    list_->refresh();
    updateDetails();
    updateListMenu();
}

void CityScreen::updateDetails() {
    int row = database_.selection();
    favouriteButton_->isEnabled = row > 0;
    if (row == 0) {
        details_->setTexts({}, {});
        favouriteButton_->setText(core::languageString(text::MakeFavourite));
        return;
    }
    std::wstring title = cityTitle(database_.shownField(row, cityField::Name),
                                   database_.shownField(row, cityField::Country),
                                   database_.region(database_.shownField(row, cityField::Code)));
    double latitude = readNumber(database_.shownField(row, cityField::Latitude), false);
    double longitude = readNumber(database_.shownField(row, cityField::Longitude), false);
    const CityClock clock = cityClock(readInt(database_.shownField(row, cityField::Zone)),
                                      database_.shownField(row, cityField::IanaZone),
                                      static_cast<std::int64_t>(platform::deviceUtcFileTime()));
    std::wstring time = core::formatText(core::languageString(text::LocalTime),
                                         host_.timeText(clock.local), host_.dateText(clock.local));
    std::vector<std::wstring> lines{longitudeLine(longitude), latitudeLine(latitude), time};
    std::wstring change = clockChangeLine(
        nextClockShift(clock), [this](const SystemTime& t) { return host_.dateText(t); },
        [this](const SystemTime& t) { return host_.timeText(t); });
    if (!change.empty())
        lines.push_back(std::move(change));
    details_->setTexts(title, std::move(lines));
    bool favourite = database_.shownIsFavourite(row);
    favouriteButton_->setText(
        core::languageString(favourite ? text::RemoveFavourite : text::MakeFavourite));
}

void CityScreen::updateListMenu() {
    int sort = database_.sortMode();
    int row = database_.selection();
    bool favourite = row > 0 && database_.shownIsFavourite(row);
    auto item = [](std::uint16_t commandId, std::uint32_t string, bool checked = false) {
        ui::MenuEntry entry{Right, 0, commandId, string};
        entry.checked = checked;
        return entry;
    };
    const ui::MenuEntry separator = item(ui::kSeparatorCommand, 0);
    std::array<ui::MenuEntry, 16> entries{};
    std::size_t n = 0;
    entries[n++] = {Left, SoftKey, ui::command::LeftSoftKey, text::Menu};
    entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Cities};
    entries[n++] = item(cityCommand::SortByName, 699, sort == citySorting::ByName);
    entries[n++] = item(cityCommand::SortByCountry, 700, sort == citySorting::ByCountry);
    entries[n++] = item(cityCommand::SortByZone, 701, sort == citySorting::ByZone);
    entries[n++] = item(cityCommand::FavouritesOnly, 702, database_.showSelected());
    entries[n++] = separator;
    entries[n++] =
        item(cityCommand::ToggleFavourite, favourite ? text::RemoveFavourite : text::MakeFavourite);
    entries[n++] = item(cityCommand::EditCity, 703);
    entries[n++] = separator;
    entries[n++] = item(cityCommand::FindCity, 706);
    entries[n++] = item(cityCommand::SearchServer, 710);
    entries[n++] = separator;
    entries[n++] = item(cityCommand::Done, text::Back);
    if (n == listMenuSize_ && std::equal(entries.begin(), entries.begin() + n, listMenu_.begin()))
        return;
    listMenu_ = entries;
    listMenuSize_ = n;
    if (isActive && currentPage == cityView::List && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

void CityScreen::enterEditView() {
    std::wstring code = selectedCode();
    if (code.empty())
        return;
    int row = database_.selection();
    zoneRows_.setTable(&zoneTable());
    zoneRows_.setCurrentRow(0);
    zoneList_->setModel(&zoneRows_);
    int zone = readInt(database_.shownField(row, cityField::Zone));
    for (int z = 1; z <= zoneRows_.rowCount(); ++z) {
        if (readInt(zoneTable().fieldText(z, zoneColumn::Number)) == zone) {
            zoneList_->selectRow(z, false);
            break;
        }
    }
    nameEdit_->setText(database_.shownField(row, cityField::Name));
    showView(cityView::Edit);
}

void CityScreen::enterAddView(int headingString) {
    core::RecordTable& found = database_.results();
    if (found.empty()) {
        enterListView(false);
        showMessage(text::NoCitiesToAdd);
        return;
    }
    findControl<ui::Label>(cityControl::ResultHeading)
        ->setText(core::languageString(headingString));
    results_->setTable(&found);
    results_->selectRow(1, false);
    showView(cityView::Add);
}

void CityScreen::controlChanged(ui::Control& control) {
    if (&control == filter_) {
        // The selected city stays selected while the filter still shows it.
        std::wstring code = selectedCode();
        database_.setFilter(filter_->text());
        selectCode(code);
        refreshList();
    }
}

bool CityScreen::controlPressed(ui::Control& control) {
    switch (control.id) {
        case cityControl::Search:
            search();
            return true;
        case cityControl::Favourite:
            toggleFavourite();
            return true;
        case cityControl::EditOk:
            confirmEdit();
            return true;
        case cityControl::EditCancel:
        case cityControl::ResultCancel:
            enterListView(false);
            return true;
        case cityControl::ResultAdd:
            confirmAdd();
            return true;
        default:
            return false;
    }
}

bool CityScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    if (keyCode != vk::Return)
        return false;
    ui::Control* focused = focusedControl();
    if (focused != filter_ && focused != nameEdit_)
        return false;
    if (message == wm::KeyDown) {
        // Enter in the filter searches; in the name field it moves on to the zones.
        if (focused == filter_)
            search();
        else
            moveFocus(true);
    }
    return true;
}

bool CityScreen::command(std::uint32_t commandId, std::intptr_t) {
    int view = currentPage;
    switch (commandId) {
        case ui::command::Back:
            // Back leaves the editor and the results for the list; the list leaves the screen.
            if (view == cityView::List)
                return false;
            enterListView(false);
            return true;
        case ui::command::LeftSoftKey:
            if (view == cityView::Edit)
                confirmEdit();
            else if (view == cityView::Add)
                confirmAdd();
            else
                host_.showMainMenu(true);
            return true;
        case ui::command::RightSoftKey:
            if (view == cityView::List)
                leave();
            else
                enterListView(false);
            return true;
        default:
            break;
    }
    if (view != cityView::List)
        return false;
    switch (commandId) {
        case cityCommand::SortByName:
            setSortMode(citySorting::ByName);
            return true;
        case cityCommand::SortByCountry:
            setSortMode(citySorting::ByCountry);
            return true;
        case cityCommand::SortByZone:
            setSortMode(citySorting::ByZone);
            return true;
        case cityCommand::FavouritesOnly: {
            std::wstring code = selectedCode();
            database_.setShowSelected(!database_.showSelected());
            selectCode(code);
            refreshList();
            return true;
        }
        case cityCommand::ToggleFavourite:
            toggleFavourite();
            return true;
        case cityCommand::EditCity:
            enterEditView();
            return true;
        case cityCommand::FindCity:
            focusFilter();
            return true;
        case cityCommand::SearchServer:
            lookUp();
            return true;
        case cityCommand::Done:
            leave();
            return true;
        default:
            return false;
    }
}

void CityScreen::toggleFavourite() {
    int row = database_.selection();
    if (row == 0)
        return;
    std::wstring code = selectedCode();
    database_.toggleFavourite(row);
    selectCode(code);
    refreshList();
}

void CityScreen::setSortMode(int mode) {
    std::wstring code = selectedCode();
    database_.setSortMode(mode);
    selectCode(code);
    refreshList();
}

void CityScreen::search() {
    // While the comms program works the button cancels it.
    if (core::isCommsRunning()) {
        lookUp();
        return;
    }
    switch (database_.searchLocal(filter_->text())) {
        case SearchOutcome::Found:
            enterAddView(text::Matching);
            break;
        case SearchOutcome::NeedsRemote:
            lookUp();
            break;
        case SearchOutcome::EmptyText:
            focusFilter();
            break;
    }
}

void CityScreen::lookUp() {
    switch (database_.requestLookup(filter_->text())) {
        case LookupOutcome::Started:
            lookup_.sent();
            break;
        case LookupOutcome::Cancelled:
            lookup_.withdrawn();
            break;
        case LookupOutcome::EmptyText:
            focusFilter();
            break;
        case LookupOutcome::NotStarted:
            showMessage(text::NotStarted);
            break;
    }
}

bool CityScreen::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    return lookup_.report(wParam, lParam);
}

void CityScreen::lookupAnswered(bool success) {
    if (success && database_.loadSearchResults()) {
        enterAddView(text::Found);
        return;
    }
    showMessage(text::NothingFound);
}

void CityScreen::confirmEdit() {
    std::wstring code = selectedCode();
    int zoneRow = zoneList_->currentRow();
    if (!code.empty() && zoneRow > 0) {
        int zone = readInt(zoneTable().fieldText(zoneRow, zoneColumn::Number));
        database_.editCity(code, zone, nameEdit_->text());
    }
    // A changed name may move the city in the sorted list.
    selectCode(code);
    enterListView(false);
}

void CityScreen::confirmAdd() {
    std::optional<std::wstring> first = database_.addSearchResultsFromView();
    if (!first) {
        enterListView(false);
        showMessage(text::NoCitiesToAdd);
        return;
    }
    if (database_.shownRowOf(*first) == 0) {
        // A city the filter hides would be added out of sight.
        filter_->setText(L"");
        database_.setFilter(L"");
    }
    selectCode(*first);
    enterListView(false);
}

void CityScreen::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    searchButton_->setText(core::languageString(busy ? text::Cancel : text::Search));
    busyIndicator_->animate(busy, kCityBusyTimer, kCityBusyIntervalMs);
}

void CityScreen::timer(std::uintptr_t id) {
    if (id == kCityBusyTimer) {
        busyIndicator_->step();
    } else if (id == kCityClockTimer) {
        // The local time of the selected city follows the clock.
        if (currentPage == cityView::List)
            updateDetails();
    } else {
        ui::Module::timer(id);
    }
}

void CityScreen::startTimers() {
    if (WindowHandle window = host_.mainWindow())
        setTimer(window, kCityClockTimer, 1000);
    if (core::isCommsRunning())
        setBusy(true);
}

void CityScreen::showMessage(int stringNumber) {
    core::showExclamation(core::languageString(stringNumber), host_.programName());
}

void CityScreen::focusFilter() {
    if (currentPage != cityView::List)
        return;
    setFocusedControl(filter_, true);
    filter_->select(0, filter_->text().size());
}

void CityScreen::leave() {
    // Back along the history when there is one; this module is gone afterwards.
    ui::ModuleHost& host = host_;
    int previous = previousId_;
    if (host.back())
        return;
    host.requestModule(previous >= 1 ? previous : ui::moduleId::Home);
}

}  // namespace worldtime
