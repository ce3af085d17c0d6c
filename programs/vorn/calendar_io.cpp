#include "programs/vorn/calendar_io.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/api/calendar_file.h"
#include "platform/api/device.h"
#include "platform/api/host_file.h"

namespace vorn {
namespace {

bool sameContent(platform::Appointment a, platform::Appointment b) {
    a.id = b.id = 0;
    return a == b;
}

}  // namespace

std::string appointmentLine(const platform::Appointment& a) {
    std::string line = a.allDay ? isoDate(a.start) + " all day"
                                : isoDateTime(a.start) + " - " + isoDateTime(a.end);
    line += "  " + utf8(a.subject);
    if (!a.location.empty())
        line += " (" + utf8(a.location) + ")";
    if (!a.categories.empty())
        line += " [" + utf8(a.categories) + "]";
    if (a.reminderSet)
        line += " reminder " + std::to_string(a.reminderMinutes) + " min";
    return line;
}

void writeAppointmentJson(Json& json, const platform::Appointment& a) {
    json.beginObject()
        .field("id", static_cast<int>(a.id))
        .field("subject", utf8(a.subject))
        .field("start", isoDateTime(a.start))
        .field("end", isoDateTime(a.end))
        .field("allDay", a.allDay)
        .field("location", utf8(a.location))
        .field("body", utf8(a.note))
        .field("categories", utf8(a.categories))
        .field("reminder", a.reminderSet ? a.reminderMinutes : -1)
        .endObject();
}

std::optional<std::string> readBoundedHostFile(const std::string& file, std::size_t limit,
                                               std::string& problem) {
    std::error_code error;
    const std::filesystem::path path(file);
    if (!std::filesystem::is_regular_file(path, error)) {
        problem = "no file " + file;
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > limit) {
        problem = file + " is larger than " + std::to_string(limit) + " bytes";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size))) {
        problem = "cannot read " + file;
        return std::nullopt;
    }
    return text;
}

bool writeCalendarHostFile(const std::string& file,
                           const std::vector<platform::Appointment>& appointments) {
    const std::string text = platform::writeCalendarFile(appointments);
    return !text.empty() &&
           platform::writeHostFileAtomic(
               std::filesystem::path(file),
               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

ImportCount importAppointments(const std::vector<platform::Appointment>& appointments) {
    ImportCount count;
    for (const platform::Appointment& a : appointments) {
        bool present = false;
        // The second from the start: a system time holds no finer step, and an empty range
        // finds nothing.
        auto to = platform::toSystemTime(*platform::toFileTime(a.start) +
                                         platform::kFileTimeTicksPerSecond);
        for (const auto& there : platform::appointmentsBetween(a.start, to.value_or(a.start)))
            present = present || sameContent(there, a);
        if (present) {
            ++count.present;
        } else if (platform::addAppointment(a) != 0) {
            ++count.added;
        } else {
            ++count.refused;
        }
    }
    return count;
}

}  // namespace vorn
