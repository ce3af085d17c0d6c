#pragma once
// What vorn's calendar and trip commands share: appointments as text and JSON, iCalendar host
// files read within a bound and written safely, and importing without duplicates.

#include <optional>
#include <string>
#include <vector>

#include "platform/api/calendar.h"
#include "programs/vorn/cli.h"

namespace vorn {

std::string appointmentLine(const platform::Appointment& a);
void writeAppointmentJson(Json& json, const platform::Appointment& a);

// The file's bytes; nothing (with the problem told) when it is missing, not a regular file
// or larger than the bound.
std::optional<std::string> readBoundedHostFile(const std::string& file, std::size_t limit,
                                               std::string& problem);
// Writes the appointments as iCalendar beside the file and renames it over it.
bool writeCalendarHostFile(const std::string& file,
                           const std::vector<platform::Appointment>& appointments);

struct ImportCount {
    int added = 0;
    int present = 0;  // an equal appointment was already in the calendar
    int refused = 0;
};
ImportCount importAppointments(const std::vector<platform::Appointment>& appointments);

}  // namespace vorn
