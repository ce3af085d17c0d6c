// The calendar's appointments: a table of the machine-state store. Start and end are kept as
// local file times beside each other so a range query is one indexed comparison; object ids
// are the table's row ids, which SQLite does not hand out again while a larger one exists.

#include "platform/api/calendar.h"

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
    return a;
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
           isAcceptableText(a.note, kMaxAppointmentNote);
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
    });
    return id;
}

std::optional<Appointment> appointment(AppointmentId id) {
    if (id == 0)
        return std::nullopt;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare(
        "SELECT id, subject, start, finish, all_day, location, note FROM appointments"
        " WHERE id = ?");
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
    return st.run() > 0;
}

bool removeAppointment(AppointmentId id) {
    if (id == 0)
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare("DELETE FROM appointments WHERE id = ?");
    st.bind(1, std::int64_t{id});
    return st.run() > 0;
}

std::vector<Appointment> appointmentsBetween(const SystemTime& from, const SystemTime& to) {
    std::vector<Appointment> found;
    auto a = toFileTime(from);
    auto b = toFileTime(to);
    if (!a || !b || *a >= *b || *b > static_cast<FileTime>(INT64_MAX))
        return found;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare(
        "SELECT id, subject, start, finish, all_day, location, note FROM appointments"
        " WHERE start < ?2 AND (finish > ?1 OR start >= ?1) ORDER BY start, id");
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

}  // namespace platform
