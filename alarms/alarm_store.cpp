#include "alarms/alarm_store.h"

#include <algorithm>
#include <limits>

#include "core/settings.h"
#include "core/text_case.h"
#include "platform/api/device.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace alarms {
namespace {

using platform::SystemTime;

std::wstring armingArguments(std::wstring_view name) {
    return std::wstring(kAlarmSwitch) + std::wstring(name);
}

void clearNotification(platform::NotificationHandle handle) {
    if (handle == 0)
        return;
    platform::clearUserNotification(handle);
    platform::flushNotificationDatabase();
}

std::optional<std::int64_t> ticksOf(const SystemTime& t) {
    return worldtime::fileTicks(t);
}

// An alarm kept in a city's time needs the zone table. The main program loads it at start;
// the alarm program, which only needs it for such an alarm, has it loaded here.
void ensureZoneTable(const AlarmRecord& r) {
    if (r.zone == kDeviceZone || !worldtime::zoneTable().empty())
        return;
    if (auto mainPath = core::readMainPath())
        worldtime::loadZones(*mainPath);
}

}  // namespace

bool isValidAlarmName(std::wstring_view name) {
    std::wstring stored = storedText(name);
    if (stored.empty() || stored.size() > kMaxAlarmNameLength || stored.size() != name.size())
        return false;
    return std::any_of(stored.begin(), stored.end(), [](wchar_t c) { return c != L' '; });
}

platform::NotificationRecord alarmNotification(std::wstring_view arguments,
                                               const SystemTime& start) {
    platform::NotificationRecord record;
    record.kind = platform::NotificationKind::Time;
    record.application = kAlarmProgramPath;
    record.arguments = arguments;
    record.start = start;
    record.start.second = 0;
    record.start.milliseconds = 0;
    return record;
}

std::vector<MissedAlarm> missedAlarms() {
    std::vector<MissedAlarm> missed;
    for (const auto& run : platform::notificationRunLog()) {
        if (run.outcome != platform::NotificationOutcome::Missed)
            continue;
        if (!core::equalsIgnoringCase(run.record.application, kAlarmProgramPath))
            continue;
        std::wstring_view args = run.record.arguments;
        MissedAlarm m;
        if (args.starts_with(kAlarmSwitch)) {
            m.name = args.substr(kAlarmSwitch.size());
        } else if (args.starts_with(kSnoozeSwitch)) {
            m.name = args.substr(kSnoozeSwitch.size());
            m.snooze = true;
        } else if (args != kQuickSwitch) {
            continue;
        }
        m.due = run.record.start;
        m.ranAt = run.ranAt;
        missed.push_back(std::move(m));
    }
    return missed;
}

int zoneOfCity(const core::RecordTable& favourites, std::wstring_view city) {
    if (city.empty() || city == kDeviceCity)
        return kDeviceZone;
    int row = favourites.find(2, city);
    return row ? favourites.fieldInt(row, 1) : 0;
}

AlarmStore::AlarmStore(std::wstring folder) : folder_(std::move(folder)) {
    reload();
}

void AlarmStore::reload() {
    std::wstring selected = current() ? name() : std::wstring();
    table_ = core::RecordTable(alarmField::Count);
    table_.load(folder_, kAlarmStoreName, L'~', true);
    table_.setCurrentRow(0);
    if (!selected.empty())
        select(selected);
}

void AlarmStore::clearSelection() {
    table_.setCurrentRow(0);
}

int AlarmStore::find(std::wstring_view name) const {
    if (name.empty())
        return 0;
    return table_.find(alarmField::Name, name, true);
}

bool AlarmStore::select(std::wstring_view name) {
    int row = find(name);
    table_.setCurrentRow(row);
    return row != 0;
}

AlarmRecord AlarmStore::record(int row) const {
    int r = row == 0 ? current() : row;
    if (r < 1 || r > rowCount())
        return AlarmRecord{};
    return readAlarmRecord(table_, r);
}

std::wstring AlarmStore::name(int row) const {
    return record(row).name;
}
std::wstring AlarmStore::message(int row) const {
    return record(row).message;
}

std::optional<std::wstring> AlarmStore::cityName(int row) const {
    AlarmRecord r = record(row);
    if (!r.hasCity())
        return std::nullopt;
    return r.city;
}

RepeatKind AlarmStore::repeatKind(int row) const {
    return record(row).kind;
}
platform::NotificationHandle AlarmStore::handle(int row) const {
    return record(row).handle;
}

bool AlarmStore::isArmed(int row) const {
    platform::NotificationHandle h = handle(row);
    return h != 0 && platform::userNotificationSize(h) != 0;
}

std::optional<SystemTime> AlarmStore::armedStart(int row) const {
    platform::NotificationHandle h = handle(row);
    if (h == 0 || platform::userNotificationSize(h) == 0)
        return std::nullopt;
    auto n = platform::userNotification(h);
    if (!n || !platform::isValidSystemTime(n->start))
        return std::nullopt;
    return n->start;
}

bool AlarmStore::save() const {
    if (!table_.empty() && !platform::folderExists(folder_))
        platform::createFolder(folder_);
    return table_.save(folder_, kAlarmStoreName, L'~');
}

bool AlarmStore::refreshSelected(const std::wstring& name) {
    if (name.empty())
        return false;
    reload();
    return select(name);
}

void AlarmStore::forgetArming(int row) {
    table_.setField(row, alarmField::Handle, L"0");
    table_.setField(row, alarmField::ArmedDate, L"0");
    table_.setField(row, alarmField::ArmedTime, L"0");
}

void AlarmStore::disarmCurrent() {
    clearNotification(handle());
    table_.setField(current(), alarmField::Handle, L"0");
}

RepeatResult occurrenceAfter(const AlarmRecord& r, const SystemTime& now, RepeatCaller caller) {
    RepeatResult result;
    if (r.kind == RepeatKind::Once) {
        auto start = startDateTime(r);
        if (start) {
            start->second = 0;
            start->milliseconds = 0;
        }
        if (start && r.zone != kDeviceZone)
            start = worldtime::zoneToDevice(*start, r.zone);
        auto at = start ? ticksOf(*start) : std::nullopt;
        auto nowTicks = ticksOf(now);
        if (!at || !nowTicks)
            return result;
        result.time = *start;
        // A one-off moment that has passed would only be reported as missed.
        result.status = *at > *nowTicks ? RepeatStatus::Found : RepeatStatus::Exhausted;
        return result;
    }
    if (r.timeOfDayMs < 0 || r.timeOfDayMs >= 24 * 3600000)
        return result;
    SystemTime ringAt = now;
    ringAt.hour = static_cast<std::uint16_t>(r.hour());
    ringAt.minute = static_cast<std::uint16_t>(r.minute());
    return getNextRepeatingTimeAt(ringAt, r, r.zone, armedOccurrence(r), now, caller);
}

ArmResult AlarmStore::armCurrent(RepeatCaller caller) {
    int row = current();
    if (row == 0)
        return ArmResult::NoAlarm;
    AlarmRecord r = record(row);
    clearNotification(r.handle);
    r.handle = 0;
    ensureZoneTable(r);
    RepeatResult next = occurrenceAfter(r, platform::deviceLocalTime(), caller);
    lastRepeatStatus_ = next.status;
    std::optional<SystemTime> at;
    if (next.status == RepeatStatus::Found)
        at = next.time;
    ArmResult result = ArmResult::NoOccurrence;
    if (at) {
        r.handle =
            platform::setUserNotification(0, alarmNotification(armingArguments(r.name), *at));
        platform::flushNotificationDatabase();
        result = r.handle ? ArmResult::Armed : ArmResult::Refused;
    }
    writeAlarmRecord(table_, row, r);
    if (r.handle) {
        table_.setField(row, alarmField::ArmedDate, dateText({at->day, at->month, at->year}));
        table_.setField(row, alarmField::ArmedTime, clockText({at->hour, at->minute}));
    } else {
        forgetArming(row);
    }
    if (!save()) {
        // A notification the store does not name could never be switched off.
        clearNotification(r.handle);
        return ArmResult::NotSaved;
    }
    return result;
}

ArmResult AlarmStore::arm() {
    if (!refreshSelected(name()))
        return ArmResult::NoAlarm;
    return armCurrent(RepeatCaller::MainProgram);
}

bool AlarmStore::disarm() {
    if (!refreshSelected(name()))
        return false;
    disarmCurrent();
    return save();
}

ArmResult AlarmStore::skipOrOff() {
    if (!refreshSelected(name()))
        return ArmResult::NoAlarm;
    disarmCurrent();
    if (!isRepeating(repeatKind()))
        return save() ? ArmResult::Off : ArmResult::NotSaved;
    return armCurrent(RepeatCaller::MainProgram);
}

bool AlarmStore::remove() {
    if (!refreshSelected(name()))
        return false;
    disarmCurrent();
    table_.removeRow(current());
    table_.setCurrentRow(0);
    return save();
}

int AlarmStore::nextAlarm() const {
    // One read of the live handles instead of two per alarm: an armed alarm's start is the
    // occurrence the store wrote beside its handle when it armed it. Only a row whose
    // occurrence is unreadable fetches its notification.
    auto handles = platform::userNotificationHandles();
    std::sort(handles.begin(), handles.end());
    int best = 0;
    std::int64_t bestTicks = std::numeric_limits<std::int64_t>::max();
    for (int row = 1; row <= rowCount(); ++row) {
        AlarmRecord r = record(row);
        if (r.handle == 0 || !std::binary_search(handles.begin(), handles.end(), r.handle))
            continue;
        std::optional<SystemTime> start = armedOccurrence(r);
        if (!start) {
            auto n = platform::userNotification(r.handle);
            if (!n)
                continue;
            start = n->start;
        }
        auto ticks = ticksOf(*start);
        if (ticks && *ticks < bestTicks) {
            best = row;
            bestTicks = *ticks;
        }
    }
    return best;
}

EditResult AlarmStore::saveEdited(const AlarmRecord& edited) {
    if (!isValidAlarmName(edited.name))
        return EditResult::InvalidName;
    if (!refreshSelected(name()))
        return EditResult::NoAlarm;
    int other = find(edited.name);
    if (other != 0 && other != current())
        return EditResult::DuplicateName;
    disarmCurrent();
    AlarmRecord r = edited;
    r.handle = 0;
    r.armedDate.reset();
    r.armedTime.reset();
    writeAlarmRecord(table_, current(), r);
    switch (armCurrent(RepeatCaller::MainProgram)) {
        case ArmResult::Armed:
            return EditResult::Saved;
        case ArmResult::NotSaved:
            return EditResult::NotSaved;
        default:
            return EditResult::SavedUnarmed;
    }
}

EditResult AlarmStore::addNew(const AlarmRecord& added) {
    if (!isValidAlarmName(added.name))
        return EditResult::InvalidName;
    reload();
    if (find(added.name) != 0)
        return EditResult::DuplicateName;
    AlarmRecord r = added;
    r.handle = 0;
    r.armedDate.reset();
    r.armedTime.reset();
    int row = table_.appendRow();
    table_.setCurrentRow(row);
    writeAlarmRecord(table_, row, r);
    switch (armCurrent(RepeatCaller::MainProgram)) {
        case ArmResult::Armed:
            return EditResult::Saved;
        case ArmResult::NotSaved:
            return EditResult::NotSaved;
        default:
            return EditResult::SavedUnarmed;
    }
}

ArmResult AlarmStore::rearmAfterRinging(std::wstring_view name) {
    reload();
    if (!select(name))
        return ArmResult::NoAlarm;
    if (!isRepeating(repeatKind())) {
        forgetArming(current());
        return save() ? ArmResult::Off : ArmResult::NotSaved;
    }
    return armCurrent(RepeatCaller::AlarmProgram);
}

}  // namespace alarms
