// The notification service's work: taking due time notifications out of the store and
// starting their programs, starting the programs of event notifications, the run log, and
// what a started program learns about its start.

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "platform/api/device.h"
#include "platform/api/notifications.h"
#include "platform/api/process.h"
#include "platform/api/program.h"
#include "platform/services/notification_store.h"
#include "platform/services/process_internal.h"

namespace platform {
namespace notification_internal {

std::vector<std::string> startEnvironment(const SystemTime& due, NotificationOutcome outcome) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", due.year, due.month, due.day,
                  due.hour, due.minute, due.second);
    return {
        std::string(kDueVariable) + "=" + text,
        std::string(kOutcomeVariable) + "=" + std::to_string(static_cast<std::uint32_t>(outcome))};
}

std::optional<NotificationStart> parseNotificationStart(std::string_view due,
                                                        std::string_view outcome) {
    // Exactly "YYYY-MM-DDTHH:MM:SS": fixed widths, digits only.
    constexpr std::string_view kShape = "0000-00-00T00:00:00";
    if (due.size() != kShape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        bool digit = due[i] >= '0' && due[i] <= '9';
        if (kShape[i] == '0' ? !digit : due[i] != kShape[i])
            return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t width) {
        std::uint16_t v = 0;
        std::from_chars(due.data() + at, due.data() + at + width, v);
        return v;
    };
    SystemTime t;
    t.year = number(0, 4);
    t.month = number(5, 2);
    t.day = number(8, 2);
    t.hour = number(11, 2);
    t.minute = number(14, 2);
    t.second = number(17, 2);
    t.milliseconds = 0;
    if (!isValidSystemTime(t))
        return std::nullopt;
    t.dayOfWeek = static_cast<std::uint16_t>(dayOfWeekOf(t.year, t.month, t.day));
    if (outcome != "1" && outcome != "2" && outcome != "3")
        return std::nullopt;
    return NotificationStart{t, static_cast<NotificationOutcome>(outcome[0] - '0')};
}

}  // namespace notification_internal

namespace {

using namespace notification_internal;

// A notification handled within this long of its time counts as started on time: the service
// looks at least twice a second, but a loaded device may be slower.
constexpr std::int64_t kOnTimeSeconds = 60;

NotificationOutcome outcomeFor(FileTime due, FileTime now) {
    std::int64_t late =
        now > due ? static_cast<std::int64_t>((now - due) / kFileTimeTicksPerSecond) : 0;
    if (late <= kOnTimeSeconds)
        return NotificationOutcome::Started;
    if (late <= kLateNotificationCutoffSeconds)
        return NotificationOutcome::Late;
    return NotificationOutcome::Missed;
}

}  // namespace

namespace notification_internal {

void recordRuns(const std::vector<NotificationRun>& runs) {
    if (runs.empty())
        return;
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        for (const auto& run : runs) {
            const NotificationRecord& r = run.record;
            s.prepare(
                 "INSERT INTO notification_runs(handle, size, kind, event, application,"
                 " arguments, start_fields, end_fields, outcome, ran_at, pid)"
                 " VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .bind(1, static_cast<std::int64_t>(run.handle))
                .bind(2, static_cast<std::int64_t>(r.size))
                .bind(3, static_cast<std::int64_t>(r.kind))
                .bind(4, static_cast<std::int64_t>(r.event))
                .bind(5, std::wstring_view(r.application))
                .bind(6, std::wstring_view(r.arguments))
                .bind(7, std::string_view(packTime(r.start)))
                .bind(8, std::string_view(packTime(r.end)))
                .bind(9, static_cast<std::int64_t>(run.outcome))
                .bind(10, static_cast<std::int64_t>(run.ranAt))
                .bind(11, static_cast<std::int64_t>(run.processId))
                .run();
        }
        s.prepare(
             "DELETE FROM notification_runs WHERE id <= "
             "(SELECT MAX(id) FROM notification_runs) - ?")
            .bind(1, static_cast<std::int64_t>(kMaxNotificationRuns))
            .run();
    });
}

}  // namespace notification_internal

namespace {

using notification_internal::recordRuns;

void logRun(const NotificationRun& run) {
    std::string what = run.outcome == NotificationOutcome::Failed ? "could not start " : "started ";
    logLine("notification " + std::to_string(run.handle) + ": " + what +
            toUtf8(run.record.application) + " " + toUtf8(run.record.arguments) +
            (run.outcome == NotificationOutcome::Late     ? " (late)"
             : run.outcome == NotificationOutcome::Missed ? " (missed)"
                                                          : ""));
}

}  // namespace

std::vector<NotificationRun> runDueNotifications() {
    auto now = toFileTime(deviceLocalTime());
    if (!now)
        return {};
    std::vector<StoredRecord> due;
    {
        // Taking the records and deleting them is one transaction, so of several services
        // looking at once exactly one gets each record.
        auto& s = store();
        std::lock_guard lock(s.mutex());
        s.transaction([&] {
            auto st = s.prepare("SELECT " + std::string(kRecordColumns) +
                                " FROM notifications WHERE kind IN (2, 3, 4) AND due <= ?"
                                " ORDER BY due, created");
            st.bind(1, static_cast<std::int64_t>(*now));
            while (st.step()) due.push_back(recordFromRow(st));
            st.reset();
            for (const auto& d : due) {
                s.prepare("DELETE FROM notifications WHERE handle = ?")
                    .bind(1, static_cast<std::int64_t>(d.handle))
                    .run();
            }
        });
    }
    std::vector<NotificationRun> runs;
    FileTime ranAt = deviceUtcFileTime();
    FileTime nowUtc = localToUtc(*now).value_or(ranAt);
    for (const auto& d : due) {
        NotificationRun run{d.handle, d.record, NotificationOutcome::Started, ranAt};
        // Lateness is real time: across a daylight change the local clock jumps, and a
        // record for a local time the change skipped is on time at the moment after it.
        FileTime dueLocal = toFileTime(d.record.start).value_or(*now);
        NotificationOutcome outcome = outcomeFor(localToUtc(dueLocal).value_or(nowUtc), nowUtc);
        auto pid = process_internal::startProgramWith(d.record.application, d.record.arguments,
                                                      startEnvironment(d.record.start, outcome));
        run.outcome = pid ? outcome : NotificationOutcome::Failed;
        run.processId = pid.value_or(0);
        logRun(run);
        runs.push_back(std::move(run));
    }
    recordRuns(runs);
    return runs;
}

std::optional<SystemTime> nextNotificationTime() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    auto st = s.prepare("SELECT MIN(due) FROM notifications WHERE kind IN (2, 3, 4)");
    if (!st.step() || st.isNull(0))
        return std::nullopt;
    return toSystemTime(static_cast<FileTime>(st.integer(0)));
}

std::vector<NotificationRun> signalNotificationEvent(NotificationEvent event) {
    std::vector<StoredRecord> waiting;
    {
        auto& s = store();
        std::lock_guard lock(s.mutex());
        auto st = s.prepare("SELECT " + std::string(kRecordColumns) +
                            " FROM notifications WHERE kind = 1 AND event = ? ORDER BY created");
        st.bind(1, static_cast<std::int64_t>(event));
        while (st.step()) waiting.push_back(recordFromRow(st));
    }
    std::vector<NotificationRun> runs;
    FileTime ranAt = deviceUtcFileTime();
    for (const auto& w : waiting) {
        NotificationRun run{w.handle, w.record, NotificationOutcome::Started, ranAt};
        auto pid = startProgram(w.record.application, w.record.arguments);
        run.outcome = pid ? NotificationOutcome::Started : NotificationOutcome::Failed;
        run.processId = pid.value_or(0);
        logRun(run);
        runs.push_back(std::move(run));
    }
    recordRuns(runs);
    return runs;
}

std::vector<NotificationRun> notificationRunLog() {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::vector<NotificationRun> runs;
    auto st = s.prepare(
        "SELECT handle, size, kind, event, application, arguments, start_fields, end_fields,"
        " outcome, ran_at, pid FROM (SELECT * FROM notification_runs ORDER BY id DESC LIMIT ?)"
        " ORDER BY id");
    st.bind(1, static_cast<std::int64_t>(kMaxNotificationRuns));
    while (st.step()) {
        StoredRecord r = recordFromRow(st);
        NotificationRun run{r.handle, r.record, NotificationOutcome::Started, 0};
        std::int64_t outcome = st.integer(8);
        run.outcome = outcome >= 1 && outcome <= 4 ? static_cast<NotificationOutcome>(outcome)
                                                   : NotificationOutcome::Failed;
        run.ranAt = static_cast<FileTime>(st.integer(9));
        run.processId = static_cast<int>(st.integer(10));
        runs.push_back(std::move(run));
    }
    return runs;
}

std::optional<NotificationStart> startedByNotification() {
    const char* due = std::getenv(kDueVariable);
    const char* outcome = std::getenv(kOutcomeVariable);
    if (!due || !outcome)
        return std::nullopt;
    return parseNotificationStart(due, outcome);
}

}  // namespace platform
