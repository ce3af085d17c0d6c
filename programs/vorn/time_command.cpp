// vorn time: each city's local date and time, zone and daylight saving.

#include <cstdio>

#include "programs/vorn/commands.h"
#include "worldtime/cities.h"
#include "worldtime/city_clock.h"
#include "worldtime/clock_change.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

namespace vorn {
namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct CityTime {
    std::string name;
    std::string country;
    std::string code;
    int zone = 0;
    std::string zoneName;
    platform::SystemTime local;
    int offsetMinutes = 0;
    bool daylight = false;
    std::optional<worldtime::CityClock::Change> next;
    std::optional<worldtime::ClockShift> shift;  // next as the wall clock moves
};

CityTime timeOf(const CityMatch& city, std::int64_t utc) {
    using namespace worldtime;
    const core::RecordTable& table = *city.table;
    CityTime out;
    out.name = utf8(table.fieldText(city.row, cityField::Name));
    out.country = utf8(table.fieldText(city.row, cityField::Country));
    out.code = utf8(table.fieldText(city.row, cityField::Code));
    out.zone = cityZone(table, city.row);
    out.zoneName = utf8(zoneDisplayName(out.zone));
    const CityClock clock = cityClock(table, city.row, utc);
    out.daylight = clock.daylight;
    out.offsetMinutes = clock.offsetMinutes;
    out.local = clock.local;
    out.next = clock.next;
    out.shift = worldtime::nextClockShift(clock);
    return out;
}

// The text followed by spaces up to width characters; UTF-8 text takes more bytes than it
// shows characters ("Zürich" is six characters in seven bytes).
std::string padded(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters >= width ? text : text + std::string(width - characters, ' ');
}

// The wall clock just before the change, as people are told it: "clocks go forward 1 h on
// Sun 28 Mar 2027 01:00".
std::string changeText(const CityTime& t) {
    static const worldtime::ClockChangeWords kWords{
        L"clocks go forward %s on %s %s", L"clocks go back %s on %s %s", L"%d h", L"%d min"};
    if (!t.shift)
        return {};
    auto date = [](const platform::SystemTime& wall) {
        char out[32];
        std::snprintf(out, sizeof out, "%s %d %s %d", kWeekdays[wall.dayOfWeek % 7], wall.day,
                      kMonths[(wall.month + 11) % 12], wall.year);
        return platform::fromUtf8(out);
    };
    auto time = [](const platform::SystemTime& wall) {
        return platform::fromUtf8(hoursMinutes(wall.hour, wall.minute));
    };
    return utf8(worldtime::clockChangeText(*t.shift, kWords, date, time));
}

void printText(const std::vector<CityTime>& times) {
    for (const CityTime& t : times) {
        std::string label = padded(t.name + ", " + t.country, 32);
        const std::string change = changeText(t);
        std::printf("%s %s %s %s  UTC%s %-3s  %s%s%s\n", label.c_str(),
                    kWeekdays[t.local.dayOfWeek % 7], isoDate(t.local).c_str(),
                    hoursMinutes(t.local.hour, t.local.minute).c_str(),
                    offsetText(t.offsetMinutes).c_str(), t.daylight ? "DST" : "",
                    t.zoneName.c_str(), change.empty() ? "" : "; ", change.c_str());
    }
}

void printJson(const platform::SystemTime& at, const std::vector<CityTime>& times) {
    Json json;
    json.beginObject().field("at", isoDateTime(at) + "Z").beginArray("cities");
    for (const CityTime& t : times) {
        json.beginObject()
            .field("name", t.name)
            .field("country", t.country)
            .field("code", t.code)
            .field("zone", t.zone)
            .field("zoneName", t.zoneName)
            .field("local", isoDateTime(t.local))
            .field("weekday", kWeekdays[t.local.dayOfWeek % 7])
            .field("utcOffset", offsetText(t.offsetMinutes))
            .field("offsetMinutes", t.offsetMinutes)
            .field("daylightSaving", t.daylight);
        if (t.next) {
            auto utc = worldtime::fromFileTicks(t.next->utcTicks);
            json.key("nextChange")
                .beginObject()
                .field("utc", utc ? isoDateTime(*utc) + "Z" : std::string())
                .field("offsetMinutesAfter", t.next->offsetMinutesAfter)
                .field("daylightSavingAfter", t.next->daylightAfter)
                .field("text", changeText(t))
                .endObject();
        }
        json.endObject();
    }
    json.endArray().endObject();
    writeOut(json.text() + "\n");
}

}  // namespace

int runTime(const Invocation& invocation) {
    auto at = momentAsked(invocation);
    if (!at)
        return kExitUsage;
    if (!loadZoneTable(invocation))
        return kExitFailure;
    CityFinder finder(invocation.mainPath);
    std::vector<CityMatch> cities;
    for (const std::string& query : invocation.arguments) {
        auto city = cityNamed(finder, invocation, query);
        if (!city)
            return kExitUsage;
        cities.push_back(*city);
    }
    if (invocation.arguments.empty()) {
        for (int row = 1; row <= finder.favourites().rowCount(); ++row) {
            cities.push_back({&finder.favourites(), row});
        }
    }
    warnAboutDamage(finder.favourites());
    for (const CityMatch& city : cities) {
        warnAboutDamage(*city.table);
        if (!answerIsTrusted(invocation, city))
            return kExitFailure;
    }
    std::int64_t utc = *worldtime::fileTicks(*at);
    std::vector<CityTime> times;
    for (const CityMatch& city : cities) times.push_back(timeOf(city, utc));
    if (invocation.json) {
        printJson(*at, times);
    } else {
        printText(times);
    }
    return kExitOk;
}

}  // namespace vorn
