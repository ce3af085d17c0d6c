// The command table and the pieces the commands share. A new command is one more entry in
// kCommands and a run function of its own file.

#include "programs/vorn/commands.h"

#include <set>

#include "core/language.h"
#include "core/settings.h"
#include "core/settings_key.h"
#include "core/settings_keys.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"
#include "worldtime/zones.h"

namespace vorn {
namespace {

constexpr std::string_view kTimeOptions[] = {"--at"};
constexpr std::string_view kSunOptions[] = {"--date"};
constexpr std::string_view kMapOptions[] = {"--at", "--out", "--size"};
constexpr std::string_view kMoonOptions[] = {"--at"};
constexpr std::string_view kAlarmsOptions[] = {"--at"};
constexpr std::string_view kAlarmOptions[] = {"--time",  "--repeat", "--days", "--day",
                                              "--month", "--start",  "--city"};
constexpr std::string_view kPlanOptions[] = {"--date"};
constexpr std::string_view kUpdateOptions[] = {"--replay"};
constexpr std::string_view kFlightOptions[] = {"--date", "--wait"};
constexpr std::string_view kCalendarOptions[] = {"--from", "--to"};

constexpr Command kCommands[] = {
    {"time", "time [CITY...] [--at UTC]",
     "local date and time, zone and daylight saving of cities (the favourites by default)",
     "A city is named by its code (GB2643743), its name (accents and case do not matter) or\n"
     "\"name, country\" (the country's name or two-letter code: \"Paris, FR\"); quote names\n"
     "with spaces. --at takes a UTC time such as\n"
     "2025-07-01T12:00 or 2025-07-01 (midnight); the device's clock otherwise.",
     kTimeOptions, runTime},
    {"sun", "sun CITY [--date YYYY-MM-DD]",
     "sunrise, sunset and day length of a city, as the daylight map's panel shows them",
     "The date is the city's local date, today by default. Times are the city's local\n"
     "times; a day without sunset or sunrise is reported as polar day or polar night.",
     kSunOptions, runSun},
    {"map", "map [--at UTC] --out FILE.png [--size WxH]",
     "renders the daylight map with the favourites marked",
     "The picture has the size of the installed day map (960x480) unless --size asks for\n"
     "another; the current favourite carries the pulse ring.",
     kMapOptions, runMap},
    {"moon", "moon [--at UTC]",
     "the moon's phase, lit part, age and distance, and the last and next new moon",
     "--at takes a UTC time such as 2026-01-18T19:52 (the device's clock otherwise). The\n"
     "new moons are given in the device's zone as ISO 8601 times with their UTC offset.",
     kMoonOptions, runMoon},
    {"dial",
     "dial COUNTRY",
     "a country's calling code and its international and trunk prefixes",
     "A country is named by its name or the start of it, case and accents aside\n"
     "(\"united kingdom\", \"cote d'ivoire\"); quote names with spaces. A prefix \"8-10\"\n"
     "means: dial 8, wait for the tone, dial 10.",
     {},
     runDial},
    {"plan", "plan [CITY...] [--date YYYY-MM-DD]",
     "the meeting planner's hours of a day on the device and in cities (the favourites by default)",
     "Each row is one hour of the device's day (its local date, today by default) with the\n"
     "same moment in every city, by the daylight-saving rules in force at that moment. A \"*\"\n"
     "marks working hours (08:00 to 17:59), \">\" the row of the present hour.",
     kPlanOptions, runPlan},
    {"convert",
     "convert AMOUNT FROM TO",
     "converts an amount between units, currencies or temperature scales",
     "Units by key or symbol (km, mi, NM, lb, kmh, galus), currencies by code (EUR, JPY),\n"
     "temperatures by scale (C, F, K, R). Values as the conversion screen shows them: three\n"
     "decimals, two for temperatures. Currencies use the installed rates.dat.",
     {},
     runConvert},
    {"alarms", "alarms [--at TIME]",
     "the alarms with their state and next ring, as the alarm screens keep them",
     "The next ring is what the repeat rules give after TIME: device time such as\n"
     "2027-01-04T06:59, or UTC with a trailing Z (2027-01-04T05:59Z); the device's clock\n"
     "otherwise. The state is armed, off, or gone (its notification has fired or was removed);\n"
     "\"missed\" names the latest ring that came due while the device was off.",
     kAlarmsOptions, runAlarms},
    {"alarm", "alarm add NAME --time HH:MM [--repeat KIND] [options] | alarm on|off|delete NAME",
     "adds, switches on or off, or deletes an alarm, arming its notification",
     "add takes --repeat once|daily|weekly|workdays|monthly|yearly|custom (once by default),\n"
     "--days mon,tue,... (weekly and custom), --day N (monthly and yearly), --month N\n"
     "(yearly), --start D:M:YYYY (the date of a one-off alarm, today by default) and\n"
     "--city CITY, a favourite city whose local time the alarm keeps. Names are unique,\n"
     "case aside. The alarm rings Alarm1.wav of the install folder at the device's alarm\n"
     "volume; the alarm screens change the rest.",
     kAlarmOptions, runAlarm},
    {"options",
     "options [NAME [VALUE]]",
     "lists the options, shows one option's choices, or sets an option",
     "NAME is the setting's name (OptScheduler, OptSkin, ...; case does not matter). Alone it\n"
     "lists the values the option's list offers, with \"*\" on the current one; with a VALUE\n"
     "it stores that value as the options screen would, and does what the screen does after\n"
     "it: rescheduling updates, the cradle registration, the home screens' rebuild. A value\n"
     "the list does not offer is refused. OptSchedFilter takes the sum of its bits.",
     {},
     runOptions},
    {"weather",
     "weather CITY",
     "a city's current conditions and daily forecast, as the weather screen shows them",
     "Read from the weather files the comms program left in the device's download folder,\n"
     "in the units and language the options choose. A city without files shows that there\n"
     "is no data; ask the weather screen for an update first.",
     {},
     runWeather},
    {"pack",
     "pack list | pack show NAME",
     "the packing lists and templates with their counts, or one list's items and ticks",
     "list names every list and template with its status, as the packing screen's overview\n"
     "shows it. show NAME prints a list (or, when no list has the name, a template) by\n"
     "category: [x] marks a packed item, \"(marked)\" a flagged one. NAME is the list's\n"
     "name or file name, case aside; quote names with spaces.",
     {},
     runPack},
    {"update", "update weather|maps [CITY] | update currency | update city NAME [--replay DIR]",
     "runs a download of the comms program and waits for it, as the screens ask for one",
     "weather fetches the favourites' (or one city's) forecast, parts of day, current\n"
     "conditions and outlook; maps their forecast, satellite, radar and user maps;\n"
     "currency the day's reference rates; city looks a name up and lists what was found\n"
     "(the city screen adds them). --replay DIR answers from recorded answers in the device\n"
     "folder DIR instead of the network. Exits with 1 and the comms program's error when the\n"
     "download failed; nothing is changed then.",
     kUpdateOptions, runUpdate},
    {"airport",
     "airport QUERY",
     "airports by code, city or name, as the airport codes screen lists them",
     "The code first (ZRH), then airports whose city or name starts with the query, then those\n"
     "that hold it; case and accents do not matter (\"zurich\" finds Z\u00fcrich). Quote queries\n"
     "with spaces.",
     {},
     runAirport},
    {"flight", "flight AIRLINE NUMBER [--date yesterday|today|tomorrow] [--wait SECONDS]",
     "a flight's status: the saved flight, or asks the comms program and waits for it",
     "AIRLINE is the airline's code (LX) or its name (Swiss). Without --date a saved flight\n"
     "(the comms program's last answer) is shown as the flight status screen shows it; with\n"
     "--date, or when there is none, the comms program is asked for that day (today by\n"
     "default) and vorn waits for its answer, 60 seconds unless --wait says otherwise.",
     kFlightOptions, runFlight},
    {"calendar", "calendar list | export [--from DATE --to DATE] FILE.ics | import FILE.ics",
     "the device calendar's appointments, listed or as iCalendar files",
     "export writes the appointments (those overlapping --from to --to, both YYYY-MM-DD and\n"
     "both days included, or all) to an iCalendar file; import adds a file's events to the\n"
     "calendar, leaving out those already there. Times in other time zones become device\n"
     "time; a repeating event becomes one appointment per occurrence (at most 1000, within\n"
     "5 years); attendees, tasks and alarms other than one before the start are not kept,\n"
     "and the import says so.",
     kCalendarOptions, runCalendar},
    {"trip",
     "trip list | show NAME | export NAME FILE.ics",
     "the itinerary's trips, a trip's agenda, or its appointments as an iCalendar file",
     "list names every trip with its first and last event; show prints the agenda as the\n"
     "itinerary screen builds it, day by day; export writes the appointments of the trip's\n"
     "entries to an iCalendar file that other calendars (and vorn calendar import) read.",
     {},
     runTrip},
};

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}

bool openShownLanguage(const std::wstring& mainPath) {
    if (!platform::fileExists(mainPath + L"lang\\lang.dat"))
        return false;
    if (!core::buildLanguageList(mainPath, 1, 9))
        return false;
    core::RecordTable& list = core::languageList();
    const int stored =
        list.find(core::languageListField::Code, core::settings::read(core::keys::OptLang), true);
    if (stored)
        list.setCurrentRow(stored);
    else
        core::selectDeviceLanguage();
    return core::openLanguage(mainPath, true, true);
}

bool loadZoneTable(const Invocation& invocation) {
    bool loaded = worldtime::loadZones(invocation.mainPath);
    const core::TableDamage& damage = worldtime::zoneTable().damage();
    if (!loaded && damage.damaged()) {
        report(invocation, kExitFailure, "damaged zone table " + damage.describe());
        return false;
    }
    if (!loaded) {
        report(invocation, kExitFailure,
               "no zone table (dstinfo.dat) in the install folder " + utf8(invocation.mainPath));
        return false;
    }
    warnAboutDamage(worldtime::zoneTable());
    return true;
}

void warnAboutDamage(const core::RecordTable& table) {
    static std::set<std::wstring> warned;
    const core::TableDamage& damage = table.damage();
    if (damage.damaged() && warned.insert(damage.path).second)
        writeError("vorn: warning: damaged " + damage.describe() + "\n");
}

bool answerIsTrusted(const Invocation& invocation, const CityMatch& city) {
    const core::TableDamage& cityDamage = city.table->damage();
    std::string name = utf8(city.table->fieldText(city.row, worldtime::cityField::Name));
    if (cityDamage.faultsOf(city.row) != 0) {
        report(invocation, kExitFailure,
               "the answer for \"" + name + "\" cannot be trusted: its line " +
                   std::to_string(city.row) + " in " + utf8(cityDamage.path) + " is damaged");
        return false;
    }
    int zone = worldtime::cityZone(*city.table, city.row);
    int zoneRow = worldtime::findZone(zone);
    const core::TableDamage& zoneDamage = worldtime::zoneTable().damage();
    if (zoneRow == 0) {
        report(invocation, kExitFailure,
               "the zone " + std::to_string(zone) + " of \"" + name +
                   "\" is not in the zone table " + utf8(zoneDamage.path));
        return false;
    }
    if (zoneDamage.faultsOf(zoneRow) != 0) {
        report(invocation, kExitFailure,
               "the answer for \"" + name + "\" cannot be trusted: the line " +
                   std::to_string(zoneRow) + " of its zone in " + utf8(zoneDamage.path) +
                   " is damaged");
        return false;
    }
    return true;
}

std::optional<platform::SystemTime> momentAsked(const Invocation& invocation) {
    auto text = invocation.option("--at");
    if (!text)
        return platform::deviceUtcTime();
    auto moment = parseUtc(*text);
    if (!moment) {
        report(invocation, kExitUsage,
               "malformed time \"" + *text + "\" (expected YYYY-MM-DD or YYYY-MM-DDTHH:MM, UTC)");
    }
    return moment;
}

std::optional<CityMatch> cityNamed(CityFinder& finder, const Invocation& invocation,
                                   std::string_view query) {
    CityLookupResult found = finder.find(query);
    if (found.city)
        return found.city;
    std::string name(query);
    if (found.ambiguous) {
        // A short name can fit hundreds of cities; a screenful is enough to choose a fuller name.
        constexpr std::size_t kShown = 12;
        std::size_t total = found.candidates.size();
        if (total > kShown) {
            found.candidates.resize(kShown);
            found.candidates.push_back("... and " + std::to_string(total - kShown) +
                                       " more; give a fuller name, \"name, country\" or a code");
        }
        report(invocation, kExitUsage, "\"" + name + "\" names several cities:", found.candidates);
    } else if (!found.candidates.empty()) {
        report(invocation, kExitUsage,
               "unknown city \"" + name + "\"; names that hold it:", found.candidates);
    } else {
        report(invocation, kExitUsage, "unknown city \"" + name + "\"");
    }
    return std::nullopt;
}

std::wstring downloadFolder(const std::wstring& mainPath) {
    if (auto published = core::readDownloadPath(); published && !published->empty())
        return *published;
    return core::downloadPathOf(mainPath);
}

}  // namespace vorn
