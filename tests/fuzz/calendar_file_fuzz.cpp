// Reads arbitrary bytes as an iCalendar file: nothing may crash or run away, every appointment
// it gives is one the calendar accepts, the bounds hold, and writing them and reading the text
// back gives the same appointments.

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
    if (back.appointments != read.appointments) {
        for (const auto* list : {&read.appointments, &back.appointments})
            for (const auto& a : *list)
                std::fprintf(stderr,
                             "%s %04d-%02d-%02d %02d:%02d - %04d-%02d-%02d %02d:%02d %d %d\n",
                             platform::toUtf8(a.subject).c_str(), a.start.year, a.start.month,
                             a.start.day, a.start.hour, a.start.minute, a.end.year, a.end.month,
                             a.end.day, a.end.hour, a.end.minute, a.allDay, a.reminderMinutes);
    }
    expect(back.appointments == read.appointments, "round trip");
    return 0;
}
