#include "travel/screens/itinerary_screen.h"

#include <algorithm>

#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "gfx/display_metrics.h"
#include "platform/api/calendar.h"
#include "platform/api/device.h"
#include "platform/api/shell.h"
#include "travel/screens/itinerary_lists.h"
#include "travel/trip_calendar.h"
#include "travel/trip_editor_fields.h"
#include "ui/control_paint.h"
#include "ui/date_time_picker.h"
#include "ui/drop_down.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/text_button.h"

namespace travel {

using namespace platform;
using View = ItineraryState::View;

namespace {

namespace text {
constexpr int Menu = 16, Back = 17, Cancel = 18, Ok = 224, Options = 375, Next = 282,
              AlsoAppointments = 284, Start = 346, End = 347, Reminder = 348, DeleteTrip = 351,
              TripExists = 352, NoAppointment = 353, DeleteEntry = 354, Itinerary = 861,
              NewTrip = 862, Open = 863, DeleteTripItem = 864, NewFlight = 865, NewCar = 866,
              NewHotel = 867, NewJourney = 868, NewMeeting = 869, NewNote = 870, Edit = 871,
              DeleteEntryItem = 872, ShowInCalendar = 873, TripName = 874, Icon = 875,
              BadName = 876, NoEntries = 879;
}

namespace page {
constexpr int Trips = 1, Agenda = 2, Editor = 3, EditorMore = 4, NewTrip = 5, Unused = 98;
}

constexpr std::uint32_t kLeftLine = dt::Left | dt::VCenter | dt::SingleLine | dt::EndEllipsis;
constexpr int kRowStep = 24, kRowHeight = 20, kLabelWidth = 94;

// The main window's client area in layout pixels.
struct Frame {
    int width;
    int height;
};

Frame frame(WindowHandle window) {
    const Rect client = clientRect(window);
    const int unit = std::max(1, ui::layoutUnit());
    return {std::max(200, client.width() / unit), std::max(160, client.height() / unit)};
}

std::wstring language(int n) {
    return core::languageString(n);
}

int newEntryString(EntryKind kind) {
    switch (kind) {
        case EntryKind::Flight:
            return text::NewFlight;
        case EntryKind::Car:
            return text::NewCar;
        case EntryKind::Hotel:
            return text::NewHotel;
        case EntryKind::Journey:
            return text::NewJourney;
        case EntryKind::Meeting:
            return text::NewMeeting;
        case EntryKind::Note:
            return text::NewNote;
    }
    return text::NewNote;
}

SystemTime joined(const SystemTime& date, const SystemTime& time) {
    SystemTime t = date;
    t.hour = time.hour;
    t.minute = time.minute;
    t.second = t.milliseconds = 0;
    return t;
}

void place(ui::Control* c, int left, int top, int right, int bottom) {
    c->place(gfx::scaleRect(Rect{left, top, right, bottom}), nullptr);
}

}  // namespace

ItineraryScreen::ItineraryScreen(ui::ModuleHost& host, std::shared_ptr<ItineraryState> state)
    : ui::Module(host), host_(host), state_(std::move(state)) {}

ItineraryScreen::~ItineraryScreen() {
    state_->readout.clear();
}

void ItineraryScreen::build() {
    airlines_ = AirlineCodes::load(host_.mainPath());
    buildTripPage();
    buildAgendaPage();
    buildEditorPages();
    buildNewTripPage();
    rebuildIdIndex();
    placeControls();
    reloadTrips();
    View view = state_->view;
    if (view != View::Trips) {
        openTrip(state_->trip);
        if (!trip_)
            view = View::Trips;
    }
    if (view == View::Editor && trip_)
        editEntry(state_->entry, state_->entry == 0 ? std::optional(state_->kind) : std::nullopt);
    else
        showView(view == View::Editor ? View::Agenda : view);
}

void ItineraryScreen::buildTripPage() {
    auto list = std::make_unique<TripList>(host_.mainPath());
    list->id = 1;
    list->page = page::Trips;
    list->onSelectionChange = [this](ui::ListControl&, int row) {
        state_->tripRow = row;
        refreshMenu();
        updateReadout();
    };
    list->onActivate = [this](ui::ListControl&, int row) {
        if (row == 1)
            showView(View::NewTrip);
        else
            openTrip(tripList_->rows().row(row).name);
        return true;
    };
    tripList_ = static_cast<TripList*>(&addControl(std::move(list)));
}

void ItineraryScreen::buildAgendaPage() {
    auto makeLabel = [this](int id, int pageNumber, std::uint32_t format) {
        auto label = std::make_unique<ui::Label>(0, format);
        label->id = id;
        label->page = pageNumber;
        label->isFocusable = false;
        return static_cast<ui::Label*>(&addControl(std::move(label)));
    };
    agendaTitle_ = makeLabel(2, page::Agenda, kLeftLine);
    agendaTitle_->setBold(true);
    auto list = std::make_unique<AgendaList>(host_.mainPath());
    list->id = 3;
    list->page = page::Agenda;
    list->onSelectionChange = [this](ui::ListControl&, int row) {
        state_->agendaRow = row;
        refreshMenu();
        updateReadout();
    };
    list->onActivate = [this](ui::ListControl&, int) {
        command(itineraryCommand::Edit, 0);
        return true;
    };
    agenda_ = static_cast<AgendaList*>(&addControl(std::move(list)));
    agendaEmpty_ = makeLabel(4, page::Agenda, dt::Center | dt::WordBreak);
    agendaEmpty_->setStringNumber(text::NoEntries);
}

void ItineraryScreen::buildEditorPages() {
    auto makeLabel = [this](int id, int pageNumber, int stringNumber) {
        auto label = std::make_unique<ui::Label>(stringNumber, kLeftLine);
        label->id = id;
        label->page = pageNumber;
        label->isFocusable = false;
        return static_cast<ui::Label*>(&addControl(std::move(label)));
    };
    auto makePicker = [this](int id, int kind) {
        auto picker = std::make_unique<ui::DateTimePicker>(host_, kind);
        picker->id = id;
        picker->page = page::Editor;
        return static_cast<ui::DateTimePicker*>(&addControl(std::move(picker)));
    };
    editorTitle_ = makeLabel(10, page::Editor, 0);
    editorTitle_->setBold(true);
    startLabel_ = makeLabel(11, page::Editor, text::Start);
    startDate_ = makePicker(12, ui::pickerKind::Date);
    startTime_ = makePicker(13, ui::pickerKind::Time);
    endLabel_ = makeLabel(14, page::Editor, text::End);
    endDate_ = makePicker(15, ui::pickerKind::Date);
    endTime_ = makePicker(16, ui::pickerKind::Time);
    reminderLabel_ = makeLabel(17, page::Editor, text::Reminder);
    auto choices = std::make_unique<core::RecordTable>(1);
    for (int i = 0; i < static_cast<int>(kReminderChoices.size()); ++i)
        choices->setField(choices->appendRow(), 1, language(kFirstReminderString + i));
    auto reminder = std::make_unique<ui::DropDown>();
    reminder->id = 18;
    reminder->page = page::Editor;
    reminder->adoptTable(std::move(choices));
    reminder_ = static_cast<ui::DropDown*>(&addControl(std::move(reminder)));
    for (int i = 0; i < kMaxEditorFields; ++i) {
        fieldLabels_.push_back(makeLabel(20 + 2 * i, page::Unused, 0));
        auto edit = std::make_unique<ui::EditField>(host_, es::AutoHScroll);
        edit->id = 21 + 2 * i;
        edit->page = page::Unused;
        edit->setLimit(200);
        fieldEdits_.push_back(static_cast<ui::EditField*>(&addControl(std::move(edit))));
    }
    auto more = std::make_unique<ui::TextButton>(text::Next);
    more->id = 40;
    more->page = page::Editor;
    more_ = static_cast<ui::TextButton*>(&addControl(std::move(more)));
    auto less = std::make_unique<ui::TextButton>(text::Back);
    less->id = 41;
    less->page = page::EditorMore;
    less_ = static_cast<ui::TextButton*>(&addControl(std::move(less)));
}

void ItineraryScreen::buildNewTripPage() {
    auto makeLabel = [this](int id, int stringNumber) {
        auto label = std::make_unique<ui::Label>(stringNumber, kLeftLine);
        label->id = id;
        label->page = page::NewTrip;
        label->isFocusable = false;
        return static_cast<ui::Label*>(&addControl(std::move(label)));
    };
    nameLabel_ = makeLabel(50, text::TripName);
    auto name = std::make_unique<ui::EditField>(host_, es::AutoHScroll);
    name->id = 51;
    name->page = page::NewTrip;
    name->setLimit(kMaxTripName);
    name_ = static_cast<ui::EditField*>(&addControl(std::move(name)));
    iconLabel_ = makeLabel(52, text::Icon);
    auto icons = std::make_unique<core::RecordTable>(2);
    for (const DirectoryEntry& file :
         listFolder(core::joinDevicePath(host_.mainPath(), L"listicons\\"), L"list_*.tga")) {
        if (matchesPattern(file.name, L"list_new.tga"))
            continue;
        const int row = icons->appendRow();
        std::wstring shown = file.name.substr(5, file.name.size() - 9);
        if (!shown.empty())
            shown[0] = static_cast<wchar_t>(std::towupper(shown[0]));
        icons->setField(row, 1, shown);
        icons->setField(row, 2, file.name);
    }
    icons->setCurrentRow(std::max(1, icons->find(2, L"list_travel.tga", true)));
    auto icon = std::make_unique<ui::DropDown>();
    icon->id = 53;
    icon->page = page::NewTrip;
    icon->adoptTable(std::move(icons));
    icon_ = static_cast<ui::DropDown*>(&addControl(std::move(icon)));
}

void ItineraryScreen::placeControls() {
    const Frame f = frame(host_.mainWindow());
    const int w = f.width, h = f.height;
    place(tripList_, 2, 2, w - 2, h - 2);
    place(agendaTitle_, 4, 2, w - 4, 20);
    place(agenda_, 2, 22, w - 2, h - 2);
    place(agendaEmpty_, 12, 60, w - 12, 120);

    place(editorTitle_, 4, 2, w - 4, 20);
    const int fieldLeft = 62, split = (w - fieldLeft) * 3 / 5 + fieldLeft;
    int y = 24;
    for (auto [label, date, time] : {std::tuple{startLabel_, startDate_, startTime_},
                                     std::tuple{endLabel_, endDate_, endTime_}}) {
        place(label, 4, y, fieldLeft - 2, y + kRowHeight);
        place(date, fieldLeft, y, split - 2, y + kRowHeight);
        place(time, split, y, w - 4, y + kRowHeight);
        y += kRowStep;
    }
    place(reminderLabel_, 4, y, fieldLeft - 2, y + kRowHeight);
    place(reminder_, fieldLeft, y, w - 4, y + kRowHeight);
    y += kRowStep;
    // The title and location on the first page, the kind's own fields on the second.
    for (int i = 0; i < kMaxEditorFields; ++i) {
        const int top = i < 2 ? y + kRowStep * i : 24 + kRowStep * (i - 2);
        place(fieldLabels_[static_cast<std::size_t>(i)], 4, top, kLabelWidth, top + kRowHeight);
        place(fieldEdits_[static_cast<std::size_t>(i)], kLabelWidth + 2, top, w - 4,
              top + kRowHeight);
    }
    const int buttonTop = std::min(h - 24, 24 + kRowStep * 6);
    place(more_, w - 84, buttonTop, w - 4, buttonTop + 20);
    place(less_, w - 84, buttonTop, w - 4, buttonTop + 20);

    place(nameLabel_, 4, 8, w - 4, 26);
    place(name_, 4, 28, w - 4, 48);
    place(iconLabel_, 4, 58, w - 4, 76);
    place(icon_, 4, 78, w - 4, 98);
    for (const auto& c : controls()) c->show(true, false);
}

void ItineraryScreen::showView(View view) {
    state_->view = view;
    // The window may have turned or changed size since the controls were placed.
    placeControls();
    switch (view) {
        case View::Trips:
            setPage(page::Trips);
            setFocusedControl(tripList_, false);
            break;
        case View::Agenda:
            setPage(page::Agenda);
            setFocusedControl(agenda_, false);
            break;
        case View::Editor:
            setPage(page::Editor);
            break;
        case View::NewTrip:
            name_->setText(L"");
            setPage(page::NewTrip);
            setFocusedControl(name_, false);
            break;
    }
    refreshMenu();
    updateReadout();
    invalidate(false);
}

void ItineraryScreen::refreshMenu() {
    using ui::MenuEntry;
    namespace kind = ui::menuKind;
    namespace parent = ui::menuParent;
    switch (state_->view) {
        case View::Trips: {
            const bool onTrip = tripList_->currentRow() >= 2;
            menu_ = {
                {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Menu},
                {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Options},
                {kind::Right, 0, itineraryCommand::NewTrip, text::NewTrip},
                {kind::Right, 0, itineraryCommand::OpenTrip, text::Open, 1, 0, false, onTrip},
                {kind::Right, 0, itineraryCommand::DeleteTrip, text::DeleteTripItem, 1, 0, false,
                 onTrip},
                {kind::Right, 0, ui::kSeparatorCommand, 0},
                {kind::Right, 0, ui::command::Back, text::Back},
            };
            break;
        }
        case View::Agenda: {
            const AgendaRow* row = agenda_->selected();
            const bool onEvent = row && !row->isHeading();
            menu_ = {
                {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Menu},
                {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Options},
                {kind::Right, 0, 120, text::NewFlight},
                {kind::Right, 0, 124, text::NewCar},
                {kind::Right, 0, 122, text::NewHotel},
                {kind::Right, 0, 123, text::NewJourney},
                {kind::Right, 0, 121, text::NewMeeting},
                {kind::Right, 0, 125, text::NewNote},
                {kind::Right, 0, ui::kSeparatorCommand, 0},
                {kind::Right, 0, itineraryCommand::Edit, text::Edit, 1, 0, false, onEvent},
                {kind::Right, 0, itineraryCommand::DeleteEntry, text::DeleteEntryItem, 1, 0, false,
                 onEvent},
                {kind::Right, 0, itineraryCommand::ShowInCalendar, text::ShowInCalendar},
                {kind::Right, 0, ui::kSeparatorCommand, 0},
                {kind::Right, 0, ui::command::Back, text::Back},
            };
            break;
        }
        case View::Editor:
        case View::NewTrip:
            menu_ = {
                {kind::Left, parent::SoftKey, ui::command::LeftSoftKey, text::Ok},
                {kind::Right, parent::SoftKey, ui::command::RightSoftKey, text::Cancel},
            };
            break;
    }
    if (isActive)
        host_.setMenuBar(menu_);
}

std::span<const ui::MenuEntry> ItineraryScreen::menuEntries() const {
    return menu_;
}

void ItineraryScreen::reloadTrips() {
    tripList_->setRows(tripRows(listTrips(itineraryFolder(host_.mainPath()))));
    tripList_->selectRow(std::clamp(state_->tripRow, 1, tripList_->rowCount()), false);
    refreshMenu();
    updateReadout();
}

void ItineraryScreen::openTrip(const std::wstring& name) {
    trip_ = loadTrip(itineraryFolder(host_.mainPath()), name);
    if (!trip_)
        return;
    if (state_->trip != name)
        state_->agendaRow = 0;
    state_->trip = name;
    agendaTitle_->setText(language(text::Itinerary) + L": " + name);
    reloadAgenda();
    showView(View::Agenda);
}

void ItineraryScreen::reloadAgenda() {
    agenda_->setRows(buildAgenda(*trip_, deviceLocalTime(), airlines_, languageTexts()));
    if (state_->agendaRow > 0)
        agenda_->selectRow(std::min(state_->agendaRow, agenda_->rowCount()), false);
    agendaEmpty_->setText(trip_->entries.empty() ? language(text::NoEntries) : L"");
    refreshMenu();
    updateReadout();
}

void ItineraryScreen::deleteTrip() {
    const int row = tripList_->currentRow();
    if (row < 2)
        return;
    const std::wstring name = tripList_->rows().row(row).name;
    const std::wstring question = core::formatText(language(text::DeleteTrip), name);
    if (core::showMessageBox(question, host_.programName(), mb::YesNo | mb::IconQuestion) !=
        id::Yes)
        return;
    const std::wstring folder = itineraryFolder(host_.mainPath());
    if (core::showMessageBox(language(text::AlsoAppointments), host_.programName(),
                             mb::YesNo | mb::IconQuestion) == id::Yes) {
        if (auto trip = loadTrip(folder, name))
            removeTripAppointments(*trip);
    }
    deleteTripFile(folder, name);
    reloadTrips();
}

bool ItineraryScreen::createTrip() {
    const std::wstring name = name_->text();
    if (!isAcceptableTripName(name)) {
        core::showExclamation(language(text::BadName), host_.programName());
        return false;
    }
    const std::wstring folder = itineraryFolder(host_.mainPath());
    if (tripExists(folder, name)) {
        core::showMessageBox(language(text::TripExists), host_.programName(),
                             mb::Ok | mb::IconInformation);
        return false;
    }
    Trip trip;
    trip.name = name;
    if (const core::RecordTable* icons = icon_->table(); icons && icons->currentRow() > 0)
        trip.icon = std::wstring(icons->fieldText(icons->currentRow(), 2));
    if (!saveTrip(folder, trip))
        return false;
    reloadTrips();
    openTrip(name);
    return true;
}

void ItineraryScreen::editEntry(int entry, std::optional<EntryKind> newKind) {
    if (!trip_)
        return;
    if (newKind) {
        editing_ = newEntry(*newKind, deviceLocalTime());
        state_->entry = 0;
    } else if (entry >= 1 && entry <= static_cast<int>(trip_->entries.size())) {
        editing_ = trip_->entries[static_cast<std::size_t>(entry - 1)];
        state_->entry = entry;
    } else {
        return;
    }
    state_->kind = editing_.kind;
    editorTitle_->setText(state_->entry == 0
                              ? language(newEntryString(editing_.kind))
                              : language(text::Edit) + L": " + editing_.text(entryField::Title));
    fillEditor(editing_);
    showView(View::Editor);
    setFocusedControl(fieldEdits_[0], false);
}

void ItineraryScreen::fillEditor(const TripEntry& entry) {
    startDate_->setTime(entry.start);
    startTime_->setTime(entry.start);
    endDate_->setTime(entry.end);
    endTime_->setTime(entry.end);
    reminder_->table()->setCurrentRow(reminderRow(entry.reminder));
    const auto fields = editorFields(entry.kind);
    for (std::size_t i = 0; i < fieldEdits_.size(); ++i) {
        const bool used = i < fields.size();
        const int pageNumber = !used ? page::Unused : i < 2 ? page::Editor : page::EditorMore;
        fieldLabels_[i]->page = fieldEdits_[i]->page = pageNumber;
        fieldLabels_[i]->setText(used ? language(fields[i].label) : L"");
        fieldEdits_[i]->setText(used ? entry.text(fields[i].field) : L"");
    }
    more_->page = fields.size() > 2 ? page::Editor : page::Unused;
    // The pages of the fields changed: the native fields follow when the page is set.
    currentPage = page::Unused;
}

bool ItineraryScreen::saveEditor() {
    TripEntry entry = editing_;
    entry.start = joined(startDate_->time(), startTime_->time());
    entry.end = joined(endDate_->time(), endTime_->time());
    entry.reminder = reminderMinutes(reminder_->table()->currentRow());
    const auto fields = editorFields(entry.kind);
    for (std::size_t i = 0; i < fields.size(); ++i)
        entry.setText(fields[i].field, fieldEdits_[i]->text());
    if (int problem = entryProblem(entry)) {
        core::showExclamation(language(problem), host_.programName());
        return false;
    }
    mirrorEntry(trip_->name, entry, languageTexts());
    if (state_->entry == 0)
        trip_->entries.push_back(entry);
    else
        trip_->entries[static_cast<std::size_t>(state_->entry - 1)] = entry;
    saveTrip(itineraryFolder(host_.mainPath()), *trip_);
    trip_->droppedLines = trip_->repairedEntries = 0;
    return true;
}

void ItineraryScreen::deleteEntry() {
    const AgendaRow* row = agenda_->selected();
    if (!trip_ || !row || row->isHeading() || row->entry < 1 ||
        row->entry > static_cast<int>(trip_->entries.size()))
        return;
    const int entry = row->entry;
    if (core::showMessageBox(language(text::DeleteEntry), host_.programName(),
                             mb::YesNo | mb::IconQuestion) != id::Yes)
        return;
    removeEntryAppointments(trip_->entries[static_cast<std::size_t>(entry - 1)]);
    trip_->entries.erase(trip_->entries.begin() + entry - 1);
    saveTrip(itineraryFolder(host_.mainPath()), *trip_);
    trip_->droppedLines = trip_->repairedEntries = 0;
    reloadAgenda();
}

void ItineraryScreen::showInCalendar() {
    const AgendaRow* row = agenda_->selected();
    if (!row || row->isHeading() || row->appointment == 0 ||
        !platform::displayAppointment(row->appointment))
        core::showExclamation(language(text::NoAppointment), host_.programName());
}

bool ItineraryScreen::controlPressed(ui::Control& control) {
    if (&control == more_) {
        setPage(page::EditorMore);
        setFocusedControl(fieldEdits_[2], false);
        return true;
    }
    if (&control == less_) {
        setPage(page::Editor);
        return true;
    }
    return ui::Module::controlPressed(control);
}

bool ItineraryScreen::command(std::uint32_t commandId, std::intptr_t) {
    const View view = state_->view;
    if (commandId == ui::command::Back) {
        if (view == View::Trips)
            return false;
        if (view == View::Agenda) {
            reloadTrips();
            showView(View::Trips);
        } else {
            command(ui::command::RightSoftKey, 0);
        }
        return true;
    }
    if (view == View::Editor || view == View::NewTrip) {
        if (commandId == ui::command::LeftSoftKey) {
            if (view == View::NewTrip) {
                createTrip();
            } else if (saveEditor()) {
                reloadAgenda();
                showView(View::Agenda);
            }
            return true;
        }
        if (commandId == ui::command::RightSoftKey) {
            showView(view == View::NewTrip ? View::Trips : View::Agenda);
            return true;
        }
        return false;
    }
    if (commandId == ui::command::LeftSoftKey) {
        host_.showMainMenu(true);
        return true;
    }
    if (view == View::Trips) {
        switch (commandId) {
            case itineraryCommand::NewTrip:
                showView(View::NewTrip);
                return true;
            case itineraryCommand::OpenTrip:
                if (tripList_->currentRow() >= 2)
                    openTrip(tripList_->rows().row(tripList_->currentRow()).name);
                return true;
            case itineraryCommand::DeleteTrip:
                deleteTrip();
                return true;
            default:
                return false;
        }
    }
    if (auto kind = kindOfNewCommand(commandId)) {
        editEntry(0, kind);
        return true;
    }
    switch (commandId) {
        case itineraryCommand::Edit:
            if (const AgendaRow* row = agenda_->selected(); row && !row->isHeading())
                editEntry(row->entry, std::nullopt);
            return true;
        case itineraryCommand::DeleteEntry:
            deleteEntry();
            return true;
        case itineraryCommand::ShowInCalendar:
            showInCalendar();
            return true;
        default:
            return false;
    }
}

void ItineraryScreen::updateReadout() {
    std::wstring out;
    switch (state_->view) {
        case View::Trips:
            out = L"trips";
            for (const auto& r : tripList_->rows().rows()) out += L"\n" + r.text;
            out += L"\nselected " + std::to_wstring(tripList_->currentRow());
            break;
        case View::Agenda:
            out = L"agenda " + state_->trip;
            for (const AgendaRow& r : agenda_->rows())
                out += L"\n" + (r.isHeading() ? L"== " + r.text
                                              : r.time + L" " + r.text + L" #" +
                                                    std::to_wstring(r.appointment));
            out += L"\nselected " + std::to_wstring(agenda_->currentRow());
            break;
        case View::Editor:
            out = L"editor " + std::to_wstring(static_cast<int>(state_->kind)) + L" entry " +
                  std::to_wstring(state_->entry);
            break;
        case View::NewTrip:
            out = L"new trip";
            break;
    }
    state_->readout = out;
}

}  // namespace travel
