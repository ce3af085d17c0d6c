#pragma once
// Time zones and daylight saving. The zone table "dstinfo.dat" (install folder) gives every
// zone its offset from UTC and its daylight-saving rule, one zone a line:
//
//   1 zone number (the key city records use)   8  end: week of month 1..5 (5 = last) or day
//   2 bias: minutes from local standard time       of month for a one-off date
//     to UTC (UTC+1 is -60)                    9  end: month 1..12; 0 = no daylight saving
//   3 daylight bias (one hour ahead is -60)    10 end: year of a one-off date; 0 = yearly
//   4 start: week or day, as column 8          11 end hour "H" or "H:MM"
//   5 start: month                             12 display name
//   6 start: year of a one-off date            13 carried (the IANA zones of the row)
//   7 start hour "H" or "H:MM"
//
// The change hours are local standard time; 0 or empty is midnight, so tables without them
// keep their meaning. Recurring rules count Sundays: week N is the N-th Sunday of the month,
// week 5 the last one.
//
// The table is one shared instance per program, used from the user-interface thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/record_table.h"
#include "platform/api/clock.h"

namespace worldtime {

namespace zoneColumn {
constexpr int Number = 1;
constexpr int Bias = 2;
constexpr int DaylightBias = 3;
constexpr int StartDay = 4;
constexpr int StartMonth = 5;
constexpr int StartYear = 6;
constexpr int StartHour = 7;
constexpr int EndDay = 8;
constexpr int EndMonth = 9;
constexpr int EndYear = 10;
constexpr int EndHour = 11;
constexpr int DisplayName = 12;
constexpr int IanaNames = 13;  // the IANA zones the row was made from, separated by spaces
constexpr int Count = 13;
}  // namespace zoneColumn

// The zone number of UTC, given to search results at offset 0.
constexpr int kUtcZoneNumber = 25;

// A zone as the handheld's time-zone information record describes it: UTC = local standard
// time + bias; daylight time = standard time - daylightBias. The change dates hold month,
// day (week of the month, or day of a one-off date), year (0: every year), hour and minute;
// dayOfWeek is always 0 (Sunday).
struct ZoneInfo {
    std::int32_t bias = 0;
    std::int32_t standardBias = 0;
    std::int32_t daylightBias = 0;
    platform::SystemTime standardDate{0, 0, 0, 0, 0, 0, 0, 0};  // daylight saving ends
    platform::SystemTime daylightDate{0, 0, 0, 0, 0, 0, 0, 0};  // daylight saving starts
    friend bool operator==(const ZoneInfo&, const ZoneInfo&) = default;
};

// A zone with its local time at the moment it was made.
struct ZoneClock {
    ZoneInfo info;
    platform::SystemTime localTime;
};

// Loads folder + "dstinfo.dat" into the shared table (replacing it) and makes row 1
// current; true when it holds at least one zone.
bool loadZones(std::wstring_view folder);
// The shared table, for the zone chooser and display names.
core::RecordTable& zoneTable();

// The row of a zone number, made the table's current row; 0 when the table lacks it.
int findZone(int zoneNumber);
// The zone's record; a number the table lacks gives UTC without daylight saving.
ZoneInfo zoneInfo(int zoneNumber);
// The zone's display name (column 12); empty for an unknown zone.
std::wstring zoneDisplayName(int zoneNumber);
// Whether the zone's row was made from the IANA zone of that name.
bool zoneHoldsIanaName(int zoneNumber, std::wstring_view ianaName);
// The zone with its local time at the device's present UTC time.
ZoneClock zoneClock(int zoneNumber);

// A row's record (for tables other than the shared one). Offsets beyond a day, which no
// zone has, are held to a day.
ZoneInfo zoneInfoOfRow(const core::RecordTable& table, int row);
// The "H" or "H:MM" of a change-hour column: hour 0..23, minute 0..59; anything else is
// midnight.
void readChangeTime(std::wstring_view text, platform::SystemTime& rule);

// The moment (local standard time, as a signed file time) at which a rule changes in a
// year: its N-th (5 = last) Sunday at the change hour, or for a one-off date that day of its
// own year. In other years a one-off date counts as lying before the month (later years)
// or after it (earlier years). Nothing for a rule without a valid month.
std::optional<std::int64_t> transitionTicks(const platform::SystemTime& rule, int year);
// The date of the N-th Sunday rule in a year (time of day 00:00).
std::optional<platform::SystemTime> transitionDate(const platform::SystemTime& rule, int year);

// Whether daylight saving is in force at a UTC moment. Start and end months 1..12 and
// different; a start month before the end month is the northern pattern (daylight between
// the changes), after it the southern one (daylight outside them).
bool isDaylight(const ZoneInfo& info, std::int64_t utcTicks);
bool isDaylight(const ZoneInfo& info, const platform::SystemTime& utc);
bool isDaylightNow(const ZoneInfo& info);

// Local time in the zone, as signed file times and as calendar times. A calendar time that
// is not a real moment (or one whose local time would fall outside 1601..30827) is answered
// unchanged.
std::int64_t zoneLocalTicks(const ZoneInfo& info, std::int64_t utcTicks);
platform::SystemTime zoneLocalTime(const ZoneInfo& info, const platform::SystemTime& utc);
// The minutes the zone's local time is ahead of UTC at a UTC moment.
int zoneOffsetMinutes(const ZoneInfo& info, std::int64_t utcTicks);
// The first moment after utcTicks at which daylight saving begins or ends; nothing for a zone
// without daylight saving.
std::optional<std::int64_t> nextDaylightChange(const ZoneInfo& info, std::int64_t utcTicks);

// The UTC moment of a local time of the zone, by the rules at that date. A local time
// skipped by the spring change reads as the moment after it; one repeated in autumn as its
// first occurrence.
std::int64_t zoneLocalToUtcTicks(const ZoneInfo& info, std::int64_t localTicks);
// A date-time in a zone's local time as the device's local time, by the rules of both
// zones at that date; nothing for a date-time that is not a real moment.
std::optional<platform::SystemTime> zoneToDevice(const platform::SystemTime& dateTime,
                                                 int zoneNumber);

// The date-time moved forward by the daylight bias (one hour for -60); unchanged when the
// bias is 0 or the result would not be a real moment.
platform::SystemTime removeDaylightBias(const platform::SystemTime& dateTime, const ZoneInfo& info);

// The zone of a whole-hour UTC offset (hours east): 25 for 0, else the first zone whose
// bias is -60 * hours. With no such zone, the first zone whose bias lies nearest.
int zoneNumberForHours(int hours);
int zoneNumberForMinutes(int minutesEast);

}  // namespace worldtime
