#include "worldtime/city_clock.h"

#include <map>
#include <string>

#include "platform/api/device.h"
#include "platform/api/zone_database.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace worldtime {
namespace {

// Zones read once per run; a name the database does not know is remembered as such.
const platform::ZoneDefinition* databaseZone(const std::wstring& name) {
    static std::map<std::wstring, std::optional<platform::ZoneDefinition>> zones;
    auto [entry, added] = zones.try_emplace(name);
    if (added)
        entry->second = platform::hostZone(platform::toUtf8(name));
    return entry->second ? &*entry->second : nullptr;
}

std::int64_t unixSeconds(std::int64_t ticks) {
    return (ticks - kUnixEpochTicks) / kTicksPerSecond -
           ((ticks - kUnixEpochTicks) % kTicksPerSecond < 0);
}

CityClock fromDatabase(const platform::ZoneDefinition& zone, std::int64_t utcTicks) {
    CityClock clock;
    clock.fromDatabase = true;
    const std::int64_t seconds = unixSeconds(utcTicks);
    const platform::ZoneMoment now = zone.at(seconds);
    clock.offsetMinutes = now.offsetSeconds / 60;
    clock.daylight = now.daylight;
    clock.local = fromFileTicks(utcTicks + now.offsetSeconds * kTicksPerSecond)
                      .value_or(platform::SystemTime{});
    if (auto change = zone.nextChange(seconds);
        change && change->utcSeconds - seconds <= 400LL * 86400) {
        clock.next = CityClock::Change{change->utcSeconds * kTicksPerSecond + kUnixEpochTicks,
                                       change->after.offsetSeconds / 60, change->after.daylight};
    }
    return clock;
}

CityClock fromZoneTable(int zoneNumber, std::int64_t utcTicks) {
    CityClock clock;
    const ZoneInfo info = zoneInfo(zoneNumber);
    clock.daylight = isDaylight(info, utcTicks);
    clock.offsetMinutes = zoneOffsetMinutes(info, utcTicks);
    clock.local = fromFileTicks(zoneLocalTicks(info, utcTicks)).value_or(platform::SystemTime{});
    if (auto change = nextDaylightChange(info, utcTicks)) {
        clock.next =
            CityClock::Change{*change, zoneOffsetMinutes(info, *change), isDaylight(info, *change)};
    }
    return clock;
}

}  // namespace

CityClock cityClock(int zoneNumber, std::wstring_view ianaZone, std::int64_t utcTicks) {
    if (!ianaZone.empty() && zoneHoldsIanaName(zoneNumber, ianaZone)) {
        if (const platform::ZoneDefinition* definition = databaseZone(std::wstring(ianaZone)))
            return fromDatabase(*definition, utcTicks);
    }
    return fromZoneTable(zoneNumber, utcTicks);
}

CityClock cityClock(const core::RecordTable& cities, int row, std::int64_t utcTicks) {
    return cityClock(cityZone(cities, row), cities.fieldText(row, cityField::IanaZone), utcTicks);
}

}  // namespace worldtime
