// State notifications: named registrations in the machine-state store that start a program
// when a registry value comes to meet a condition. Each registration remembers whether its
// condition held when it was last looked at, so a program starts on the change to the
// condition and not again while the value stays there.

#include "platform/api/state_notifications.h"

#include "platform/api/device.h"
#include "platform/api/process.h"
#include "platform/api/program.h"
#include "platform/services/notification_store.h"

namespace platform {
namespace {

using notification_internal::recordRuns;

state::Store& store() {
    auto& s = notification_internal::store();
    s.ensureSchema("state_notifications",
                   "CREATE TABLE IF NOT EXISTS state_notifications ("
                   " folded TEXT PRIMARY KEY, name TEXT NOT NULL, hive INTEGER NOT NULL,"
                   " key TEXT NOT NULL, value TEXT NOT NULL, application TEXT NOT NULL,"
                   " arguments TEXT NOT NULL, condition INTEGER NOT NULL,"
                   " target INTEGER NOT NULL, mask INTEGER NOT NULL, met INTEGER NOT NULL,"
                   " created INTEGER NOT NULL);");
    return s;
}

std::wstring folded(std::wstring_view name) {
    std::wstring out(name);
    for (auto& c : out) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return out;
}

bool isAcceptableText(std::wstring_view text, bool mayBeEmpty) {
    return (mayBeEmpty || !text.empty()) && text.size() <= kMaxNotificationText &&
           text.find(L'\0') == std::wstring_view::npos;
}

bool isAcceptable(const StateNotification& n) {
    auto condition = static_cast<std::uint32_t>(n.condition);
    return condition <= 6 && isAcceptableText(n.name, false) && isAcceptableText(n.key, false) &&
           isAcceptableText(n.value, false) && isAcceptableText(n.application, false) &&
           isAcceptableText(n.arguments, true) &&
           (n.hive == Hive::CurrentUser || n.hive == Hive::LocalMachine);
}

std::optional<RegistryValue> currentValue(const StateNotification& n) {
    auto key = RegistryKey::open(n.hive, n.key);
    return key ? key->query(n.value) : std::nullopt;
}

// Whether the condition holds for the value as it is now. For "any change" the state is the
// value itself, so every change differs from what was seen before.
std::int64_t stateOf(const StateNotification& n, const std::optional<RegistryValue>& v) {
    bool dword = v && v->type == RegistryType::Dword;
    if (n.condition == StateCondition::Anything)
        return dword ? static_cast<std::int64_t>(v->number) : -1;
    return dword && meetsStateCondition(n, v->number) ? 1 : 0;
}

bool startsOn(const StateNotification& n, std::int64_t before, std::int64_t now) {
    if (n.condition == StateCondition::Anything)
        return before != now;
    return before == 0 && now == 1;
}

StateNotification fromRow(const state::Statement& st) {
    StateNotification n;
    n.name = st.text(0);
    n.hive = static_cast<Hive>(st.integer(1));
    n.key = st.text(2);
    n.value = st.text(3);
    n.application = st.text(4);
    n.arguments = st.text(5);
    n.condition = static_cast<StateCondition>(st.integer(6));
    n.target = static_cast<std::uint32_t>(st.integer(7));
    n.mask = static_cast<std::uint32_t>(st.integer(8));
    return n;
}

constexpr std::string_view kColumns =
    "name, hive, key, value, application, arguments, condition, target, mask, met";

}  // namespace

bool meetsStateCondition(const StateNotification& n, std::uint32_t value) {
    std::uint32_t v = value & n.mask;
    std::uint32_t t = n.target & n.mask;
    switch (n.condition) {
        case StateCondition::Anything:
            return true;
        case StateCondition::Equal:
            return v == t;
        case StateCondition::NotEqual:
            return v != t;
        case StateCondition::Greater:
            return v > t;
        case StateCondition::GreaterOrEqual:
            return v >= t;
        case StateCondition::Less:
            return v < t;
        case StateCondition::LessOrEqual:
            return v <= t;
    }
    return false;
}

bool registryNotifyApp(const StateNotification& n) {
    if (!isAcceptable(n))
        return false;
    std::int64_t met = stateOf(n, currentValue(n));
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        s.prepare(
             "INSERT INTO state_notifications(folded, name, hive, key, value, application,"
             " arguments, condition, target, mask, met, created) VALUES(?, ?, ?, ?, ?, ?, ?, ?,"
             " ?, ?, ?, (SELECT IFNULL(MAX(created), 0) + 1 FROM state_notifications))"
             " ON CONFLICT(folded) DO UPDATE SET name = excluded.name, hive = excluded.hive,"
             " key = excluded.key, value = excluded.value, application = excluded.application,"
             " arguments = excluded.arguments, condition = excluded.condition,"
             " target = excluded.target, mask = excluded.mask, met = excluded.met")
            .bind(1, std::wstring_view(folded(n.name)))
            .bind(2, std::wstring_view(n.name))
            .bind(3, static_cast<std::int64_t>(n.hive))
            .bind(4, std::wstring_view(n.key))
            .bind(5, std::wstring_view(n.value))
            .bind(6, std::wstring_view(n.application))
            .bind(7, std::wstring_view(n.arguments))
            .bind(8, static_cast<std::int64_t>(n.condition))
            .bind(9, static_cast<std::int64_t>(n.target))
            .bind(10, static_cast<std::int64_t>(n.mask))
            .bind(11, met)
            .run();
    });
    return true;
}

bool registryStopNotification(std::wstring_view name) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    int removed = 0;
    s.transaction([&] {
        removed = s.prepare("DELETE FROM state_notifications WHERE folded = ?")
                      .bind(1, std::wstring_view(folded(name)))
                      .run();
    });
    return removed > 0;
}

std::vector<StateNotification> stateNotifications() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::vector<StateNotification> out;
    auto st =
        s.prepare("SELECT " + std::string(kColumns) + " FROM state_notifications ORDER BY created");
    while (st.step()) out.push_back(fromRow(st));
    return out;
}

std::vector<NotificationRun> runStateNotifications() {
    struct Seen {
        StateNotification n;
        std::int64_t met;
    };
    std::vector<Seen> registered;
    {
        auto& s = store();
        std::lock_guard lock(s.mutex());
        auto st = s.prepare("SELECT " + std::string(kColumns) +
                            " FROM state_notifications ORDER BY created");
        while (st.step()) registered.push_back({fromRow(st), st.integer(9)});
    }
    std::vector<NotificationRun> runs;
    FileTime ranAt = deviceUtcFileTime();
    for (const auto& seen : registered) {
        std::int64_t now = stateOf(seen.n, currentValue(seen.n));
        if (now == seen.met)
            continue;
        // Only the process whose update moves the remembered state starts the program.
        int moved = 0;
        {
            auto& s = store();
            std::lock_guard lock(s.mutex());
            s.transaction([&] {
                moved =
                    s.prepare("UPDATE state_notifications SET met = ? WHERE folded = ? AND met = ?")
                        .bind(1, now)
                        .bind(2, std::wstring_view(folded(seen.n.name)))
                        .bind(3, seen.met)
                        .run();
            });
        }
        if (moved == 0 || !startsOn(seen.n, seen.met, now))
            continue;
        NotificationRun run;
        run.record.kind = NotificationKind::Event;
        run.record.application = seen.n.application;
        run.record.arguments = seen.n.arguments;
        run.ranAt = ranAt;
        auto pid = startProgram(seen.n.application, seen.n.arguments);
        run.outcome = pid ? NotificationOutcome::Started : NotificationOutcome::Failed;
        run.processId = pid.value_or(0);
        logLine("state notification " + toUtf8(seen.n.name) + ": " +
                (pid ? "started " : "could not start ") + toUtf8(seen.n.application));
        runs.push_back(std::move(run));
    }
    recordRuns(runs);
    return runs;
}

}  // namespace platform
