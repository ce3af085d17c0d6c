// vorn trip: the trips of the itinerary screen listed, one trip's agenda shown as the screen
// builds it, and a trip's appointments written to an iCalendar file.

#include <cstdio>

#include "platform/api/calendar.h"
#include "platform/api/locale.h"
#include "programs/vorn/calendar_io.h"
#include "programs/vorn/commands.h"
#include "travel/trip_agenda.h"
#include "travel/trip_calendar.h"
#include "travel/trip_file.h"
#include "travel/trip_time.h"

namespace vorn {
namespace {

std::string timeText(const std::optional<platform::SystemTime>& t) {
    return t ? isoDateTime(*t).substr(0, 16) : "??";
}

std::optional<travel::Trip> tripNamed(const Invocation& invocation, const std::string& name,
                                      int& exitCode) {
    const std::wstring wide = platform::fromUtf8(name);
    if (!travel::isAcceptableTripName(wide)) {
        exitCode = report(invocation, kExitUsage, "not a trip name: " + name);
        return std::nullopt;
    }
    auto trip = travel::loadTrip(travel::itineraryFolder(invocation.mainPath), wide);
    if (!trip)
        exitCode = report(invocation, kExitUsage, "no trip " + name);
    else if (trip->damaged())
        writeError("vorn: " + name + ".trp: " + std::to_string(trip->droppedLines) +
                   " lines could not be read, " + std::to_string(trip->repairedEntries) +
                   " entries had faults put right\n");
    return trip;
}

int list(const Invocation& invocation) {
    const auto trips = travel::listTrips(travel::itineraryFolder(invocation.mainPath));
    if (invocation.json) {
        Json json;
        json.beginObject().beginArray("trips");
        for (const auto& t : trips)
            json.beginObject()
                .field("name", utf8(t.name))
                .field("title", utf8(t.title))
                .field("first", timeText(t.first))
                .field("last", timeText(t.last))
                .endObject();
        writeOut(json.endArray().endObject().text() + "\n");
        return kExitOk;
    }
    for (const auto& t : trips)
        writeOut(utf8(t.name) + "  " + timeText(t.first) + " to " + timeText(t.last) + "\n");
    if (trips.empty())
        writeOut("no trips\n");
    return kExitOk;
}

int show(const Invocation& invocation) {
    if (invocation.arguments.size() != 2)
        return report(invocation, kExitUsage, "trip show needs the trip's NAME");
    int exitCode = kExitOk;
    auto trip = tripNamed(invocation, invocation.arguments[1], exitCode);
    if (!trip)
        return exitCode;
    openShownLanguage(invocation.mainPath);
    const auto rows = travel::buildAgenda(*trip, platform::deviceLocalTime(),
                                          travel::AirlineCodes::load(invocation.mainPath),
                                          travel::languageTexts());
    if (invocation.json) {
        Json json;
        json.beginObject().field("name", utf8(trip->name)).field("icon", utf8(trip->icon));
        json.beginArray("agenda");
        for (const auto& r : rows) {
            json.beginObject();
            if (r.isHeading()) {
                json.field("heading", utf8(r.text));
            } else {
                json.field("entry", r.entry)
                    .field("kind", r.kind)
                    .field("time", utf8(r.time))
                    .field("text", utf8(r.text))
                    .field("reminder", r.reminder)
                    .field("julianDay", utf8(travel::julianDayText(r.julian)))
                    .field("appointment", static_cast<int>(r.appointment));
            }
            json.endObject();
        }
        writeOut(json.endArray().endObject().text() + "\n");
        return kExitOk;
    }
    for (const auto& r : rows) {
        if (r.isHeading())
            writeOut(utf8(r.text) + "\n");
        else
            writeOut("  " + utf8(r.time) + "  " + utf8(r.text) +
                     (r.reminder ? "  (reminder)" : "") + "\n");
    }
    if (rows.empty())
        writeOut("no entries\n");
    return kExitOk;
}

// The trip's appointments: those in the calendar that its entries name, and for an entry
// whose appointments are gone, the ones saving it would make.
std::vector<platform::Appointment> tripAppointments(const travel::Trip& trip) {
    const travel::TextSource texts = travel::languageTexts();
    std::vector<platform::Appointment> out;
    for (const travel::TripEntry& e : trip.entries) {
        auto wanted = travel::entryAppointments(trip.name, e, texts);
        const platform::AppointmentId ids[] = {e.startAppointment, e.endAppointment};
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            auto stored = platform::appointment(ids[i]);
            out.push_back(stored && stored->categories == wanted[i].categories ? *stored
                                                                               : wanted[i]);
        }
    }
    return out;
}

int exportTrip(const Invocation& invocation) {
    if (invocation.arguments.size() != 3)
        return report(invocation, kExitUsage, "trip export needs NAME and FILE.ics");
    int exitCode = kExitOk;
    auto trip = tripNamed(invocation, invocation.arguments[1], exitCode);
    if (!trip)
        return exitCode;
    openShownLanguage(invocation.mainPath);
    const auto appointments = tripAppointments(*trip);
    const std::string& file = invocation.arguments[2];
    if (!writeCalendarHostFile(file, appointments))
        return report(invocation, kExitFailure, "cannot write " + file);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("file", file)
            .field("appointments", static_cast<int>(appointments.size()));
        writeOut(json.endObject().text() + "\n");
    } else {
        writeOut(std::to_string(appointments.size()) + " appointments written to " + file + "\n");
    }
    return kExitOk;
}

}  // namespace

int runTrip(const Invocation& invocation) {
    const std::string verb = invocation.arguments.empty() ? "" : invocation.arguments[0];
    if (verb == "list" && invocation.arguments.size() == 1)
        return list(invocation);
    if (verb == "show")
        return show(invocation);
    if (verb == "export")
        return exportTrip(invocation);
    return report(invocation, kExitUsage, "trip list | show NAME | export NAME FILE.ics");
}

}  // namespace vorn
