#pragma once
// One alarm as the alarm store keeps it: a row of 19 text fields in "vornalarms.dat". The
// record reads a row into typed fields and writes them back in the stored text forms, so
// the main program, the alarm program and the home screen read one another's rows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/record_table.h"
#include "platform/api/clock.h"
#include "platform/api/notifications.h"

namespace alarms {

// Field numbers of a row, from 1 as the record table counts them.
namespace alarmField {
constexpr int Name = 1;
constexpr int Message = 2;
constexpr int City = 3;
constexpr int SoundName = 4;
constexpr int Kind = 5;
constexpr int TimeOfDay = 6;
constexpr int DayMask = 7;
constexpr int StartDate = 8;
constexpr int DayOfMonth = 9;
constexpr int Month = 10;
constexpr int Volume = 11;
constexpr int RingTime = 12;
constexpr int Snooze = 13;
constexpr int Reserved = 14;
constexpr int Handle = 15;
constexpr int ArmedDate = 16;
constexpr int ArmedTime = 17;
constexpr int SoundPath = 18;
constexpr int Zone = 19;
constexpr int Count = 19;
}  // namespace alarmField

// How an alarm repeats (field 5). A stored number outside 1..7 is kept as it is; such an
// alarm never repeats.
enum class RepeatKind : int {
    Once = 1,
    Daily = 2,
    Weekly = 3,
    WorkingDays = 4,
    Monthly = 5,
    Yearly = 6,
    Custom = 7,
};
bool isRepeating(RepeatKind kind);

// Day-mask bits (field 7).
namespace dayBit {
constexpr int Monday = 1;
constexpr int Tuesday = 2;
constexpr int Wednesday = 4;
constexpr int Thursday = 8;
constexpr int Friday = 16;
constexpr int Saturday = 32;
constexpr int Sunday = 64;
constexpr int All = 127;
}  // namespace dayBit
// The bit of a weekday counted from Sunday = 0, as platform::SystemTime counts them.
int dayBitOfWeekday(int dayOfWeek);

// The city text of an alarm set in the device's own time, and its zone number.
constexpr std::wstring_view kDeviceCity = L"9999";
constexpr int kDeviceZone = -1;

// A calendar date as the store writes it: day ":" month ":" year.
struct AlarmDate {
    int day = 0;
    int month = 0;
    int year = 0;
    friend bool operator==(const AlarmDate&, const AlarmDate&) = default;
};
// A time of day as the store writes it: hour ":" minute.
struct AlarmClock {
    int hour = 0;
    int minute = 0;
    friend bool operator==(const AlarmClock&, const AlarmClock&) = default;
};

// "d:m:yyyy" and "h:m", no leading zeros.
std::wstring dateText(const AlarmDate& date);
std::wstring clockText(const AlarmClock& clock);
// Reads the text forms into an existing value: the text splits at ":" and each piece is read
// as a decimal number; a missing piece leaves its part unchanged, and a text of one character
// or less (such as "0") is not read at all. False when nothing was read.
bool readDateText(std::wstring_view text, AlarmDate& date);
bool readClockText(std::wstring_view text, AlarmClock& clock);

struct AlarmRecord {
    std::wstring name;                        // 1: the key, unique ignoring case
    std::wstring message;                     // 2
    std::wstring city{kDeviceCity};           // 3: favourite city, or "9999"
    std::wstring soundName;                   // 4: shown in the sound list
    RepeatKind kind = RepeatKind::Once;       // 5
    int timeOfDayMs = 0;                      // 6: milliseconds since midnight
    int dayMask = 0;                          // 7: dayBit bits (weekly and custom)
    AlarmDate startDate;                      // 8: the date of a one-off alarm
    int dayOfMonth = 1;                       // 9: monthly and yearly, 1..31
    int month = 1;                            // 10: yearly, 1..12
    int volume = 1;                           // 11: volume choice 1..7
    int ringTime = 1;                         // 12: ringing time choice 1..5
    int snooze = 2;                           // 13: snooze choice 1..5
    platform::NotificationHandle handle = 0;  // 15: the armed notification, 0 when off
    std::optional<AlarmDate> armedDate;       // 16: the armed occurrence, nothing for "0"
    std::optional<AlarmClock> armedTime;      // 17
    std::wstring soundPath;                   // 18: device path, or the "Vibrate" entry
    int zone = kDeviceZone;                   // 19: zone number of the city, -1 device time

    // True when field 3 names a favourite city rather than the device's own time.
    bool hasCity() const { return city != kDeviceCity; }
    // Field 6 as hours, minutes and seconds.
    int hour() const;
    int minute() const;
    int second() const;
};

// Reads a row; fields the row lacks read as empty (numbers 0).
AlarmRecord readAlarmRecord(const core::RecordTable& table, int row);
// Writes every field of the row (field 14 always "0"), widening the table to 19 columns.
// Text fields lose the characters that would break the row apart ("~", double quotes and
// line breaks). False when the row does not exist.
bool writeAlarmRecord(core::RecordTable& table, int row, const AlarmRecord& record);
// The text a field is written as once stripped of "~", double quotes and line breaks.
std::wstring storedText(std::wstring_view text);

// The alarm's time of day on its start date (fields 6 and 8), seconds and milliseconds
// kept; nothing when the date is not a real one.
std::optional<platform::SystemTime> startDateTime(const AlarmRecord& record);
// The previously armed occurrence (fields 16 and 17, seconds 0); nothing when field 16 is
// "0" or not a real date.
std::optional<platform::SystemTime> armedOccurrence(const AlarmRecord& record);

// How long an alarm rings, from field 12: 2 -> 30 s, 3 -> 60 s, 4 -> 120 s, 5 -> 300 s,
// anything else 600 s.
int ringingSeconds(int ringTimeChoice);
// The snooze interval the user chose (field 13), as the snooze list names its entries:
// 1 -> 1, 2 -> 5, 3 -> 10, 4 -> 15, 5 -> 30 minutes; anything else 5 minutes.
int snoozeMinutes(int snoozeChoice);
// The quick alarm has no record; it snoozes for this long.
constexpr int kQuickSnoozeMinutes = 5;

}  // namespace alarms
