#include "alarms/alarm_record.h"

#include <algorithm>
#include <array>
#include <limits>

namespace alarms {
namespace {

// Reads the pieces of a "a:b[:c]" text into the parts given, as decimal numbers; a piece that
// is missing leaves its part alone. Returns how many pieces were read.
template <std::size_t N>
int readPieces(std::wstring_view text, const std::array<int*, N>& parts) {
    if (text.size() <= 1)
        return 0;
    int read = 0;
    std::size_t at = 0;
    for (std::size_t i = 0; i < N && at <= text.size(); ++i) {
        std::size_t end = text.find(L':', at);
        std::wstring_view piece =
            text.substr(at, end == std::wstring_view::npos ? std::wstring_view::npos : end - at);
        long long value = 0;
        bool negative = !piece.empty() && piece.front() == L'-';
        for (std::size_t k = negative ? 1 : 0; k < piece.size(); ++k) {
            wchar_t c = piece[k];
            if (c < L'0' || c > L'9')
                break;
            value = std::min<long long>(value * 10 + (c - L'0'), std::numeric_limits<int>::max());
        }
        *parts[i] = static_cast<int>(negative ? -value : value);
        ++read;
        if (end == std::wstring_view::npos)
            break;
        at = end + 1;
    }
    return read;
}

int fieldNumber(const core::RecordTable& table, int row, int column) {
    return table.fieldInt(row, column);
}

platform::NotificationHandle fieldHandle(const core::RecordTable& table, int row) {
    std::uint64_t value = 0;
    for (wchar_t c : table.fieldText(row, alarmField::Handle)) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        if (value > std::numeric_limits<platform::NotificationHandle>::max())
            return 0;
    }
    return static_cast<platform::NotificationHandle>(value);
}

}  // namespace

bool isRepeating(RepeatKind kind) {
    int k = static_cast<int>(kind);
    return k >= static_cast<int>(RepeatKind::Daily) && k <= static_cast<int>(RepeatKind::Custom);
}

int dayBitOfWeekday(int dayOfWeek) {
    if (dayOfWeek < 0 || dayOfWeek > 6)
        return 0;
    return dayOfWeek == 0 ? dayBit::Sunday : 1 << (dayOfWeek - 1);
}

std::wstring dateText(const AlarmDate& date) {
    return std::to_wstring(date.day) + L":" + std::to_wstring(date.month) + L":" +
           std::to_wstring(date.year);
}

std::wstring clockText(const AlarmClock& clock) {
    return std::to_wstring(clock.hour) + L":" + std::to_wstring(clock.minute);
}

bool readDateText(std::wstring_view text, AlarmDate& date) {
    return readPieces<3>(text, {&date.day, &date.month, &date.year}) > 0;
}

bool readClockText(std::wstring_view text, AlarmClock& clock) {
    return readPieces<2>(text, {&clock.hour, &clock.minute}) > 0;
}

int AlarmRecord::hour() const {
    return timeOfDayMs / 3600000;
}
int AlarmRecord::minute() const {
    return timeOfDayMs / 60000 % 60;
}
int AlarmRecord::second() const {
    return timeOfDayMs / 1000 % 60;
}

AlarmRecord readAlarmRecord(const core::RecordTable& table, int row) {
    AlarmRecord r;
    r.name = table.fieldText(row, alarmField::Name);
    r.message = table.fieldText(row, alarmField::Message);
    r.city = table.fieldText(row, alarmField::City);
    r.soundName = table.fieldText(row, alarmField::SoundName);
    r.kind = static_cast<RepeatKind>(fieldNumber(table, row, alarmField::Kind));
    r.timeOfDayMs = fieldNumber(table, row, alarmField::TimeOfDay);
    r.dayMask = fieldNumber(table, row, alarmField::DayMask);
    r.startDate = {};
    readDateText(table.fieldText(row, alarmField::StartDate), r.startDate);
    r.dayOfMonth = fieldNumber(table, row, alarmField::DayOfMonth);
    r.month = fieldNumber(table, row, alarmField::Month);
    r.volume = fieldNumber(table, row, alarmField::Volume);
    r.ringTime = fieldNumber(table, row, alarmField::RingTime);
    r.snooze = fieldNumber(table, row, alarmField::Snooze);
    r.handle = fieldHandle(table, row);
    AlarmDate armed;
    if (readDateText(table.fieldText(row, alarmField::ArmedDate), armed))
        r.armedDate = armed;
    else
        r.armedDate.reset();
    AlarmClock armedAt;
    if (readClockText(table.fieldText(row, alarmField::ArmedTime), armedAt))
        r.armedTime = armedAt;
    else
        r.armedTime.reset();
    r.soundPath = table.fieldText(row, alarmField::SoundPath);
    // A row without field 19 predates city alarms: device time.
    auto zone = table.field(row, alarmField::Zone);
    r.zone = zone ? fieldNumber(table, row, alarmField::Zone) : kDeviceZone;
    return r;
}

std::wstring storedText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'~' || c == L'"' || c == L'\n' || c == L'\r')
            continue;
        out += c;
    }
    return out;
}

bool writeAlarmRecord(core::RecordTable& table, int row, const AlarmRecord& r) {
    if (row < 1 || row > table.rowCount())
        return false;
    table.widenTo(alarmField::Count);
    auto text = [&](int column, std::wstring_view value) {
        table.setField(row, column, storedText(value));
    };
    auto number = [&](int column, long long value) {
        table.setField(row, column, std::to_wstring(value));
    };
    text(alarmField::Name, r.name);
    text(alarmField::Message, r.message);
    std::wstring city = storedText(r.city);
    table.setField(row, alarmField::City, city.empty() ? kDeviceCity : std::wstring_view(city));
    text(alarmField::SoundName, r.soundName);
    number(alarmField::Kind, static_cast<int>(r.kind));
    number(alarmField::TimeOfDay, r.timeOfDayMs);
    number(alarmField::DayMask, r.dayMask);
    text(alarmField::StartDate, dateText(r.startDate));
    number(alarmField::DayOfMonth, r.dayOfMonth);
    number(alarmField::Month, r.month);
    number(alarmField::Volume, r.volume);
    number(alarmField::RingTime, r.ringTime);
    number(alarmField::Snooze, r.snooze);
    text(alarmField::Reserved, L"0");
    number(alarmField::Handle, r.handle);
    text(alarmField::ArmedDate, r.armedDate ? dateText(*r.armedDate) : L"0");
    text(alarmField::ArmedTime, r.armedTime ? clockText(*r.armedTime) : L"0");
    text(alarmField::SoundPath, r.soundPath);
    number(alarmField::Zone, r.zone);
    return true;
}

std::optional<platform::SystemTime> startDateTime(const AlarmRecord& record) {
    if (record.timeOfDayMs < 0 || record.timeOfDayMs >= 24 * 3600000)
        return std::nullopt;
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(std::clamp(record.startDate.year, 0, 65535));
    t.month = static_cast<std::uint16_t>(std::clamp(record.startDate.month, 0, 65535));
    t.day = static_cast<std::uint16_t>(std::clamp(record.startDate.day, 0, 65535));
    t.hour = static_cast<std::uint16_t>(record.hour());
    t.minute = static_cast<std::uint16_t>(record.minute());
    t.second = static_cast<std::uint16_t>(record.second());
    t.milliseconds = static_cast<std::uint16_t>(record.timeOfDayMs % 1000);
    if (!platform::isValidSystemTime(t))
        return std::nullopt;
    auto normal = platform::toFileTime(t);
    return normal ? platform::toSystemTime(*normal) : std::nullopt;
}

std::optional<platform::SystemTime> armedOccurrence(const AlarmRecord& record) {
    if (!record.armedDate || !record.armedTime)
        return std::nullopt;
    const AlarmDate& d = *record.armedDate;
    const AlarmClock& c = *record.armedTime;
    if (d.year < 1601 || d.year > 30827 || d.month < 1 || d.month > 12 || d.day < 1 || c.hour < 0 ||
        c.hour > 23 || c.minute < 0 || c.minute > 59)
        return std::nullopt;
    platform::SystemTime t;
    t.year = static_cast<std::uint16_t>(d.year);
    t.month = static_cast<std::uint16_t>(d.month);
    t.day = static_cast<std::uint16_t>(d.day);
    t.hour = static_cast<std::uint16_t>(c.hour);
    t.minute = static_cast<std::uint16_t>(c.minute);
    auto ticks = platform::toFileTime(t);
    return ticks ? platform::toSystemTime(*ticks) : std::nullopt;
}

int ringingSeconds(int ringTimeChoice) {
    switch (ringTimeChoice) {
        case 2:
            return 30;
        case 3:
            return 60;
        case 4:
            return 120;
        case 5:
            return 300;
        default:
            return 600;
    }
}

int snoozeMinutes(int snoozeChoice) {
    switch (snoozeChoice) {
        case 1:
            return 1;
        case 2:
            return 5;
        case 3:
            return 10;
        case 4:
            return 15;
        case 5:
            return 30;
        default:
            return 5;
    }
}

}  // namespace alarms
