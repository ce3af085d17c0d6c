#pragma once
// The device's calendar: appointments that every program of the device shares, kept in the
// machine-state store. The calendar program shows and edits them; other programs book
// meetings into it. Times are device local time, as the handheld's calendar keeps them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"

namespace platform {

// 0 is never an object id.
using AppointmentId = std::uint32_t;

struct Appointment {
    AppointmentId id = 0;  // given by the store; ignored when adding
    std::wstring subject;
    SystemTime start{};  // device local time
    SystemTime end{};    // device local time, not before start
    bool allDay = false;
    std::wstring location;
    std::wstring note;        // the appointment's body text
    std::wstring categories;  // comma-separated category names
    bool reminderSet = false;
    int reminderMinutes = 0;  // minutes before the start that the reminder goes off
    friend bool operator==(const Appointment&, const Appointment&) = default;
};

// Longest texts an appointment may carry (characters); longer ones are refused.
constexpr std::size_t kMaxAppointmentSubject = 255;
constexpr std::size_t kMaxAppointmentLocation = 255;
constexpr std::size_t kMaxAppointmentNote = 4096;
constexpr std::size_t kMaxAppointmentCategories = 255;
// Longest lead a reminder may have: four weeks.
constexpr int kMaxReminderMinutes = 4 * 7 * 24 * 60;

// The calendar program, which shows an appointment when a reminder goes off or when another
// program asks to display one.
constexpr std::wstring_view kCalendarProgram = L"\\windows\\poutlook.exe";

// True when the appointment may be stored: valid times, an end not before its start, texts
// within their bounds and free of NUL characters.
bool isAcceptableAppointment(const Appointment& appointment);

// An appointment with a reminder arms a time notification that starts the calendar program
// with "calendar -show ID" at the reminder's time, when that lies ahead of the device's clock.
// Changing the appointment moves or clears it; removing the appointment clears it.

// Stores a new appointment; its object id, or 0 when it is refused.
AppointmentId addAppointment(const Appointment& appointment);
// The appointment with that id, or nothing.
std::optional<Appointment> appointment(AppointmentId id);
// Replaces the appointment with appointment.id; false when there is none or it is refused.
bool updateAppointment(const Appointment& appointment);
// False when there was none with that id.
bool removeAppointment(AppointmentId id);
// The appointments that overlap the local-time range [from, to), earliest start first (an
// appointment of no length counts when its start lies in the range). Nothing for an invalid
// range.
std::vector<Appointment> appointmentsBetween(const SystemTime& from, const SystemTime& to);
// True when any appointment overlaps the local day year-month-day.
bool hasAppointmentOn(int year, int month, int day);

// The handle of the notification armed for the appointment's reminder, 0 when none is.
NotificationHandle reminderNotification(AppointmentId id);

// The calendar program's argument line that shows one appointment.
std::wstring displayAppointmentArguments(AppointmentId id);
// Starts the calendar program showing the appointment; false when there is no such
// appointment or the program could not be started.
bool displayAppointment(AppointmentId id);

}  // namespace platform
