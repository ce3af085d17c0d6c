// Reading iCalendar text into appointments with libical. The text comes from outside the
// device: it is bounded before parsing, libical's errors are made non-fatal, and every value
// is checked before it becomes an appointment.

#include <libical/ical.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/api/calendar_file.h"
#include "platform/api/device.h"
#include "platform/ics/ics_support.h"

namespace platform {
namespace {

constexpr std::size_t kMaxNotes = 40;

class Notes {
  public:
    explicit Notes(std::vector<std::string>& out) : out_(out) {}
    ~Notes() {
        if (dropped_ > 0)
            out_.push_back("... and " + std::to_string(dropped_) + " more");
    }
    void add(const std::string& note) {
        if (!seen_.insert(note).second)
            return;
        if (out_.size() < kMaxNotes)
            out_.push_back(note);
        else
            ++dropped_;
    }

  private:
    std::vector<std::string>& out_;
    std::set<std::string> seen_;
    int dropped_ = 0;
};

std::wstring text(const char* value, std::size_t limit, const char* what, Notes& notes) {
    std::wstring out = value ? fromUtf8(value) : std::wstring();
    std::replace(out.begin(), out.end(), L'\0', L' ');
    if (out.size() > limit) {
        out.resize(limit);
        notes.add(std::string(what) + " longer than " + std::to_string(limit) + " characters cut");
    }
    return out;
}

// A time of the file as device local time: a zoned or UTC time through UTC, a floating time
// or a date as written.
std::optional<SystemTime> localTime(const icaltimetype& t) {
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return std::nullopt;
    if (!icaltime_is_date(t) && t.zone != nullptr) {
        const time_t utc = icaltime_as_timet_with_zone(t, t.zone);
        return ics::unixToLocal(static_cast<std::int64_t>(utc));
    }
    if (t.year < 1601 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > daysInMonth(t.year, t.month))
        return std::nullopt;
    SystemTime s;
    s.year = static_cast<std::uint16_t>(t.year);
    s.month = static_cast<std::uint16_t>(t.month);
    s.day = static_cast<std::uint16_t>(t.day);
    s.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
    if (!icaltime_is_date(t)) {
        if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 ||
            t.second > 59)
            return std::nullopt;
        s.hour = static_cast<std::uint16_t>(t.hour);
        s.minute = static_cast<std::uint16_t>(t.minute);
        s.second = static_cast<std::uint16_t>(t.second);
    }
    return s;
}

// Seconds from start to end as the event lasts (whole days for dates); never negative.
std::int64_t lengthSeconds(const icaltimetype& start, const icaltimetype& end) {
    if (icaltime_is_null_time(end))
        return icaltime_is_date(start) ? 86400 : 0;
    auto a = localTime(start), b = localTime(end);
    if (!a || !b)
        return 0;
    const auto fa = toFileTime(*a), fb = toFileTime(*b);
    if (!fa || !fb || *fb < *fa)
        return 0;
    return static_cast<std::int64_t>((*fb - *fa) / kFileTimeTicksPerSecond);
}

// The reminder: the first display or audio alarm that goes off before the start.
void readAlarm(icalcomponent* event, Appointment& a, Notes& notes) {
    int alarms = 0;
    for (icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
         alarm; alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        ++alarms;
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger || a.reminderSet)
            continue;
        const icaltriggertype t = icalproperty_get_trigger(trigger);
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        const bool fromEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
        if (!icaltime_is_null_time(t.time) || fromEnd) {
            notes.add("alarms at a fixed time or after the end are not kept");
            continue;
        }
        const int seconds = icaldurationtype_as_int(t.duration);
        if (seconds > 0) {
            notes.add("alarms after the start are not kept");
            continue;
        }
        const int minutes = -seconds / 60;
        if (minutes > kMaxReminderMinutes) {
            notes.add("alarms more than four weeks ahead are not kept");
            continue;
        }
        a.reminderSet = true;
        a.reminderMinutes = minutes;
    }
    if (alarms > 1)
        notes.add("only the first alarm of an event is kept");
}

std::wstring categories(icalcomponent* event, Notes& notes) {
    std::string joined;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_CATEGORIES_PROPERTY)) {
        const char* value = icalproperty_get_categories(p);
        if (!value || !*value)
            continue;
        if (!joined.empty())
            joined += ", ";
        joined += value;
    }
    return text(joined.c_str(), kMaxAppointmentCategories, "categories", notes);
}

// The event's fields other than its times.
Appointment details(icalcomponent* event, Notes& notes) {
    Appointment a;
    a.subject = text(icalcomponent_get_summary(event), kMaxAppointmentSubject, "subjects", notes);
    a.location =
        text(icalcomponent_get_location(event), kMaxAppointmentLocation, "locations", notes);
    a.note = text(icalcomponent_get_description(event), kMaxAppointmentNote, "bodies", notes);
    a.categories = categories(event, notes);
    readAlarm(event, a, notes);
    for (icalproperty_kind kind : {ICAL_ATTENDEE_PROPERTY, ICAL_ORGANIZER_PROPERTY,
                                   ICAL_ATTACH_PROPERTY, ICAL_URL_PROPERTY}) {
        if (icalcomponent_get_first_property(event, kind))
            notes.add(std::string(icalproperty_kind_to_string(kind)) + " is not kept");
    }
    return a;
}

// One appointment from an occurrence's start and the event's length.
std::optional<Appointment> occurrence(const Appointment& base, const icaltimetype& start,
                                      std::int64_t length) {
    auto s = localTime(start);
    if (!s)
        return std::nullopt;
    Appointment a = base;
    a.allDay = icaltime_is_date(start) != 0;
    // An all-day event covers at least its own day.
    if (a.allDay && length < 86400)
        length = 86400;
    a.start = *s;
    auto end =
        toSystemTime(*toFileTime(*s) + static_cast<FileTime>(length) * kFileTimeTicksPerSecond);
    if (!end)
        return std::nullopt;
    a.end = *end;
    if (!isAcceptableAppointment(a))
        return std::nullopt;
    return a;
}

using Key = std::pair<std::string, std::int64_t>;  // UID and an occurrence's local start

std::int64_t startKey(const icaltimetype& t) {
    if (auto local = localTime(t))
        return static_cast<std::int64_t>(*toFileTime(*local) / kFileTimeTicksPerSecond);
    return 0;
}

std::string uidOf(icalcomponent* event) {
    const char* uid = icalcomponent_get_uid(event);
    return uid ? uid : "";
}

class Reader {
  public:
    Reader(CalendarFileRead& out) : out_(out), notes_(out.notes) {}

    void read(icalcomponent* calendar) {
        // Changed occurrences of recurring events replace the occurrence they name.
        for (icalcomponent* e = first(calendar); e; e = next(calendar)) {
            icalproperty* rid = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY);
            if (rid)
                replaced_.insert({uidOf(e), startKey(icalcomponent_get_recurrenceid(e))});
        }
        for (icalcomponent* e = first(calendar); e && !full(); e = next(calendar)) readEvent(e);
        for (icalcomponent_kind kind : {ICAL_VTODO_COMPONENT, ICAL_VJOURNAL_COMPONENT}) {
            if (icalcomponent_get_first_component(calendar, kind))
                notes_.add("tasks and journal entries are not kept");
        }
    }

  private:
    static icalcomponent* first(icalcomponent* c) {
        return icalcomponent_get_first_component(c, ICAL_VEVENT_COMPONENT);
    }
    static icalcomponent* next(icalcomponent* c) {
        return icalcomponent_get_next_component(c, ICAL_VEVENT_COMPONENT);
    }
    bool full() {
        if (out_.appointments.size() < kMaxCalendarFileAppointments)
            return false;
        notes_.add("only the first " + std::to_string(kMaxCalendarFileAppointments) +
                   " appointments are read");
        return true;
    }
    void add(std::optional<Appointment> a) {
        if (a)
            out_.appointments.push_back(std::move(*a));
        else
            notes_.add("events with times the calendar cannot hold are not kept");
    }

    void readEvent(icalcomponent* event) {
        const icaltimetype start = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(start)) {
            notes_.add("events without a start are not kept");
            return;
        }
        if (!icaltime_is_date(start) && !icaltime_is_utc(start) && start.zone == nullptr &&
            icalproperty_get_first_parameter(
                icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY),
                ICAL_TZID_PARAMETER))
            notes_.add("times in an unknown time zone are read as device time");
        // Without an end or a length an all-day event lasts its day, any other none.
        const bool ends = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) ||
                          icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
        const std::int64_t length = ends ? lengthSeconds(start, icalcomponent_get_dtend(event))
                                         : (icaltime_is_date(start) ? 86400 : 0);
        const Appointment base = details(event, notes_);
        icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        const bool recurs =
            rule || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY) != nullptr;
        if (!recurs || icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            add(occurrence(base, start, length));
            return;
        }
        notes_.add("repeating events become one appointment per occurrence");
        std::vector<icaltimetype> starts;
        if (rule)
            expandRule(icalproperty_get_rrule(rule), start, starts);
        else
            starts.push_back(start);
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
            if (!icaltime_is_null_time(rdate.time) &&
                starts.size() < static_cast<std::size_t>(kMaxOccurrences))
                starts.push_back(rdate.time);
        }
        std::set<std::int64_t> excluded;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
            excluded.insert(startKey(icalproperty_get_exdate(p)));
        const std::string uid = uidOf(event);
        std::set<std::int64_t> done;
        for (const icaltimetype& t : starts) {
            const std::int64_t key = startKey(t);
            if (excluded.count(key) || replaced_.count({uid, key}) || !done.insert(key).second)
                continue;
            if (full())
                return;
            add(occurrence(base, t, length));
        }
    }

    void expandRule(const icalrecurrencetype& rule, const icaltimetype& start,
                    std::vector<icaltimetype>& starts) {
        icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
        if (!it) {
            notes_.add("repeat rules libical cannot read are not kept; the first occurrence is");
            starts.push_back(start);
            return;
        }
        const int lastYear = start.year + kOccurrenceYears;
        for (int n = 0;; ++n) {
            const icaltimetype t = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(t))
                break;
            if (n >= kMaxOccurrences || t.year > lastYear) {
                notes_.add("occurrences beyond the first " + std::to_string(kMaxOccurrences) +
                           " or " + std::to_string(kOccurrenceYears) +
                           " years of a repeating event are not kept");
                break;
            }
            starts.push_back(t);
        }
        icalrecur_iterator_free(it);
    }

    CalendarFileRead& out_;
    Notes notes_;
    std::set<Key> replaced_;
};

}  // namespace

CalendarFileRead readCalendarFile(std::string_view text) {
    CalendarFileRead out;
    if (text.size() > kMaxCalendarFileBytes || text.empty())
        return out;
    ics::LibraryGuard guard;
    const std::string copy(text);  // libical reads a C string; a NUL ends the text
    icalcomponent* root = icalparser_parse_string(copy.c_str());
    if (!root)
        return out;
    icalcomponent* calendar = nullptr;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        calendar = root;
    else if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT)
        calendar = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
    if (calendar) {
        out.isCalendar = true;
        Reader(out).read(calendar);
    }
    icalcomponent_free(root);
    return out;
}

}  // namespace platform
