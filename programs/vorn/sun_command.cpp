// vorn sun: sunrise, sunset and day length of a city on a day, as the daylight map's panel
// computes them.

#include <cmath>
#include <cstdio>

#include "programs/vorn/commands.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/date_helpers.h"
#include "worldtime/sun.h"
#include "worldtime/zones.h"

namespace vorn {
namespace {

const char* kindName(worldtime::DaylightKind kind) {
    switch (kind) {
        case worldtime::DaylightKind::PolarDay:
            return "polarDay";
        case worldtime::DaylightKind::PolarNight:
            return "polarNight";
        case worldtime::DaylightKind::Normal:
            break;
    }
    return "normal";
}

std::string eventText(const worldtime::ClockTime& t) {
    std::string text = hoursMinutes(t.hour, t.minute);
    if (t.dayOffset < 0)
        text += " (the day before)";
    if (t.dayOffset > 0)
        text += " (the next day)";
    return text;
}

std::string lengthText(double hours) {
    long minutes = std::lround(hours * 60);
    return hoursMinutes(static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
}

}  // namespace

int runSun(const Invocation& invocation) {
    if (invocation.arguments.size() != 1) {
        return report(invocation, kExitUsage, "sun takes one city (see vorn sun --help)");
    }
    if (!loadZoneTable(invocation))
        return kExitFailure;
    CityFinder finder(invocation.mainPath);
    auto city = cityNamed(finder, invocation, invocation.arguments.front());
    if (!city)
        return kExitUsage;
    warnAboutDamage(*city->table);
    if (!answerIsTrusted(invocation, *city))
        return kExitFailure;
    using namespace worldtime;
    const core::RecordTable& table = *city->table;
    const std::int64_t nowTicks = static_cast<std::int64_t>(platform::deviceUtcFileTime());
    platform::SystemTime date;
    if (auto text = invocation.option("--date")) {
        auto parsed = parseDate(*text);
        if (!parsed) {
            return report(invocation, kExitUsage,
                          "malformed date \"" + *text + "\" (expected YYYY-MM-DD)");
        }
        date = *parsed;
    } else {
        date = cityClock(table, city->row, nowTicks).local;
    }
    date.hour = 12;
    date.minute = 0;
    date.second = 0;
    date.milliseconds = 0;
    // The city's clock as it stands at its noon that day: noon less the offset of the moment
    // asked about, then the offset in force then.
    const std::int64_t noonTicks = *fileTicks(date);
    const int offsetNow = cityClock(table, city->row, nowTicks).offsetMinutes;
    const CityClock atNoon = cityClock(table, city->row, noonTicks - offsetNow * kTicksPerMinute);
    const bool daylight = atNoon.daylight;
    double latitude = cityLatitude(table, city->row);
    double longitude = cityLongitude(table, city->row);
    SunTimes times = sunriseSunset(date.year, date.month, date.day, latitude, longitude,
                                   atNoon.offsetMinutes / 60.0);
    std::string name = utf8(table.fieldText(city->row, cityField::Name)) + ", " +
                       utf8(table.fieldText(city->row, cityField::Country));
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("city", name)
            .field("code", utf8(table.fieldText(city->row, cityField::Code)))
            .field("date", isoDate(date))
            .field("latitude", latitude)
            .field("longitude", longitude)
            .field("daylightSaving", daylight)
            .field("kind", kindName(times.kind));
        if (times.kind == DaylightKind::Normal) {
            json.field("sunrise", hoursMinutes(times.sunrise.hour, times.sunrise.minute))
                .field("sunriseDayOffset", times.sunrise.dayOffset)
                .field("sunset", hoursMinutes(times.sunset.hour, times.sunset.minute))
                .field("sunsetDayOffset", times.sunset.dayOffset);
        }
        json.field("dayLength", lengthText(times.dayLengthHours))
            .field("dayLengthHours", times.dayLengthHours)
            .endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    std::printf("%s, %s\n", name.c_str(), isoDate(date).c_str());
    switch (times.kind) {
        case DaylightKind::PolarDay:
            std::printf("polar day: the sun does not set\n");
            break;
        case DaylightKind::PolarNight:
            std::printf("polar night: the sun does not rise\n");
            break;
        case DaylightKind::Normal:
            std::printf("sunrise %s\nsunset  %s\n", eventText(times.sunrise).c_str(),
                        eventText(times.sunset).c_str());
            break;
    }
    std::printf("day length %s\n", lengthText(times.dayLengthHours).c_str());
    return kExitOk;
}

}  // namespace vorn
