#include "travel/screens/flight_screen.h"

#include <algorithm>

#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_key.h"
#include "platform/api/clock.h"
#include "platform/api/shell.h"
#include "travel/airline_table.h"
#include "travel/flight_file.h"
#include "travel/flight_list.h"
#include "travel/flight_request.h"
#include "travel/screens/flight_detail_view.h"
#include "travel/screens/flight_handoff.h"
#include "travel/screens/flight_layouts.h"
#include "travel/settings_keys.h"
#include "ui/drop_down.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/list_control.h"
#include "worldtime/screens/city_lists.h"

namespace travel {

using namespace platform;
using ui::menuKind::Left;
using ui::menuKind::Right;
using ui::menuParent::SoftKey;

namespace {

namespace text {
constexpr int Menu = 16, Delete = 94, CancelUpdate = 137, Query = 191, Refresh = 192,
              UnknownAirline = 193, AskDelete = 196, Flights = 856, Yesterday = 843,
              InvalidNumber = 853, NotStarted = 854;
}

}  // namespace

FlightScreen::FlightScreen(ui::ModuleHost& host, std::shared_ptr<FlightHandoff> handoff,
                           std::shared_ptr<TravelReadout> readout)
    : ui::Module(host),
      host_(host),
      handoff_(std::move(handoff)),
      readout_(std::move(readout)),
      request_(
          {[this](bool busy) { setBusy(busy); }, [this](bool success) { answered(success); }}) {}

FlightScreen::~FlightScreen() {
    if (readout_)
        readout_->flights.clear();
    if (WindowHandle window = host_.mainWindow())
        killTimer(window, kFlightBusyTimer);
}

void FlightScreen::build() {
    airlines_ = loadAirlines(host_.mainPath());
    days_ = core::RecordTable(1);
    for (int day = flightDay::Yesterday; day <= flightDay::Tomorrow; ++day)
        days_.setField(days_.appendRow(), 1, core::languageString(text::Yesterday + day - 1));
    days_.setCurrentRow(flightDay::Today);

    const std::wstring mainPath = host_.mainPath();
    ui::buildLayout(*this, flightLayout(), [&mainPath](const ui::LayoutRecord& record) {
        std::unique_ptr<ui::Control> made;
        if (record.type == flightLayoutType::DetailView)
            made = std::make_unique<FlightDetailView>();
        else if (record.type == flightLayoutType::SavedList)
            made = std::make_unique<SavedFlightList>();
        else if (record.type == flightLayoutType::BusyIndicator)
            made = std::make_unique<worldtime::BusyIndicator>(mainPath);
        return made;
    });
    auto* savedList = findControl<SavedFlightList>(flightId::List);
    list_ = savedList;
    detail_ = findControl<FlightDetailView>(flightId::Detail);
    busyIndicator_ = findControl<worldtime::BusyIndicator>(flightId::Busy);
    if (auto* airline = findControl<ui::DropDown>(flightId::Airline))
        airline->setTable(&airlines_);
    if (auto* day = findControl<ui::DropDown>(flightId::Day))
        day->setTable(&days_);
    if (auto* number = findControl<ui::EditField>(flightId::Number))
        number->setLimit(kMaxFlightNumberLength);
    list_->onSelectionChange = [this](ui::ListControl&, int row) { selectRow(row); };
    savedList->onSideways = [this](int step) {
        if (currentPage == flightPage::Detail && detail_->step(step))
            updateReadout();
    };
    list_->onActivate = [this](ui::ListControl&, int) { return requestFlight(); };

    reloadList(L"");
    takeHandoff();
    setFocusedControl(list_, false);
}

void FlightScreen::takeHandoff() {
    if (!handoff_ || handoff_->airline.empty())
        return;
    const int row = airlines_.find(airlineField::Name, handoff_->airline);
    handoff_->airline.clear();
    selectRow(1);
    if (row > 0) {
        airlines_.setCurrentRow(row);
        if (auto* airline = findControl<ui::DropDown>(flightId::Airline))
            airline->invalidate();
    }
}

void FlightScreen::reloadList(std::wstring_view select) {
    std::wstring wanted(select);
    if (wanted.empty() && onSavedFlight())
        wanted = saved_.fieldText(list_->currentRow(), savedFlightField::FileName);
    saved_ = listSavedFlights(host_.downloadPath(), airlines_);
    list_->setTable(&saved_);
    list_->setDisplayField(savedFlightField::Label);
    int row = savedFlightRow(saved_, wanted);
    selectRow(row > 0 ? row : 1);
}

bool FlightScreen::onSavedFlight() const {
    const int row = list_ ? list_->currentRow() : 0;
    return row > 1 && saved_.fieldText(row, savedFlightField::Saved) == L"1";
}

void FlightScreen::selectRow(int row) {
    if (row < 1 || row > saved_.rowCount())
        row = 1;
    if (list_->currentRow() != row)
        list_->selectRow(row, false);
    auto* number = findControl<ui::EditField>(flightId::Number);
    if (onSavedFlight()) {
        std::wstring_view saved = saved_.fieldText(row, savedFlightField::Number);
        if (number)
            number->setText(saved.empty() ? L"0" : saved);
        const std::wstring_view file = saved_.fieldText(row, savedFlightField::FileName);
        detail_->setFile(readFlightFile(host_.downloadPath(), file));
        if (auto* label = findControl<ui::Label>(flightId::DataTime))
            label->setText(flightDataTime(host_.downloadPath(), file));
        if (currentPage != flightPage::Detail)
            setPage(flightPage::Detail);
    } else {
        detail_->clear();
        if (currentPage != flightPage::Form)
            setPage(flightPage::Form);
        if (auto* airline = findControl<ui::DropDown>(flightId::Airline))
            airline->isEnabled = true;
    }
    // The list keeps the focus across pages so the keys go on moving through it.
    setFocusedControl(list_, false);
    invalidate(false);
    updateMenu();
    updateReadout();
}

bool FlightScreen::requestFlight() {
    if (core::isCommsRunning()) {
        core::cancelComms();
        request_.withdrawn();
        updateMenu();
        return false;
    }
    const int row = list_->currentRow();
    std::wstring code, number;
    std::wstring typed;
    if (auto* edit = findControl<ui::EditField>(flightId::Number))
        typed = edit->text();
    int day = days_.currentRow() > 0 ? days_.currentRow() : flightDay::Today;
    if (onSavedFlight()) {
        code = saved_.fieldText(row, savedFlightField::AirlineCode);
        number = chosenFlightNumber(typed, saved_.fieldText(row, savedFlightField::Number));
    } else {
        const int airline = airlines_.currentRow();
        code = airline > 0 ? std::wstring(airlines_.fieldText(airline, airlineField::Code))
                           : std::wstring();
        if (code.empty()) {
            showMessage(text::UnknownAirline);
            return false;
        }
        number = typed;
    }
    const FlightWindow window = flightWindow(deviceLocalTime(), day);
    switch (sendFlightRequest(code, number, window)) {
        case FlightRequestResult::Sent:
            request_.sent();
            break;
        case FlightRequestResult::CancelledComms:
            request_.withdrawn();
            break;
        case FlightRequestResult::UnknownAirline:
            showMessage(text::UnknownAirline);
            break;
        case FlightRequestResult::InvalidNumber:
            showMessage(text::InvalidNumber);
            break;
        case FlightRequestResult::NotStarted:
            showMessage(text::NotStarted);
            break;
    }
    updateMenu();
    return true;
}

void FlightScreen::showMessage(int stringNumber) const {
    core::showExclamation(core::languageString(stringNumber), host_.programName());
}

void FlightScreen::deleteFlight() {
    if (!onSavedFlight())
        return;
    const std::wstring file(saved_.fieldText(list_->currentRow(), savedFlightField::FileName));
    if (core::showMessageBox(core::languageString(text::AskDelete), host_.programName(),
                             mb::YesNo | mb::IconQuestion) != id::Yes)
        return;
    deleteSavedFlight(host_.downloadPath(), file);
    reloadList(L"");
}

void FlightScreen::answered(bool success) {
    if (!success) {
        reloadList(L"");
        return;
    }
    const std::wstring result = core::settings::read(keys::FltHstResult);
    const int before = list_->currentRow();
    saved_ = listSavedFlights(host_.downloadPath(), airlines_);
    list_->setTable(&saved_);
    const int row = savedFlightRow(saved_, result);
    // An answer naming a file that is not in the list leaves the selection as it was.
    selectRow(row > 0 ? row : before);
}

bool FlightScreen::command(std::uint32_t commandId, std::intptr_t) {
    switch (commandId) {
        case ui::command::LeftSoftKey:
            host_.showMainMenu(true);
            return true;
        case flightCommand::Query:
            requestFlight();
            return true;
        case flightCommand::Delete:
            deleteFlight();
            return true;
        default:
            return false;
    }
}

bool FlightScreen::controlPressed(ui::Control& control) {
    if (control.id == flightId::QueryButton) {
        requestFlight();
        return true;
    }
    return false;
}

void FlightScreen::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    busyIndicator_->animate(busy, kFlightBusyTimer, kFlightBusyIntervalMs);
    updateMenu();
    updateReadout();
}

void FlightScreen::timer(std::uintptr_t id) {
    if (id != kFlightBusyTimer) {
        ui::Module::timer(id);
        return;
    }
    busyIndicator_->step();
    if (request_.withdrawIfGone()) {
        setBusy(false);
        reloadList(L"");
    }
}

void FlightScreen::startTimers() {
    if (core::isCommsRunning())
        setBusy(true);
    updateMenu();
}

bool FlightScreen::commsMessage(WindowHandle, std::uint32_t, WParam wParam, LParam lParam) {
    bool known = request_.report(wParam, lParam);
    if (wParam == core::commsReport::Started)
        setBusy(true);
    if (wParam == core::commsReport::Ended) {
        setBusy(false);
        reloadList(L"");
    }
    updateMenu();
    return known;
}

void FlightScreen::updateMenu() {
    auto item = [](std::uint16_t commandId, std::uint32_t string, bool enabled = true) {
        ui::MenuEntry entry{Right, 0, commandId, string};
        entry.enabled = enabled;
        return entry;
    };
    const bool running = busy_ || core::isCommsRunning();
    const bool saved = onSavedFlight();
    std::array<ui::MenuEntry, 6> entries{};
    std::size_t n = 0;
    entries[n++] = {Left, SoftKey, ui::command::LeftSoftKey, text::Menu};
    entries[n++] = {Right, SoftKey, ui::command::RightSoftKey, text::Flights};
    entries[n++] = item(flightCommand::Query, running ? text::CancelUpdate
                                              : saved ? text::Refresh
                                                      : text::Query);
    entries[n++] = item(flightCommand::Delete, text::Delete, saved && !running);
    if (n == menuSize_ && std::equal(entries.begin(), entries.begin() + n, menu_.begin()))
        return;
    menu_ = entries;
    menuSize_ = n;
    if (isActive && !host_.isMainMenuOpen())
        host_.setMenuBar(menuEntries());
}

std::span<const ui::MenuEntry> FlightScreen::menuEntries() const {
    return {menu_.data(), menuSize_};
}

void FlightScreen::updateReadout() {
    if (!readout_ || !list_)
        return;
    std::wstring text = L"row " + std::to_wstring(list_->currentRow()) + L" of " +
                        std::to_wstring(saved_.rowCount()) + L"; busy " +
                        std::to_wstring(busy_ ? 1 : 0);
    for (int row = 1; row <= saved_.rowCount(); ++row)
        text += L"\n" + std::wstring(saved_.fieldText(row, savedFlightField::Label));
    if (onSavedFlight()) {
        if (auto* label = findControl<ui::Label>(flightId::DataTime))
            text += L"\n" + label->text();
        const std::wstring title = flightTitle(detail_->file(), detail_->flight());
        if (!title.empty())
            text += L"\n" + title;
        for (const FlightDetailLine& line : flightDetail(detail_->file(), detail_->flight()))
            text += L"\n" + line.label + (line.label.empty() ? L"" : L" ") + line.value;
    }
    readout_->flights = std::move(text);
}

std::any FlightScreen::saveState() const {
    std::wstring file;
    if (onSavedFlight())
        file = saved_.fieldText(list_->currentRow(), savedFlightField::FileName);
    return SavedState{file, request_.pending()};
}

void FlightScreen::restoreState(const std::any& state) {
    const auto* saved = std::any_cast<SavedState>(&state);
    if (!saved)
        return;
    request_.carryOn(saved->pending);
    reloadList(saved->file);
}

}  // namespace travel
