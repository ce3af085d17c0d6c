// The calendar's appointments: a table of the machine-state store. Start and end are kept as
// local file times beside each other so a range query is one indexed comparison; object ids
// are the table's row ids, which SQLite does not hand out again while a larger one exists.
// Categories, reminders and the reminder's notification handle sit in a second table keyed
// by the same id, so stores made before they existed need no change.

#include "platform/api/calendar.h"

#include "platform/api/process.h"
#include "platform/device/state_store.h"

namespace platform {
namespace {

constexpr std::int64_t kMaxId = 0x7FFFFFFF;

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("calendar",
                   "CREATE TABLE IF NOT EXISTS appointments ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT, subject TEXT NOT NULL,"
                   " start INTEGER NOT NULL, finish INTEGER NOT NULL, all_day INTEGER NOT NULL,"
                   " location TEXT NOT NULL, note TEXT NOT NULL);"
                   "CREATE INDEX IF NOT EXISTS appointments_by_start ON appointments(start);");
    s.ensureSchema("calendar details",
                   "CREATE TABLE IF NOT EXISTS appointment_details ("
                   " id INTEGER PRIMARY KEY, categories TEXT NOT NULL,"
                   " reminder_set INTEGER NOT NULL, reminder_minutes INTEGER NOT NULL,"
                   " notification INTEGER NOT NULL);");
    return s;
}

bool isAcceptableText(const std::wstring& text, std::size_t limit) {
    return text.size() <= limit && text.find(L'\0') == std::wstring::npos;
}

std::int64_t stamp(const SystemTime& t) {
    return static_cast<std::int64_t>(*toFileTime(t));
}

Appointment fromRow(const state::Statement& st) {
    Appointment a;
    a.id = static_cast<AppointmentId>(st.integer(0));
    a.subject = st.text(1);
    a.start = toSystemTime(static_cast<FileTime>(st.integer(2))).value_or(SystemTime{});
    a.end = toSystemTime(static_cast<FileTime>(st.integer(3))).value_or(SystemTime{});
    a.allDay = st.integer(4) != 0;
    a.location = st.text(5);
    a.note = st.text(6);
    a.categories = st.text(7);
    a.reminderSet = st.integer(8) != 0;
    a.reminderMinutes = static_cast<int>(st.integer(9));
    return a;
}

constexpr const char* kSelect =
    "SELECT a.id, a.subject, a.start, a.finish, a.all_day, a.location, a.note,"
    " IFNULL(d.categories, ''), IFNULL(d.reminder_set, 0), IFNULL(d.reminder_minutes, 0)"
    " FROM appointments a LEFT JOIN appointment_details d ON d.id = a.id";

NotificationHandle storedNotification(state::Store& s, AppointmentId id) {
    auto st = s.prepare("SELECT notification FROM appointment_details WHERE id = ?");
    st.bind(1, std::int64_t{id});
    return st.step() ? static_cast<NotificationHandle>(st.integer(0)) : 0;
}

// Arms (or moves, or clears) the reminder's notification and stores the details row.
void storeDetails(state::Store& s, AppointmentId id, const Appointment& a) {
    NotificationHandle handle = storedNotification(s, id);
    NotificationHandle armed = 0;
    if (a.reminderSet) {
        const auto lead = static_cast<FileTime>(a.reminderMinutes) * 60 * kFileTimeTicksPerSecond;
        const FileTime start = *toFileTime(a.start);
        const auto now = toFileTime(deviceLocalTime());
        if (start >= lead && now && start - lead > *now) {
            NotificationRecord record;
            record.kind = NotificationKind::Time;
            record.application = std::wstring(kCalendarProgram);
            record.arguments = displayAppointmentArguments(id);
            record.start = *toSystemTime(start - lead);
            armed = setUserNotification(handle, record);
        }
    }
    if (handle != 0 && armed != handle)
        clearUserNotification(handle);
    auto st = s.prepare(
        "INSERT OR REPLACE INTO appointment_details(id, categories, reminder_set,"
        " reminder_minutes, notification) VALUES(?, ?, ?, ?, ?)");
    st.bind(1, std::int64_t{id})
        .bind(2, a.categories)
        .bind(3, std::int64_t{a.reminderSet})
        .bind(4, std::int64_t{a.reminderMinutes})
        .bind(5, std::int64_t{armed});
    st.run();
}

}  // namespace

bool isAcceptableAppointment(const Appointment& a) {
    if (!isValidSystemTime(a.start) || !isValidSystemTime(a.end))
        return false;
    if (*toFileTime(a.end) < *toFileTime(a.start))
        return false;
    // Stamps are kept as signed 64-bit numbers.
    if (*toFileTime(a.end) > static_cast<FileTime>(INT64_MAX))
        return false;
    return isAcceptableText(a.subject, kMaxAppointmentSubject) &&
           isAcceptableText(a.location, kMaxAppointmentLocation) &&
           isAcceptableText(a.note, kMaxAppointmentNote) &&
           isAcceptableText(a.categories, kMaxAppointmentCategories) && a.reminderMinutes >= 0 &&
           a.reminderMinutes <= kMaxReminderMinutes;
}

AppointmentId addAppointment(const Appointment& appointment) {
    if (!isAcceptableAppointment(appointment))
        return 0;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    AppointmentId id = 0;
    s.transaction([&] {
        auto last = s.prepare("SELECT IFNULL(MAX(id), 0) FROM appointments");
        if (last.step() && last.integer(0) >= kMaxId)
            return;  // the ids are used up; refuse rather than wrap onto an old one
        last.reset();
        auto st = s.prepare(
            "INSERT INTO appointments(subject, start, finish, all_day, location, note)"
            " VALUES(?, ?, ?, ?, ?, ?)");
        st.bind(1, appointment.subject)
            .bind(2, stamp(appointment.start))
            .bind(3, stamp(appointment.end))
            .bind(4, std::int64_t{appointment.allDay})
            .bind(5, appointment.location)
            .bind(6, appointment.note);
        st.run();
        id = static_cast<AppointmentId>(s.lastInsertId());
        storeDetails(s, id, appointment);
    });
    return id;
}

std::optional<Appointment> appointment(AppointmentId id) {
    if (id == 0)
        return std::nullopt;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare(std::string(kSelect) + " WHERE a.id = ?");
    st.bind(1, std::int64_t{id});
    if (!st.step())
        return std::nullopt;
    return fromRow(st);
}

bool updateAppointment(const Appointment& appointment) {
    if (appointment.id == 0 || !isAcceptableAppointment(appointment))
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    bool changed = false;
    s.transaction([&] {
        auto st = s.prepare(
            "UPDATE appointments SET subject = ?, start = ?, finish = ?, all_day = ?,"
            " location = ?, note = ? WHERE id = ?");
        st.bind(1, appointment.subject)
            .bind(2, stamp(appointment.start))
            .bind(3, stamp(appointment.end))
            .bind(4, std::int64_t{appointment.allDay})
            .bind(5, appointment.location)
            .bind(6, appointment.note)
            .bind(7, std::int64_t{appointment.id});
        changed = st.run() > 0;
        if (changed)
            storeDetails(s, appointment.id, appointment);
    });
    return changed;
}

bool removeAppointment(AppointmentId id) {
    if (id == 0)
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    bool removed = false;
    s.transaction([&] {
        if (NotificationHandle handle = storedNotification(s, id))
            clearUserNotification(handle);
        auto details = s.prepare("DELETE FROM appointment_details WHERE id = ?");
        details.bind(1, std::int64_t{id});
        details.run();
        auto st = s.prepare("DELETE FROM appointments WHERE id = ?");
        st.bind(1, std::int64_t{id});
        removed = st.run() > 0;
    });
    return removed;
}

std::vector<Appointment> appointmentsBetween(const SystemTime& from, const SystemTime& to) {
    std::vector<Appointment> found;
    auto a = toFileTime(from);
    auto b = toFileTime(to);
    if (!a || !b || *a >= *b || *b > static_cast<FileTime>(INT64_MAX))
        return found;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare(std::string(kSelect) +
                        " WHERE a.start < ?2 AND (a.finish > ?1 OR a.start >= ?1)"
                        " ORDER BY a.start, a.id");
    st.bind(1, static_cast<std::int64_t>(*a)).bind(2, static_cast<std::int64_t>(*b));
    while (st.step()) found.push_back(fromRow(st));
    return found;
}

bool hasAppointmentOn(int year, int month, int day) {
    if (year < 1601 || year > 30826 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return false;
    }
    SystemTime from{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), 0,
                    static_cast<std::uint16_t>(day)};
    auto start = toFileTime(from);
    if (!start)
        return false;
    auto to = toSystemTime(*start + 86400 * kFileTimeTicksPerSecond);
    return to && !appointmentsBetween(from, *to).empty();
}

NotificationHandle reminderNotification(AppointmentId id) {
    if (id == 0)
        return 0;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    return storedNotification(s, id);
}

std::wstring displayAppointmentArguments(AppointmentId id) {
    return L"calendar -show " + std::to_wstring(id);
}

bool displayAppointment(AppointmentId id) {
    if (!appointment(id))
        return false;
    return startProgram(kCalendarProgram, displayAppointmentArguments(id)).has_value();
}

}  // namespace platform
