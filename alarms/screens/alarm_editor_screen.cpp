#include "alarms/screens/alarm_editor_screen.h"

#include <algorithm>

#include "alarms/alarm_player.h"
#include "alarms/screens/alarm_editor_layout.h"
#include "alarms/screens/alarm_texts.h"
#include "alarms/screens/day_boxes.h"
#include "alarms/screens/editor_scroll_bar.h"
#include "alarms/screens/sound_list.h"
#include "alarms/settings_keys.h"
#include "core/format.h"
#include "core/language.h"
#include "core/message_box.h"
#include "core/settings_key.h"
#include "gfx/display_metrics.h"
#include "platform/api/shell.h"
#include "ui/control_paint.h"
#include "ui/date_time_picker.h"
#include "ui/drop_down.h"
#include "ui/edit_field.h"
#include "ui/label.h"
#include "ui/module_ids.h"
#include "ui/text_button.h"
#include "worldtime/cities.h"
#include "worldtime/zones.h"

namespace alarms {

using namespace platform;
using namespace alarmEditId;

namespace {

namespace text {
constexpr int Cancel = 18, DefaultName = 44, DefaultMessage = 45, FirstKind = 46, DeviceTime = 53,
              CityTime = 54, FirstVolume = 55, FirstRing = 62, FirstSnooze = 67, DateCaption = 72,
              DaysCaption = 73, Stop = 74, Play = 75, Save = 76, Duplicate = 77, Refused = 78,
              January = 629, NoName = 106;
}

constexpr int kKinds = 7, kVolumes = 7, kRingTimes = 5, kSnoozes = 5;
constexpr int kDefaultKind = 4, kDefaultSnooze = 2;
// A preview plays as long as the alarm program's own preview.
constexpr int kPreviewSeconds = 10;
constexpr std::uint32_t kTextFieldLimit = 100;

const ui::MenuEntry kMenu[] = {
    {ui::menuKind::Left, ui::menuParent::SoftKey, ui::command::LeftSoftKey, text::Save},
    {ui::menuKind::Right, ui::menuParent::SoftKey, ui::command::RightSoftKey, text::Cancel},
};

// A one-field table of consecutive language strings.
std::unique_ptr<core::RecordTable> stringTable(int first, int count) {
    auto table = std::make_unique<core::RecordTable>(1);
    for (int i = 0; i < count; ++i)
        table->setField(table->appendRow(), 1, core::languageString(first + i));
    return table;
}

void setEnabled(ui::Control* control, bool enabled) {
    if (!control || control->isEnabled == enabled)
        return;
    control->isEnabled = enabled;
    if (WindowHandle window = control->nativeWindow())
        enableWindow(window, enabled);
    control->invalidate();
}

void setVisible(ui::Control* control, bool visible) {
    if (control && control->isVisible != visible)
        control->show(visible, true);
}

SystemTime todayAt(int hour, int minute) {
    SystemTime t = deviceLocalTime();
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = 0;
    t.milliseconds = 0;
    return t;
}

}  // namespace

AlarmEditorScreen::AlarmEditorScreen(ui::ModuleHost& host, std::shared_ptr<AlarmScreensState> state)
    : ui::Module(host), host_(host), state_(std::move(state)) {}

AlarmEditorScreen::~AlarmEditorScreen() {
    stopPreview();
}

void AlarmEditorScreen::build() {
    EditorLayout layout = editorLayout();
    contentHeight_ = layout.contentHeight;
    ui::buildLayout(*this, layout.records,
                    [this](const ui::LayoutRecord& r) -> std::unique_ptr<ui::Control> {
                        if (r.type == alarmEditType::DayBoxes)
                            return std::make_unique<DayBoxes>();
                        if (r.type == alarmEditType::ScrollBar)
                            return std::make_unique<EditorScrollBar>();
                        return nullptr;
                    });
    rebuildIdIndex();
    days_ = findControl<DayBoxes>(Days);
    scrollBar_ = findControl<EditorScrollBar>(ScrollBar);
    if (scrollBar_) {
        scrolls = true;
        scrollBar_->onScroll = [this](int dy) { scrollBy(dy); };
        placeScrollBar();
    }
    for (int id : {Name, Message}) findControl<ui::EditField>(id)->setLimit(kTextFieldLimit);
    fillLists();

    state_->store().reload();
    isNew_ = state_->store().current() == 0;
    if (isNew_) {
        AlarmRecord fresh;
        fresh.name = core::languageString(text::DefaultName);
        fresh.message = core::languageString(text::DefaultMessage);
        fresh.kind = static_cast<RepeatKind>(kDefaultKind);
        SystemTime now = deviceLocalTime();
        fresh.timeOfDayMs = (now.hour * 3600 + now.minute * 60) * 1000;
        fresh.startDate = {now.day, now.month, now.year};
        fresh.snooze = kDefaultSnooze;
        fill(fresh);
    } else {
        AlarmRecord record = state_->store().record();
        editedName_ = record.name;
        fill(record);
    }
    setFocusedControl(findControl(Name), false);
}

void AlarmEditorScreen::fillLists() {
    auto adopt = [this](int id, std::unique_ptr<core::RecordTable> table) {
        if (ui::DropDown* d = list(id)) {
            table->setCurrentRow(1);
            d->adoptTable(std::move(table));
        }
    };
    adopt(Repeat, stringTable(text::FirstKind, kKinds));
    auto days = std::make_unique<core::RecordTable>(1);
    for (int day = 1; day <= 31; ++day) days->setField(days->appendRow(), 1, dayListItem(day));
    adopt(DayOfMonth, std::move(days));
    adopt(Month, stringTable(text::January, 12));
    // The city list: the device's own time, then each favourite; field 2 keeps the name.
    auto cities = std::make_unique<core::RecordTable>(2);
    int first = cities->appendRow();
    cities->setField(first, 1, core::languageString(text::DeviceTime));
    cities->setField(first, 2, kDeviceCity);
    if (state_->favourites) {
        const core::RecordTable& favourites = state_->favourites->table();
        std::wstring format = core::languageString(text::CityTime);
        for (int row = 1; row <= favourites.rowCount(); ++row) {
            std::wstring_view name = favourites.fieldText(row, worldtime::cityField::Name);
            int added = cities->appendRow();
            cities->setField(added, 1, core::formatText(format, name));
            cities->setField(added, 2, name);
        }
    }
    adopt(City, std::move(cities));
    adopt(Sound, std::make_unique<core::RecordTable>(buildSoundList(host_.mainPath())));
    adopt(Volume, stringTable(text::FirstVolume, kVolumes));
    adopt(Ring, stringTable(text::FirstRing, kRingTimes));
    adopt(Snooze, stringTable(text::FirstSnooze, kSnoozes));
}

ui::DropDown* AlarmEditorScreen::list(int id) const {
    return findControl<ui::DropDown>(id);
}

int AlarmEditorScreen::selection(int id) const {
    ui::DropDown* d = list(id);
    return d && d->table() ? std::max(1, d->table()->currentRow()) : 1;
}

void AlarmEditorScreen::select(int id, int row) {
    ui::DropDown* d = list(id);
    if (!d || !d->table())
        return;
    // A choice outside the list becomes its first entry.
    if (row < 1 || row > d->table()->rowCount())
        row = 1;
    d->table()->setCurrentRow(row);
    d->invalidate();
}

void AlarmEditorScreen::fill(const AlarmRecord& record) {
    findControl<ui::EditField>(Name)->setText(record.name);
    findControl<ui::EditField>(Message)->setText(record.message);
    int kind = static_cast<int>(record.kind);
    select(Repeat, kind);
    findControl<ui::DateTimePicker>(Time)->setTime(
        todayAt(std::clamp(record.hour(), 0, 23), std::clamp(record.minute(), 0, 59)));
    days_->setSingleChoice(false);
    days_->setMask(record.dayMask);
    SystemTime date{static_cast<std::uint16_t>(record.startDate.year),
                    static_cast<std::uint16_t>(record.startDate.month), 0,
                    static_cast<std::uint16_t>(record.startDate.day)};
    auto* datePicker = findControl<ui::DateTimePicker>(Date);
    if (!isValidSystemTime(date) || !datePicker->setTime(date))
        datePicker->setTime(todayAt(0, 0));
    select(DayOfMonth, record.dayOfMonth);
    select(Month, record.month);
    int cityRow = 1;
    if (record.hasCity()) {
        if (ui::DropDown* cities = list(City); cities && cities->table())
            cityRow = std::max(1, cities->table()->find(2, record.city));
    }
    select(City, cityRow);
    if (ui::DropDown* sounds = list(Sound); sounds && sounds->table())
        select(Sound, soundRowOf(*sounds->table(), record.soundName));
    select(Volume, record.volume);
    select(Ring, record.ringTime);
    select(Snooze, record.snooze);
    applyKind(selection(Repeat));
}

AlarmRecord AlarmEditorScreen::collect() const {
    AlarmRecord record;
    record.name = findControl<ui::EditField>(Name)->text();
    record.message = findControl<ui::EditField>(Message)->text();
    int cityRow = selection(City);
    const core::RecordTable* cities = list(City)->table();
    record.city =
        cityRow > 1 ? std::wstring(cities->fieldText(cityRow, 2)) : std::wstring(kDeviceCity);
    record.zone =
        state_->favourites ? zoneOfCity(state_->favourites->table(), record.city) : kDeviceZone;
    if (!record.hasCity())
        record.zone = kDeviceZone;
    const core::RecordTable* sounds = list(Sound)->table();
    int soundRow = selection(Sound);
    record.soundName = sounds->fieldText(soundRow, soundField::Name);
    record.soundPath = sounds->fieldText(soundRow, soundField::Path);
    record.kind = static_cast<RepeatKind>(selection(Repeat));
    SystemTime time = findControl<ui::DateTimePicker>(Time)->time();
    // The picker shows hours and minutes; an alarm rings on the minute.
    record.timeOfDayMs = (time.hour * 3600 + time.minute * 60) * 1000;
    record.dayMask = days_->mask();
    SystemTime date = findControl<ui::DateTimePicker>(Date)->time();
    record.startDate = {date.day, date.month, date.year};
    record.dayOfMonth = selection(DayOfMonth);
    record.month = selection(Month);
    record.volume = selection(Volume);
    record.ringTime = selection(Ring);
    record.snooze = selection(Snooze);
    return record;
}

void AlarmEditorScreen::applyKind(int kind) {
    bool once = kind == 1;
    bool daysShown = kind == 2 || kind == 3 || kind == 4 || kind == 7;
    days_->setSingleChoice(kind == 3);
    setVisible(days_, daysShown);
    // The date and its "Today" button share the day boxes' place.
    for (int id : {Date, Today}) {
        setVisible(findControl(id), !daysShown);
        setEnabled(findControl(id), once);
    }
    setEnabled(findControl(DayOfMonth), kind == 5 || kind == 6);
    setEnabled(findControl(Month), kind == 6);
    if (auto* caption = findControl<ui::Label>(DateCaption))
        caption->setStringNumber(kind == 1 || kind == 5 ? text::DateCaption : text::DaysCaption);
    invalidate(false);
}

std::optional<SystemTime> AlarmEditorScreen::oneOffMoment(const AlarmRecord& record) const {
    SystemTime at{static_cast<std::uint16_t>(record.startDate.year),
                  static_cast<std::uint16_t>(record.startDate.month),
                  0,
                  static_cast<std::uint16_t>(record.startDate.day),
                  static_cast<std::uint16_t>(record.hour()),
                  static_cast<std::uint16_t>(record.minute())};
    if (!isValidSystemTime(at))
        return std::nullopt;
    if (record.zone == kDeviceZone)
        return at;
    return worldtime::zoneToDevice(at, record.zone);
}

bool AlarmEditorScreen::timeAndDaysAccepted(const AlarmRecord& record) const {
    switch (static_cast<int>(record.kind)) {
        case 1: {
            std::optional<SystemTime> moment = oneOffMoment(record);
            std::optional<FileTime> at = moment ? toFileTime(*moment) : std::nullopt;
            std::optional<FileTime> now = toFileTime(deviceLocalTime());
            return at && now && *at > *now;
        }
        // Weekly and chosen-day alarms ring only on ticked days: without one they would
        // never ring, so they are refused like a time in the past.
        case 3:
        case 7:
            return record.dayMask != 0;
        default:
            return true;
    }
}

EditorRefusal AlarmEditorScreen::save() {
    AlarmRecord record = collect();
    auto refuse = [this](int string, std::uint32_t icon, int focusId) {
        core::showMessageBox(core::languageString(string), host_.programName(), mb::Ok | icon);
        if (focusId)
            setFocusedControl(findControl(focusId), true);
    };
    if (!isValidAlarmName(record.name)) {
        refuse(text::NoName, mb::IconInformation, Name);
        return EditorRefusal::InvalidName;
    }
    if (!timeAndDaysAccepted(record)) {
        refuse(text::Refused, mb::IconInformation, 0);
        return EditorRefusal::PastOrNoDays;
    }
    AlarmStore& store = state_->store();
    store.reload();
    int sameName = store.find(record.name);
    bool ownName = !isNew_ && sameName != 0 && sameName == store.find(editedName_);
    if (sameName != 0 && !ownName) {
        refuse(text::Duplicate, mb::IconInformation, Name);
        return EditorRefusal::DuplicateName;
    }
    stopPreview();
    // An alarm that another program deleted meanwhile is stored as a new one.
    EditResult result =
        !isNew_ && store.select(editedName_) ? store.saveEdited(record) : store.addNew(record);
    switch (result) {
        case EditResult::DuplicateName:
            refuse(text::Duplicate, mb::IconInformation, Name);
            return EditorRefusal::DuplicateName;
        case EditResult::InvalidName:
            refuse(text::NoName, mb::IconInformation, Name);
            return EditorRefusal::InvalidName;
        case EditResult::NoAlarm:
        case EditResult::NotSaved:
            core::showExclamation(L"Alarm Set Error", L"Alarm");
            return EditorRefusal::NotStored;
        case EditResult::SavedUnarmed:
            if (store.lastRepeatStatus() == RepeatStatus::Exhausted)
                core::showExclamation(L"Alarm Set Error", L"Alarm");
            break;
        case EditResult::Saved:
            break;
    }
    state_->listRow = store.find(record.name) + 1;
    returnToList();
    return EditorRefusal::None;
}

void AlarmEditorScreen::cancel() {
    stopPreview();
    returnToList();
}

void AlarmEditorScreen::returnToList() {
    host_.requestModuleLater(ui::moduleId::Alarms);
}

bool AlarmEditorScreen::previewPlaying() const {
    return previewing_ && player_ && player_->ringing();
}

void AlarmEditorScreen::togglePreview() {
    if (previewing_) {
        stopPreview();
        return;
    }
    AlarmRecord record = collect();
    core::settings::write(keys::AlarmVol, record.volume);
    core::settings::write(keys::AlarmSound, record.soundPath);
    if (!player_)
        player_ = std::make_unique<AlarmPlayer>();
    if (!player_->start(record.soundPath, ringVolumeFor(record.volume), kPreviewSeconds))
        return;
    previewing_ = true;
    if (auto* button = findControl<ui::TextButton>(Preview))
        button->setText(core::languageString(text::Stop));
    setTimer(host_.mainWindow(), kPreviewTimer, kPreviewTimerMs);
}

void AlarmEditorScreen::stopPreview() {
    if (!previewing_)
        return;
    previewing_ = false;
    if (player_)
        player_->stop();
    if (host_.mainWindow())
        killTimer(host_.mainWindow(), kPreviewTimer);
    if (auto* button = findControl<ui::TextButton>(Preview))
        button->setText(core::languageString(text::Play));
}

void AlarmEditorScreen::timer(std::uintptr_t id) {
    if (id != kPreviewTimer) {
        ui::Module::timer(id);
        return;
    }
    if (previewing_ && (!player_ || !player_->ringing()))
        stopPreview();
}

void AlarmEditorScreen::show(bool visible, bool focusFirst) {
    if (!visible)
        stopPreview();
    ui::Module::show(visible, focusFirst);
}

bool AlarmEditorScreen::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::LeftSoftKey) {
        save();
        return true;
    }
    if (commandId == ui::command::RightSoftKey) {
        cancel();
        return true;
    }
    return false;
}

void AlarmEditorScreen::controlChanged(ui::Control& control) {
    if (control.id == Repeat)
        applyKind(selection(Repeat));
}

bool AlarmEditorScreen::controlPressed(ui::Control& control) {
    switch (control.id) {
        case Preview:
            togglePreview();
            return true;
        case Now: {
            SystemTime now = deviceLocalTime();
            findControl<ui::DateTimePicker>(Time)->setTime(todayAt(now.hour, now.minute));
            return true;
        }
        case Today:
            findControl<ui::DateTimePicker>(Date)->setTime(todayAt(0, 0));
            return true;
        default:
            return false;
    }
}

bool AlarmEditorScreen::key(std::uint32_t message, std::uint32_t keyCode, LParam) {
    // Up and Down change the time picker's hours and minutes, so Enter takes the focus on
    // to the next control.
    if (keyCode == vk::Return && focusedControl() == findControl(Time)) {
        if (message == wm::KeyDown)
            moveFocus(true);
        return true;
    }
    return false;
}

void AlarmEditorScreen::scrollBy(int dy) {
    if (!scrolls)
        return;
    int view = clientRect(host_.mainWindow()).height();
    int most = std::max(0, contentHeight_ * ui::layoutUnit() - view);
    int target = std::clamp(scrollY + dy, 0, most);
    if (target == scrollY)
        return;
    ui::Module::scrollBy(target - scrollY);
    placeScrollBar();
}

void AlarmEditorScreen::placeScrollBar() {
    if (!scrollBar_)
        return;
    Rect client = clientRect(host_.mainWindow());
    Rect bar = scrollBar_->rect;
    scrollBar_->place({bar.left, 0, bar.right, client.bottom}, nullptr);
    scrollBar_->setRange(contentHeight_ * ui::layoutUnit(), client.height(), scrollY);
}

std::span<const ui::MenuEntry> AlarmEditorScreen::menuEntries() const {
    return kMenu;
}

std::any AlarmEditorScreen::saveState() const {
    return collect();
}

void AlarmEditorScreen::restoreState(const std::any& state) {
    if (const auto* record = std::any_cast<AlarmRecord>(&state))
        fill(*record);
}

}  // namespace alarms
