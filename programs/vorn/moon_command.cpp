// vorn moon: the moon's phase, illuminated part, age and distance, and the last and next new
// moon, as the moon screen computes them.

#include <cmath>
#include <cstdio>

#include "programs/vorn/commands.h"
#include "worldtime/date_helpers.h"
#include "worldtime/moon.h"

namespace vorn {
namespace {

// The usual names of the eight parts of a lunation, each centred on its phase.
const char* phaseName(double phase) {
    constexpr const char* kNames[] = {"new moon",       "waxing crescent", "first quarter",
                                      "waxing gibbous", "full moon",       "waning gibbous",
                                      "last quarter",   "waning crescent"};
    int part = static_cast<int>(std::floor(phase * 8 + 0.5)) % 8;
    return kNames[part < 0 ? 0 : part];
}

// A UTC Julian date as an ISO 8601 time in the device's zone, with its offset from UTC.
std::string localIso(double julianDate) {
    platform::SystemTime utc = worldtime::calendarOfJulianDate(julianDate);
    platform::SystemTime local = worldtime::localTimeOf(julianDate, nullptr);
    auto utcTicks = worldtime::fileTicks(utc);
    auto localTicks = worldtime::fileTicks(local);
    int offset = utcTicks && localTicks
                     ? static_cast<int>((*localTicks - *utcTicks) / worldtime::kTicksPerMinute)
                     : 0;
    return isoDateTime(local) + offsetText(offset);
}

}  // namespace

int runMoon(const Invocation& invocation) {
    if (!invocation.arguments.empty())
        return report(invocation, kExitUsage, "moon takes no arguments (see vorn moon --help)");
    auto moment = momentAsked(invocation);
    if (!moment)
        return kExitUsage;
    const worldtime::MoonReport moon = worldtime::moonReport(*moment);
    const worldtime::MoonState& state = moon.state;
    const std::string at = localIso(moon.julianDate);
    const std::string last = localIso(moon.newMoons.last);
    const std::string next = localIso(moon.newMoons.next);
    const int litPercent = static_cast<int>(state.illuminated * 100);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("at", at)
            .field("phase", state.phase)
            .field("phaseName", phaseName(state.phase))
            .field("illuminated", state.illuminated)
            .field("illuminatedPercent", litPercent)
            .field("ageDays", state.ageDays)
            .field("distanceKm", static_cast<int>(std::lround(state.distanceKm)))
            .field("angularDiameter", state.angularDiameter)
            .field("lastNewMoon", last)
            .field("nextNewMoon", next)
            .endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    const double ageMinutes = state.ageDays * 1440;
    const long wholeMinutes = static_cast<long>(ageMinutes);
    std::printf("moon at %s\n", at.c_str());
    std::printf("phase %s (%.3f), %d%% lit\n", phaseName(state.phase), state.phase, litPercent);
    std::printf("age %ld days %ld hours %ld minutes\n", wholeMinutes / 1440, wholeMinutes / 60 % 24,
                wholeMinutes % 60);
    std::printf("distance %ld km\n", std::lround(state.distanceKm));
    std::printf("last new moon %s\nnext new moon %s\n", last.c_str(), next.c_str());
    return kExitOk;
}

}  // namespace vorn
