#pragma once
// Appointments as iCalendar text (.ics), the form other calendars exchange them in.
//
// Writing gives one VEVENT per appointment: times in UTC (all-day ones as dates), subject,
// location, body, categories and the reminder as a display alarm.
//
// Reading takes what the calendar can hold from every VEVENT: times in any time zone the file
// defines or names are turned into the device's local time; all-day events stay all-day;
// a recurring event becomes one appointment per occurrence (the rule itself, its exceptions
// and changed occurrences applied, is not kept); the first alarm before the start becomes the
// reminder. What it cannot hold is told in the notes, one line each.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/calendar.h"

namespace platform {

// Largest file read, in bytes, and most appointments one file gives.
constexpr std::size_t kMaxCalendarFileBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxCalendarFileAppointments = 10000;
// Most occurrences one recurring event gives, and how far after its first one they reach.
constexpr int kMaxOccurrences = 1000;
constexpr int kOccurrenceYears = 5;

struct CalendarFileRead {
    bool isCalendar = false;                // false when the text is not iCalendar at all
    std::vector<Appointment> appointments;  // ids 0, in the order of the file
    std::vector<std::string> notes;         // what was not kept, UTF-8
};

CalendarFileRead readCalendarFile(std::string_view text);
std::string writeCalendarFile(const std::vector<Appointment>& appointments);

}  // namespace platform
