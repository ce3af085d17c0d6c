#pragma once
// The alarm store: every user alarm in "vornalarms.dat" in "\windows", which the main program,
// the alarm program and the home screen share. An alarm that is on is a timed notification
// starting the alarm program with "/ALARM " and the alarm's name; the store keeps the
// notification's handle and the armed occurrence with the alarm.
//
// Several programs write the store. Every change re-reads the file first, finds its alarm by
// name, changes that row and saves at once (written beside the file and renamed over it), so
// one program's save never undoes another program's recent change of a different alarm.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/alarm_record.h"
#include "alarms/repeat_rules.h"
#include "core/record_table.h"
#include "platform/api/clock.h"
#include "platform/api/notifications.h"

namespace alarms {

constexpr std::wstring_view kAlarmStoreFolder = L"\\windows";
constexpr std::wstring_view kAlarmStoreName = L"vornalarms.dat";
constexpr std::wstring_view kAlarmProgramPath = L"\\windows\\vornalarms.exe";

// The alarm program's argument lines.
constexpr std::wstring_view kAlarmSwitch = L"/ALARM ";
constexpr std::wstring_view kSnoozeSwitch = L"/ALMSZ ";
constexpr std::wstring_view kQuickSwitch = L"/QUICK";
constexpr std::wstring_view kPlaySoundSwitch = L"/PLAYSOUND";

// Longest alarm name the store accepts (characters); the name travels in the notification's
// argument line.
constexpr std::size_t kMaxAlarmNameLength = 100;
// A name the store can keep: not empty once stripped (storedText), at most
// kMaxAlarmNameLength characters, and not only spaces.
bool isValidAlarmName(std::wstring_view name);

// A time notification starting the alarm program with the arguments at the moment (device
// local; seconds and milliseconds are set to 0).
platform::NotificationRecord alarmNotification(std::wstring_view arguments,
                                               const platform::SystemTime& start);

enum class ArmResult {
    Armed,
    Off,           // skipOrOff of a one-off alarm, or a one-off alarm that has rung
    NoOccurrence,  // the repeat search found none ("Alarm Set Error"); stored unarmed
    Refused,       // the notification service refused it; stored unarmed
    NoAlarm,       // no current alarm, or it is gone from the file
    NotSaved,      // the store could not be written
};

enum class EditResult {
    Saved,          // written and armed
    SavedUnarmed,   // written, but arming gave NoOccurrence or Refused (see arm)
    DuplicateName,  // another alarm has this name (ignoring case); nothing stored
    InvalidName,    // see isValidAlarmName; nothing stored
    NoAlarm,        // the edited alarm is gone from the file; nothing stored
    NotSaved,       // the store could not be written
};

// A time notification of the alarm program that came due long before it could ring.
struct MissedAlarm {
    std::wstring name;             // the alarm's name; empty for the quick alarm
    bool snooze = false;           // a snoozed ringing was missed
    platform::SystemTime due{};    // device local
    platform::FileTime ranAt = 0;  // device UTC, when the device handled it
};
// The missed runs in the notification run log, oldest first.
std::vector<MissedAlarm> missedAlarms();

// When an alarm rings next after the moment (device local), as arming computes it: a one-off
// alarm at its date and time in its city's time (Exhausted once that has passed), a
// repeating one by the repeat rules from its armed occurrence (fields 16 and 17; clear them
// for the next occurrence after the moment alone).
RepeatResult occurrenceAfter(const AlarmRecord& record, const platform::SystemTime& now,
                             RepeatCaller caller = RepeatCaller::MainProgram);

class AlarmStore {
  public:
    // Loads folder + "vornalarms.dat" (quote stripping, "~").
    explicit AlarmStore(std::wstring folder = std::wstring(kAlarmStoreFolder));

    // Reads the file again; the selected alarm stays selected by name when it still exists.
    void reload();
    const core::RecordTable& table() const { return table_; }
    int rowCount() const { return table_.rowCount(); }
    // The selected alarm's row, 0 when none.
    int current() const { return table_.currentRow(); }
    // Unselects (the editor's "new alarm" row).
    void clearSelection();

    // Selects the alarm of that name (ignoring case); false and nothing selected when none.
    bool select(std::wstring_view name);
    // The row of the alarm of that name (ignoring case), 0 when none.
    int find(std::wstring_view name) const;

    // Row 0 means the selected alarm.
    AlarmRecord record(int row = 0) const;
    std::wstring name(int row = 0) const;
    std::wstring message(int row = 0) const;
    // Nothing when the alarm keeps the device's own time.
    std::optional<std::wstring> cityName(int row = 0) const;
    RepeatKind repeatKind(int row = 0) const;
    platform::NotificationHandle handle(int row = 0) const;
    // True while the notification service holds the row's notification.
    bool isArmed(int row = 0) const;
    // The start time of the row's armed notification; nothing when it is gone or unreadable.
    std::optional<platform::SystemTime> armedStart(int row = 0) const;

    // The selected alarm. Each re-reads the file, finds the alarm by name, acts and saves.
    ArmResult arm();
    bool disarm();
    // Disarms, and arms a repeating alarm again from its armed occurrence, so it skips that
    // occurrence (Armed); a one-off alarm stays off (Off).
    ArmResult skipOrOff();
    // Disarms and deletes the row; deleting the last alarm deletes the file.
    bool remove();

    // The row whose armed notification starts earliest (the earlier row on a tie); 0 when
    // none is armed. A row counts while the service holds its notification; its start is
    // the occurrence stored with it (fields 16 and 17), which arming writes with the handle.
    int nextAlarm() const;

    // The editor's save. saveEdited writes the record over the selected alarm (disarmed
    // first, its armed occurrence forgotten); addNew appends it and selects it. Field 14 and
    // the handle are written as "0"; then the alarm is armed.
    EditResult saveEdited(const AlarmRecord& record);
    EditResult addNew(const AlarmRecord& record);

    // The alarm program's step as the alarm of that name starts ringing: a one-off alarm is
    // turned off (Off); a repeating one is armed for its next occurrence after the present
    // time at its time of day in its city's time. NoAlarm when the name is unknown.
    ArmResult rearmAfterRinging(std::wstring_view name);

    // Writes the table (an empty one deletes the file).
    bool save() const;

    std::wstring_view folder() const { return folder_; }
    // What the repeat search reported the last time an alarm was armed.
    RepeatStatus lastRepeatStatus() const { return lastRepeatStatus_; }

  private:
    // Re-reads the file and selects `name` again; false when it is gone.
    bool refreshSelected(const std::wstring& name);
    ArmResult armCurrent(RepeatCaller caller);
    void disarmCurrent();
    void forgetArming(int row);

    std::wstring folder_;
    core::RecordTable table_{alarmField::Count};
    RepeatStatus lastRepeatStatus_ = RepeatStatus::Found;
};

// The zone number of a favourite city (field 1 of the favourite whose name, field 2, equals
// the city), 0 when none matches; -1 for the device's own time ("9999").
int zoneOfCity(const core::RecordTable& favourites, std::wstring_view city);

}  // namespace alarms
