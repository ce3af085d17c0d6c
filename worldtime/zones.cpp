#include "worldtime/zones.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "core/decimal.h"
#include "worldtime/date_helpers.h"

namespace worldtime {
namespace {

constexpr int kMaxOffsetMinutes = 24 * 60;

core::RecordTable& sharedTable() {
    static core::RecordTable table(zoneColumn::Count);
    return table;
}

std::uint16_t clampedField(const core::RecordTable& table, int row, int column, int low, int high) {
    int value = table.fieldInt(row, column);
    return static_cast<std::uint16_t>(value < low || value > high ? 0 : value);
}

platform::SystemTime ruleOfRow(const core::RecordTable& table, int row, int dayColumn,
                               int monthColumn, int yearColumn, int hourColumn) {
    platform::SystemTime rule{0, 0, 0, 0, 0, 0, 0, 0};
    rule.day = clampedField(table, row, dayColumn, 0, 31);
    rule.month = clampedField(table, row, monthColumn, 0, 12);
    rule.year = clampedField(table, row, yearColumn, 0, 30827);
    readChangeTime(table.fieldText(row, hourColumn), rule);
    return rule;
}

std::int64_t dateTicks(int year, int month, int day) {
    platform::SystemTime date;
    date.year = static_cast<std::uint16_t>(year);
    date.month = static_cast<std::uint16_t>(month);
    date.day = static_cast<std::uint16_t>(day);
    return fileTicks(date).value_or(0);
}

bool validMonth(int month) {
    return month >= 1 && month <= 12;
}

// Signed minutes as file-time ticks; any 32-bit minute count fits.
std::int64_t minuteTicks(std::int64_t minutes) {
    return minutes * kTicksPerMinute;
}

// A moment moved by minutes, held inside the signed range at its ends.
std::int64_t shiftedTicks(std::int64_t ticks, std::int64_t minutes) {
    std::int64_t result = 0;
    if (__builtin_add_overflow(ticks, minuteTicks(minutes), &result)) {
        return minutes < 0 ? std::numeric_limits<std::int64_t>::min()
                           : std::numeric_limits<std::int64_t>::max();
    }
    return result;
}

// Offsets beyond a day are not offsets of any zone; a table holding one is held to a day.
std::int32_t offsetField(const core::RecordTable& table, int row, int column) {
    return std::clamp(table.fieldInt(row, column), -kMaxOffsetMinutes, kMaxOffsetMinutes);
}

}  // namespace

bool loadZones(std::wstring_view folder) {
    core::RecordTable& table = sharedTable();
    table.clear();
    table.load(folder, L"dstinfo.dat", L'~', true);
    table.setCurrentRow(1);
    return table.rowCount() > 0;
}

core::RecordTable& zoneTable() {
    return sharedTable();
}

int findZone(int zoneNumber) {
    core::RecordTable& table = sharedTable();
    int row = table.find(zoneColumn::Number, core::decimalText(zoneNumber), true);
    if (row > 0)
        table.setCurrentRow(row);
    return row;
}

ZoneInfo zoneInfoOfRow(const core::RecordTable& table, int row) {
    ZoneInfo info;
    if (!table.row(row))
        return info;
    info.bias = offsetField(table, row, zoneColumn::Bias);
    info.daylightBias = offsetField(table, row, zoneColumn::DaylightBias);
    info.daylightDate = ruleOfRow(table, row, zoneColumn::StartDay, zoneColumn::StartMonth,
                                  zoneColumn::StartYear, zoneColumn::StartHour);
    info.standardDate = ruleOfRow(table, row, zoneColumn::EndDay, zoneColumn::EndMonth,
                                  zoneColumn::EndYear, zoneColumn::EndHour);
    return info;
}

ZoneInfo zoneInfo(int zoneNumber) {
    int row = findZone(zoneNumber);
    return row > 0 ? zoneInfoOfRow(sharedTable(), row) : ZoneInfo{};
}

bool zoneHoldsIanaName(int zoneNumber, std::wstring_view ianaName) {
    int row = findZone(zoneNumber);
    if (row <= 0 || ianaName.empty())
        return false;
    std::wstring_view names = sharedTable().fieldText(row, zoneColumn::IanaNames);
    while (!names.empty()) {
        const std::size_t space = names.find(L' ');
        if (names.substr(0, space) == ianaName)
            return true;
        if (space == std::wstring_view::npos)
            break;
        names.remove_prefix(space + 1);
    }
    return false;
}

std::wstring zoneDisplayName(int zoneNumber) {
    int row = findZone(zoneNumber);
    return row > 0 ? std::wstring(sharedTable().fieldText(row, zoneColumn::DisplayName))
                   : std::wstring();
}

ZoneClock zoneClock(int zoneNumber) {
    ZoneClock clock;
    clock.info = zoneInfo(zoneNumber);
    clock.localTime = zoneLocalTime(clock.info, platform::deviceUtcTime());
    return clock;
}

void readChangeTime(std::wstring_view text, platform::SystemTime& rule) {
    rule.hour = 0;
    rule.minute = 0;
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    std::size_t i = 0;
    int hour = 0;
    while (i < text.size() && i < 2 && digit(text[i])) hour = hour * 10 + (text[i++] - L'0');
    if (i == 0 || hour > 23)
        return;
    int minute = 0;
    if (i < text.size()) {
        bool minutes =
            text.size() == i + 3 && text[i] == L':' && digit(text[i + 1]) && digit(text[i + 2]);
        if (!minutes)
            return;
        minute = (text[i + 1] - L'0') * 10 + (text[i + 2] - L'0');
        if (minute > 59)
            return;
    }
    rule.hour = static_cast<std::uint16_t>(hour);
    rule.minute = static_cast<std::uint16_t>(minute);
}

std::optional<platform::SystemTime> transitionDate(const platform::SystemTime& rule, int year) {
    if (!validMonth(rule.month) || year < 1601 || year > 30827)
        return std::nullopt;
    int length = platform::daysInMonth(year, rule.month);
    int firstWeekday = platform::dayOfWeekOf(year, rule.month, 1);
    int firstSunday = 1 + (7 - firstWeekday) % 7;
    int week = std::clamp<int>(rule.day, 1, 5);
    int day = firstSunday + (week - 1) * 7;
    // Week 5 asks for the last Sunday: a month with only four takes the fourth.
    if (day > length)
        day -= 7;
    platform::SystemTime date;
    date.year = static_cast<std::uint16_t>(year);
    date.month = rule.month;
    date.day = static_cast<std::uint16_t>(day);
    date.dayOfWeek = 0;
    return date;
}

std::optional<std::int64_t> transitionTicks(const platform::SystemTime& rule, int year) {
    if (!validMonth(rule.month) || year < 1601 || year > 30827)
        return std::nullopt;
    std::int64_t timeOfDay = minuteTicks(rule.hour * 60 + rule.minute);
    if (rule.year != 0) {
        if (year > rule.year)
            return dateTicks(year, rule.month, 1);
        if (year < rule.year) {
            return rule.month == 12 ? dateTicks(year + 1, 1, 1)
                                    : dateTicks(year, rule.month + 1, 1);
        }
        int length = platform::daysInMonth(year, rule.month);
        int day = std::clamp<int>(rule.day, 1, length);
        return dateTicks(year, rule.month, day) + timeOfDay;
    }
    auto date = transitionDate(rule, year);
    if (!date)
        return std::nullopt;
    return dateTicks(date->year, date->month, date->day) + timeOfDay;
}

namespace {

// The two changes of a pair of rules in one year, in local standard time, with the year's own
// bounds. Every clock tick and every row of the world clock asks for the local time of the
// same few zones in the same year, so the changes are worked out once per rule pair and year
// and kept here instead of finding the N-th Sunday twice per question.
struct YearChanges {
    platform::SystemTime start{0, 0, 0, 0, 0, 0, 0, 0};
    platform::SystemTime end{0, 0, 0, 0, 0, 0, 0, 0};
    std::int64_t yearBegins = 0;
    std::int64_t yearEnds = 0;  // empty until filled
    std::optional<std::int64_t> begins;
    std::optional<std::int64_t> ends;
};

bool sameRule(const platform::SystemTime& a, const platform::SystemTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

YearChanges changesOfYear(const ZoneInfo& info, int year) {
    YearChanges changes;
    changes.start = info.daylightDate;
    changes.end = info.standardDate;
    changes.yearBegins = dateTicks(year, 1, 1);
    changes.yearEnds =
        year < 30827 ? dateTicks(year + 1, 1, 1) : std::numeric_limits<std::int64_t>::max();
    changes.begins = transitionTicks(info.daylightDate, year);
    changes.ends = transitionTicks(info.standardDate, year);
    return changes;
}

// The changes of the year holding a local standard moment; nothing for a moment outside the
// calendar. A handful of entries per thread covers a world clock's zones; the oldest one gives
// way.
const YearChanges* changesAt(const ZoneInfo& info, std::int64_t standard) {
    constexpr std::size_t kEntries = 8;
    thread_local std::array<YearChanges, kEntries> cache;
    thread_local std::size_t next = 0;
    for (const YearChanges& entry : cache) {
        if (standard >= entry.yearBegins && standard < entry.yearEnds &&
            sameRule(entry.start, info.daylightDate) && sameRule(entry.end, info.standardDate)) {
            return &entry;
        }
    }
    auto standardTime = fromFileTicks(standard);
    if (!standardTime)
        return nullptr;
    YearChanges& entry = cache[next];
    next = (next + 1) % kEntries;
    entry = changesOfYear(info, standardTime->year);
    return &entry;
}

}  // namespace

bool isDaylight(const ZoneInfo& info, std::int64_t utcTicks) {
    const platform::SystemTime& start = info.daylightDate;
    const platform::SystemTime& end = info.standardDate;
    if (end.month == 0 || !validMonth(start.month) || !validMonth(end.month) ||
        start.month == end.month) {
        return false;
    }
    std::int64_t standard = shiftedTicks(utcTicks, -static_cast<std::int64_t>(info.bias));
    const YearChanges* changes = changesAt(info, standard);
    if (!changes || !changes->begins || !changes->ends)
        return false;
    if (start.month < end.month)
        return standard >= *changes->begins && standard < *changes->ends;
    return standard >= *changes->begins || standard < *changes->ends;
}

bool isDaylight(const ZoneInfo& info, const platform::SystemTime& utc) {
    auto ticks = fileTicks(utc);
    return ticks && isDaylight(info, *ticks);
}

bool isDaylightNow(const ZoneInfo& info) {
    return isDaylight(info, static_cast<std::int64_t>(platform::deviceUtcFileTime()));
}

int zoneOffsetMinutes(const ZoneInfo& info, std::int64_t utcTicks) {
    std::int64_t extra = isDaylight(info, utcTicks) ? info.daylightBias : info.standardBias;
    std::int64_t offset = -(static_cast<std::int64_t>(info.bias) + extra);
    return static_cast<int>(std::clamp<std::int64_t>(offset, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::optional<std::int64_t> nextDaylightChange(const ZoneInfo& info, std::int64_t utcTicks) {
    const bool now = isDaylight(info, utcTicks);
    auto standard = fromFileTicks(shiftedTicks(utcTicks, -static_cast<std::int64_t>(info.bias)));
    if (!standard)
        return std::nullopt;
    std::optional<std::int64_t> first;
    for (int year = standard->year; year <= standard->year + 1; ++year) {
        const YearChanges changes = changesOfYear(info, year);
        for (const auto& local : {changes.begins, changes.ends}) {
            if (!local)
                continue;
            const std::int64_t utc = shiftedTicks(*local, info.bias);
            if (utc > utcTicks && isDaylight(info, utc) != now && (!first || utc < *first))
                first = utc;
        }
    }
    return first;
}

std::int64_t zoneLocalTicks(const ZoneInfo& info, std::int64_t utcTicks) {
    return shiftedTicks(utcTicks, zoneOffsetMinutes(info, utcTicks));
}

platform::SystemTime zoneLocalTime(const ZoneInfo& info, const platform::SystemTime& utc) {
    auto ticks = fileTicks(utc);
    if (!ticks)
        return utc;
    return fromFileTicks(zoneLocalTicks(info, *ticks)).value_or(utc);
}

std::int64_t zoneLocalToUtcTicks(const ZoneInfo& info, std::int64_t localTicks) {
    std::int64_t asStandard =
        shiftedTicks(localTicks, static_cast<std::int64_t>(info.bias) + info.standardBias);
    std::int64_t asDaylight =
        shiftedTicks(localTicks, static_cast<std::int64_t>(info.bias) + info.daylightBias);
    bool standardFits = !isDaylight(info, asStandard);
    bool daylightFits = isDaylight(info, asDaylight);
    if (standardFits && daylightFits)
        return std::min(asStandard, asDaylight);
    if (standardFits)
        return asStandard;
    if (daylightFits)
        return asDaylight;
    return std::max(asStandard, asDaylight);
}

std::optional<platform::SystemTime> zoneToDevice(const platform::SystemTime& dateTime,
                                                 int zoneNumber) {
    auto local = fileTicks(dateTime);
    if (!local)
        return std::nullopt;
    std::int64_t utc = zoneLocalToUtcTicks(zoneInfo(zoneNumber), *local);
    if (utc < 0)
        return std::nullopt;
    auto device = platform::utcToLocal(static_cast<platform::FileTime>(utc));
    if (!device)
        return std::nullopt;
    return platform::toSystemTime(*device);
}

platform::SystemTime removeDaylightBias(const platform::SystemTime& dateTime,
                                        const ZoneInfo& info) {
    if (info.daylightBias == 0)
        return dateTime;
    auto ticks = fileTicks(dateTime);
    if (!ticks)
        return dateTime;
    return fromFileTicks(shiftedTicks(*ticks, -static_cast<std::int64_t>(info.daylightBias)))
        .value_or(dateTime);
}

int zoneNumberForMinutes(int minutesEast) {
    if (minutesEast == 0)
        return kUtcZoneNumber;
    const core::RecordTable& table = sharedTable();
    std::int64_t wanted = -static_cast<std::int64_t>(minutesEast);
    int nearestRow = 0;
    std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
    for (int row = 1; row <= table.rowCount(); ++row) {
        std::int64_t distance = std::llabs(table.fieldInt(row, zoneColumn::Bias) - wanted);
        if (distance < nearest) {
            nearest = distance;
            nearestRow = row;
        }
        if (distance == 0)
            break;
    }
    return nearestRow > 0 ? table.fieldInt(nearestRow, zoneColumn::Number) : kUtcZoneNumber;
}

int zoneNumberForHours(int hours) {
    // Hours beyond any real offset are cut so that the minutes cannot overflow.
    return zoneNumberForMinutes(std::clamp(hours, -48, 48) * 60);
}

}  // namespace worldtime
