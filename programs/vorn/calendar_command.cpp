// vorn calendar: the device calendar's appointments listed, written to an iCalendar file and
// read from one. Files named on the command line are host files; the export is written beside
// its name and renamed over it, and an import never adds an appointment the calendar already
// holds.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/api/calendar.h"
#include "platform/api/calendar_file.h"
#include "platform/api/device.h"
#include "programs/vorn/calendar_io.h"
#include "programs/vorn/commands.h"

namespace vorn {
namespace {

// The local-time range of --from and --to (both days included); everything without them.
std::optional<std::pair<platform::SystemTime, platform::SystemTime>> rangeAsked(
    const Invocation& invocation) {
    platform::SystemTime from{1601, 1, 1, 1, 0, 0, 0, 0};
    platform::SystemTime to{9999, 12, 5, 31, 0, 0, 0, 0};
    if (auto text = invocation.option("--from")) {
        auto day = parseDate(*text);
        if (!day)
            return std::nullopt;
        from = *day;
    }
    if (auto text = invocation.option("--to")) {
        auto day = parseDate(*text);
        if (!day)
            return std::nullopt;
        auto next = platform::toSystemTime(*platform::toFileTime(*day) +
                                           86400 * platform::kFileTimeTicksPerSecond);
        if (!next)
            return std::nullopt;
        to = *next;
    }
    return std::make_pair(from, to);
}

int list(const Invocation& invocation) {
    auto range = rangeAsked(invocation);
    if (!range)
        return report(invocation, kExitUsage, "--from and --to take YYYY-MM-DD");
    const auto found = platform::appointmentsBetween(range->first, range->second);
    if (invocation.json) {
        Json json;
        json.beginObject().beginArray("appointments");
        for (const auto& a : found) writeAppointmentJson(json, a);
        json.endArray().endObject();
        writeOut(json.text() + "\n");
        return kExitOk;
    }
    for (const auto& a : found) writeOut(appointmentLine(a) + "\n");
    if (found.empty())
        writeOut("no appointments\n");
    return kExitOk;
}

int exportTo(const Invocation& invocation) {
    if (invocation.arguments.size() != 2)
        return report(invocation, kExitUsage, "calendar export needs one FILE.ics");
    auto range = rangeAsked(invocation);
    if (!range)
        return report(invocation, kExitUsage, "--from and --to take YYYY-MM-DD");
    const auto found = platform::appointmentsBetween(range->first, range->second);
    const std::string& file = invocation.arguments[1];
    if (!writeCalendarHostFile(file, found))
        return report(invocation, kExitFailure, "cannot write " + file);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("file", file)
            .field("appointments", static_cast<int>(found.size()));
        writeOut(json.endObject().text() + "\n");
    } else {
        writeOut(std::to_string(found.size()) + " appointments written to " + file + "\n");
    }
    return kExitOk;
}

int importFrom(const Invocation& invocation) {
    if (invocation.arguments.size() != 2)
        return report(invocation, kExitUsage, "calendar import needs one FILE.ics");
    const std::string& file = invocation.arguments[1];
    std::string problem;
    auto text = readBoundedHostFile(file, platform::kMaxCalendarFileBytes, problem);
    if (!text)
        return report(invocation, kExitFailure, problem);
    const platform::CalendarFileRead read = platform::readCalendarFile(*text);
    if (!read.isCalendar)
        return report(invocation, kExitFailure, file + " is not an iCalendar file");
    const ImportCount count = importAppointments(read.appointments);
    if (invocation.json) {
        Json json;
        json.beginObject()
            .field("file", file)
            .field("imported", count.added)
            .field("alreadyThere", count.present)
            .field("refused", count.refused);
        json.beginArray("notKept");
        for (const auto& note : read.notes) json.value(note);
        writeOut(json.endArray().endObject().text() + "\n");
    } else {
        writeOut(std::to_string(count.added) + " appointments imported, " +
                 std::to_string(count.present) + " already in the calendar" +
                 (count.refused ? ", " + std::to_string(count.refused) + " refused" : "") + "\n");
        for (const auto& note : read.notes) writeOut("not kept: " + note + "\n");
    }
    return kExitOk;
}

}  // namespace

int runCalendar(const Invocation& invocation) {
    const std::string verb = invocation.arguments.empty() ? "" : invocation.arguments[0];
    if (verb == "list" && invocation.arguments.size() == 1)
        return list(invocation);
    if (verb == "export")
        return exportTo(invocation);
    if (verb == "import")
        return importFrom(invocation);
    return report(invocation, kExitUsage,
                  "calendar list | export [--from DATE --to DATE] FILE.ics | import FILE.ics");
}

}  // namespace vorn
