#pragma once
// A city's clock: its local time, daylight-saving state, offset and next change, for every
// screen and command that shows a city's time.
//
// Cities of the list carry their IANA zone. While a city keeps the zone number the zone table
// gives that name (the zone's row lists it), the host's time zone database answers: it knows
// the rules the table's format cannot hold (Cairo's Fridays, Casablanca's Ramadan, Lord
// Howe's half hour, changes at 00:00 daylight time or in UTC) and follows the rules as
// governments change them. A city whose zone the user changed, or whose name the database
// does not know, follows the zone table.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/record_table.h"
#include "platform/api/clock.h"

namespace worldtime {

struct CityClock {
    platform::SystemTime local{0, 0, 0, 0, 0, 0, 0, 0};
    int offsetMinutes = 0;  // east of UTC
    bool daylight = false;
    bool fromDatabase = false;  // the host's database answered, not the zone table
    struct Change {
        std::int64_t utcTicks = 0;  // the first moment of the new time
        int offsetMinutesAfter = 0;
        bool daylightAfter = false;
    };
    std::optional<Change> next;  // within about a year; nothing for a zone that keeps its time
};

// The clock of a city record (city columns, as cityField) at a UTC moment (file ticks).
CityClock cityClock(const core::RecordTable& cities, int row, std::int64_t utcTicks);
// The same for a city's zone number and IANA zone name as its record holds them.
CityClock cityClock(int zoneNumber, std::wstring_view ianaZone, std::int64_t utcTicks);

}  // namespace worldtime
