// Reads arbitrary bytes as an iCalendar file: nothing may crash or run away, every appointment
// it gives is one the calendar accepts, the bounds hold, and writing them and reading the text
// back gives the same times, all-day flags and reminders.

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "platform/api/calendar_file.h"
#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

namespace {

void expect(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "calendar_file_fuzz: %s\n", what);
    fuzz::check(condition);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool zoned = [] {
        fuzz::makeMemoryDevice("ics");
        return platform::setDeviceTimeZone("UTC");
    }();
    (void)zoned;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::CalendarFileRead read = platform::readCalendarFile(text);
    expect(read.appointments.size() <= platform::kMaxCalendarFileAppointments, "bounded count");
    expect(read.isCalendar || read.appointments.empty(), "nothing from a non-calendar");
    for (const auto& a : read.appointments)
        expect(platform::isAcceptableAppointment(a), "acceptable appointment");
    if (read.appointments.empty() || read.appointments.size() > 50)
        return 0;
    const platform::CalendarFileRead back =
        platform::readCalendarFile(platform::writeCalendarFile(read.appointments));
    expect(back.isCalendar, "written text is a calendar");
    // Times, all-day flags and reminders come back as they were. (Texts are not compared:
    // libical's unfolding of damaged lines can change one on the way.)
    expect(back.appointments.size() == read.appointments.size(), "round trip count");
    for (std::size_t i = 0; i < back.appointments.size() && i < read.appointments.size(); ++i) {
        const auto& a = read.appointments[i];
        const auto& b = back.appointments[i];
        expect(a.start == b.start && a.end == b.end && a.allDay == b.allDay &&
                   a.reminderSet == b.reminderSet && a.reminderMinutes == b.reminderMinutes,
               "round trip times");
    }
    return 0;
}
