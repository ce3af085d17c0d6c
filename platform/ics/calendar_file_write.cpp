// Writing appointments as iCalendar text with libical.

#include <libical/ical.h>

#include <cstdlib>
#include <ctime>

#include "platform/api/calendar_file.h"
#include "platform/api/device.h"
#include "platform/ics/ics_support.h"

namespace platform {
namespace {

icaltimetype utcTime(const SystemTime& local) {
    const std::int64_t seconds = ics::localToUnix(local).value_or(0);
    return icaltime_from_timet_with_zone(static_cast<time_t>(seconds), 0,
                                         icaltimezone_get_utc_timezone());
}

icaltimetype date(const SystemTime& t) {
    icaltimetype d = icaltime_null_date();
    d.year = t.year;
    d.month = t.month;
    d.day = t.day;
    return d;
}

// The day after the all-day appointment's last day: its end itself when that is a midnight
// after the start, else the day after the end's date.
icaltimetype dateAfter(const Appointment& a) {
    icaltimetype end = date(a.end);
    const bool midnight = a.end.hour == 0 && a.end.minute == 0 && a.end.second == 0;
    if (midnight && *toFileTime(a.end) > *toFileTime(a.start))
        return end;
    icaltime_adjust(&end, 1, 0, 0, 0);
    return end;
}

void addCategories(icalcomponent* event, const std::wstring& categories) {
    std::size_t at = 0;
    while (at <= categories.size()) {
        std::size_t comma = categories.find(L',', at);
        if (comma == std::wstring::npos)
            comma = categories.size();
        std::wstring one = categories.substr(at, comma - at);
        const auto first = one.find_first_not_of(L' ');
        const auto last = one.find_last_not_of(L' ');
        if (first != std::wstring::npos)
            icalcomponent_add_property(
                event,
                icalproperty_new_categories(toUtf8(one.substr(first, last - first + 1)).c_str()));
        at = comma + 1;
    }
}

icalcomponent* event(const Appointment& a, const icaltimetype& stamp) {
    icalcomponent* e = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const std::string uid = "appointment-" + std::to_string(a.id) + "-" +
                            std::to_string(*toFileTime(a.start) / kFileTimeTicksPerSecond) +
                            "@vornroamer";
    icalcomponent_set_uid(e, uid.c_str());
    icalcomponent_add_property(e, icalproperty_new_dtstamp(stamp));
    if (a.allDay) {
        icalcomponent_set_dtstart(e, date(a.start));
        icalcomponent_set_dtend(e, dateAfter(a));
    } else {
        icalcomponent_set_dtstart(e, utcTime(a.start));
        icalcomponent_set_dtend(e, utcTime(a.end));
    }
    icalcomponent_set_summary(e, toUtf8(a.subject).c_str());
    if (!a.location.empty())
        icalcomponent_set_location(e, toUtf8(a.location).c_str());
    if (!a.note.empty())
        icalcomponent_set_description(e, toUtf8(a.note).c_str());
    addCategories(e, a.categories);
    if (a.reminderSet) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(-a.reminderMinutes * 60);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(toUtf8(a.subject).c_str()));
        icalcomponent_add_component(e, alarm);
    }
    return e;
}

}  // namespace

std::string writeCalendarFile(const std::vector<Appointment>& appointments) {
    ics::LibraryGuard guard;
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar,
                               icalproperty_new_prodid("-//Vorn Software//Vorn Roamer//EN"));
    const icaltimetype stamp = icaltime_from_timet_with_zone(
        static_cast<time_t>(ics::localToUnix(deviceLocalTime()).value_or(0)), 0,
        icaltimezone_get_utc_timezone());
    for (const Appointment& a : appointments) {
        if (isAcceptableAppointment(a))
            icalcomponent_add_component(calendar, event(a, stamp));
    }
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string out = text ? text : "";
    std::free(text);
    icalcomponent_free(calendar);
    return out;
}

}  // namespace platform
