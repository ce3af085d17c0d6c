// The notification records: a table of the machine-state store that every program of the
// device shares. Handles come from a counter kept beside the table, so a handle cleared a
// moment ago is not handed out again until the counter has gone round.

#include <charconv>
#include <cstdio>

#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/services/notification_store.h"

namespace platform {
namespace notification_internal {

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("notifications",
                   "CREATE TABLE IF NOT EXISTS notifications ("
                   " handle INTEGER PRIMARY KEY, size INTEGER NOT NULL, kind INTEGER NOT NULL,"
                   " event INTEGER NOT NULL, application TEXT NOT NULL, arguments TEXT NOT NULL,"
                   " start_fields TEXT NOT NULL, end_fields TEXT NOT NULL,"
                   " due INTEGER NOT NULL, created INTEGER NOT NULL);"
                   "CREATE INDEX IF NOT EXISTS notifications_by_due ON notifications(kind, due);"
                   "CREATE TABLE IF NOT EXISTS notification_counter ("
                   " id INTEGER PRIMARY KEY CHECK(id = 1), next INTEGER NOT NULL);"
                   "INSERT OR IGNORE INTO notification_counter VALUES(1, 1);"
                   "CREATE TABLE IF NOT EXISTS notification_runs ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT, handle INTEGER NOT NULL,"
                   " size INTEGER NOT NULL, kind INTEGER NOT NULL, event INTEGER NOT NULL,"
                   " application TEXT NOT NULL, arguments TEXT NOT NULL,"
                   " start_fields TEXT NOT NULL, end_fields TEXT NOT NULL,"
                   " outcome INTEGER NOT NULL, ran_at INTEGER NOT NULL, pid INTEGER NOT NULL);");
    return s;
}

std::string packTime(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%u %u %u %u %u %u %u %u", t.year, t.month, t.dayOfWeek, t.day,
                  t.hour, t.minute, t.second, t.milliseconds);
    return text;
}

std::optional<SystemTime> unpackTime(std::string_view text) {
    std::uint16_t fields[8] = {};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 8; ++i) {
        if (i > 0) {
            if (p == end || *p != ' ')
                return std::nullopt;
            ++p;
        }
        auto [next, ec] = std::from_chars(p, end, fields[i]);
        if (ec != std::errc())
            return std::nullopt;
        p = next;
    }
    if (p != end)
        return std::nullopt;
    return SystemTime{fields[0], fields[1], fields[2], fields[3],
                      fields[4], fields[5], fields[6], fields[7]};
}

StoredRecord recordFromRow(const state::Statement& st) {
    StoredRecord r;
    r.handle = static_cast<NotificationHandle>(st.integer(0));
    r.record.size = static_cast<std::uint32_t>(st.integer(1));
    r.record.kind = static_cast<NotificationKind>(st.integer(2));
    r.record.event = static_cast<NotificationEvent>(st.integer(3));
    r.record.application = st.text(4);
    r.record.arguments = st.text(5);
    r.record.start = unpackTime(st.utf8(6)).value_or(SystemTime{});
    r.record.end = unpackTime(st.utf8(7)).value_or(SystemTime{0, 0, 0, 0, 0, 0, 0, 0});
    return r;
}

}  // namespace notification_internal

namespace {

using namespace notification_internal;

// Handles stay below 2^31, as the handheld's do, and the counter wraps round past 0.
constexpr std::int64_t kMaxHandle = 0x7FFFFFFF;

bool isKnownKind(NotificationKind kind) {
    auto k = static_cast<std::uint32_t>(kind);
    return k >= 1 && k <= 4;
}

bool isTimed(NotificationKind kind) {
    return kind == NotificationKind::Time || kind == NotificationKind::ClassicTime ||
           kind == NotificationKind::Period;
}

bool isAcceptableText(std::wstring_view text) {
    return text.size() <= kMaxNotificationText && text.find(L'\0') == std::wstring_view::npos;
}

bool isAcceptable(const NotificationRecord& r) {
    if (!isKnownKind(r.kind) || r.application.empty() || !isAcceptableText(r.application) ||
        !isAcceptableText(r.arguments)) {
        return false;
    }
    if (r.kind == NotificationKind::Event)
        return r.event == NotificationEvent::Rs232Detected;
    return isValidSystemTime(r.start);
}

// The next free handle from the counter; called inside the writing transaction.
NotificationHandle takeHandle(state::Store& s) {
    auto read = s.prepare("SELECT next FROM notification_counter WHERE id = 1");
    std::int64_t next = read.step() ? read.integer(0) : 1;
    read.reset();
    for (std::int64_t tries = 0; tries < kMaxHandle; ++tries) {
        if (next < 1 || next > kMaxHandle)
            next = 1;
        auto used = s.prepare("SELECT 1 FROM notifications WHERE handle = ?");
        used.bind(1, next);
        if (!used.step())
            break;
        ++next;
    }
    s.prepare("UPDATE notification_counter SET next = ? WHERE id = 1").bind(1, next + 1).run();
    return static_cast<NotificationHandle>(next);
}

bool recordExists(state::Store& s, NotificationHandle handle) {
    auto st = s.prepare("SELECT 1 FROM notifications WHERE handle = ?");
    st.bind(1, static_cast<std::int64_t>(handle));
    return st.step();
}

}  // namespace

NotificationHandle setUserNotification(NotificationHandle replace,
                                       const NotificationRecord& record) {
    if (!isAcceptable(record))
        return 0;
    // Event records never come due; their due column keeps them out of the time search.
    std::int64_t due = -1;
    if (isTimed(record.kind))
        due = static_cast<std::int64_t>(*toFileTime(record.start));
    auto& s = store();
    std::lock_guard lock(s.mutex());
    NotificationHandle handle = 0;
    s.transaction([&] {
        handle = (replace != 0 && recordExists(s, replace)) ? replace : takeHandle(s);
        auto st = s.prepare(
            "INSERT INTO notifications(handle, size, kind, event, application, arguments,"
            " start_fields, end_fields, due, created) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?,"
            " (SELECT IFNULL(MAX(created), 0) + 1 FROM notifications))"
            " ON CONFLICT(handle) DO UPDATE SET size = excluded.size, kind = excluded.kind,"
            " event = excluded.event, application = excluded.application,"
            " arguments = excluded.arguments, start_fields = excluded.start_fields,"
            " end_fields = excluded.end_fields, due = excluded.due");
        st.bind(1, static_cast<std::int64_t>(handle))
            .bind(2, static_cast<std::int64_t>(record.size))
            .bind(3, static_cast<std::int64_t>(record.kind))
            .bind(4, static_cast<std::int64_t>(record.event))
            .bind(5, std::wstring_view(record.application))
            .bind(6, std::wstring_view(record.arguments))
            .bind(7, std::string_view(packTime(record.start)))
            .bind(8, std::string_view(packTime(record.end)))
            .bind(9, due);
        st.run();
    });
    return handle;
}

bool clearUserNotification(NotificationHandle handle) {
    if (handle == 0)
        return false;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    int removed = 0;
    s.transaction([&] {
        removed = s.prepare("DELETE FROM notifications WHERE handle = ?")
                      .bind(1, static_cast<std::int64_t>(handle))
                      .run();
    });
    return removed > 0;
}

std::vector<NotificationHandle> userNotificationHandles() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::vector<NotificationHandle> handles;
    auto st = s.prepare("SELECT handle FROM notifications ORDER BY created");
    while (st.step()) handles.push_back(static_cast<NotificationHandle>(st.integer(0)));
    return handles;
}

std::optional<NotificationRecord> userNotification(NotificationHandle handle) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st =
        s.prepare("SELECT " + std::string(kRecordColumns) + " FROM notifications WHERE handle = ?");
    st.bind(1, static_cast<std::int64_t>(handle));
    if (!st.step())
        return std::nullopt;
    return recordFromRow(st).record;
}

std::size_t userNotificationSize(NotificationHandle handle) {
    auto record = userNotification(handle);
    if (!record)
        return 0;
    // The handheld's buffer: the information header (16 bytes), the trigger record, the
    // user-notification part (24 bytes), then both strings in UTF-16 with their terminators.
    constexpr std::size_t kHeader = 16, kTrigger = 52, kUserPart = 24;
    return kHeader + kTrigger + kUserPart + 2 * (record->application.size() + 1) +
           2 * (record->arguments.size() + 1);
}

void flushNotificationDatabase() {
    // Each change committed its own transaction; there is nothing pending.
}

}  // namespace platform
