#pragma once
// The companion's commands and what they share: the zone table, the moment asked for, and
// naming a city.

#include <optional>
#include <string>

#include "programs/vorn/city_lookup.h"
#include "programs/vorn/cli.h"

namespace vorn {

int runTime(const Invocation& invocation);
int runSun(const Invocation& invocation);
int runMap(const Invocation& invocation);
int runMoon(const Invocation& invocation);
int runDial(const Invocation& invocation);
int runPlan(const Invocation& invocation);
int runConvert(const Invocation& invocation);
int runAlarms(const Invocation& invocation);
int runAlarm(const Invocation& invocation);
int runWeather(const Invocation& invocation);
int runPack(const Invocation& invocation);
int runOptions(const Invocation& invocation);
int runUpdate(const Invocation& invocation);
int runAirport(const Invocation& invocation);
int runFlight(const Invocation& invocation);
int runCalendar(const Invocation& invocation);
int runTrip(const Invocation& invocation);

// Loads the language the programs show (OptLang, else the device's) without writing the
// choice back: the commands only read the device. False when the install folder has none.
bool openShownLanguage(const std::wstring& mainPath);
// Loads the install folder's zone table; false (after reporting) when it is missing.
bool loadZoneTable(const Invocation& invocation);
// The moment of --at, else the device's present UTC time; nothing (after reporting) for a
// malformed time.
std::optional<platform::SystemTime> momentAsked(const Invocation& invocation);
// Says on standard error what loading a table found damaged, once per file and run.
void warnAboutDamage(const core::RecordTable& table);
// False (after reporting) when an answer about the city would rest on a damaged line: the
// city's own line in its file, or its zone's line in the zone table, or a zone the table
// lacks. The city's table must have been loaded into an empty table, so that rows are lines.
bool answerIsTrusted(const Invocation& invocation, const CityMatch& city);
// The city a query names; nothing (after reporting an unknown or ambiguous name).
std::optional<CityMatch> cityNamed(CityFinder& finder, const Invocation& invocation,
                                   std::string_view query);

// Loads the language the programs show (OptLang, else the device's) without writing the
// choice back: the commands only read the device. False when the install folder has none.
bool openShownLanguage(const std::wstring& mainPath);
// The download folder the main program published, else the install folder's own.
std::wstring downloadFolder(const std::wstring& mainPath);

}  // namespace vorn
