#pragma once
// Timed and event notifications, as the handheld's notification service keeps them: a record
// names a device program and its argument line, and the service starts that program when the
// trigger's time comes (or its event happens). Records live in the machine-state store, so
// they survive a restart of the device and every program sees the same set.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/clock.h"

namespace platform {

// 0 is never a handle.
using NotificationHandle = std::uint32_t;

// The handheld's trigger kinds (CNT_EVENT, CNT_TIME, ...).
enum class NotificationKind : std::uint32_t {
    Event = 1,
    Time = 2,
    Period = 3,
    ClassicTime = 4,
};

// Events an event trigger waits for (NOTIFICATION_EVENT_*); only those the system uses.
enum class NotificationEvent : std::uint32_t {
    None = 0,
    Rs232Detected = 9,  // the device was put in its cradle
};

// A trigger with its user-notification part, which the system always leaves empty (no dialog,
// sound or LED from the service itself).
struct NotificationRecord {
    std::uint32_t size = 52;  // the trigger record's size as the handheld declares it
    NotificationKind kind = NotificationKind::Time;
    NotificationEvent event = NotificationEvent::None;
    std::wstring application;  // device path of the program to start
    std::wstring arguments;    // its argument line
    SystemTime start{};        // device local time (time triggers)
    SystemTime end{};          // all zero when unused
    friend bool operator==(const NotificationRecord&, const NotificationRecord&) = default;
};

// Longest application path and argument line a record may carry (characters); longer ones
// are refused, as is an application that is empty.
constexpr std::size_t kMaxNotificationText = 1024;

// Stores a record, replacing the one with the handle `replace` when that is not 0 and exists.
// Returns the record's handle, or 0 when the record is refused (an invalid start time for a
// time trigger, an empty or over-long application or argument line).
NotificationHandle setUserNotification(NotificationHandle replace,
                                       const NotificationRecord& record);

// Removes a record; false when there was none with that handle.
bool clearUserNotification(NotificationHandle handle);

// The handles of every stored record, oldest first.
std::vector<NotificationHandle> userNotificationHandles();

// The handheld's two-step read: first the size the record needs (0 when there is no record
// with that handle), then the record itself.
std::size_t userNotificationSize(NotificationHandle handle);
std::optional<NotificationRecord> userNotification(NotificationHandle handle);

// Writes pending changes of the notification database to storage (CeFlushDBVol). Every call
// above is already durable when it returns; this stays for callers that follow the handheld's
// sequence.
void flushNotificationDatabase();

// What happened to a due notification when the service ran it.
enum class NotificationOutcome : std::uint32_t {
    Started = 1,  // its program was started on time
    Late = 2,     // it came due while the device was off; started late, within the cutoff
    Missed = 3,   // it came due longer than the cutoff ago; started all the same (a program
                  // that re-arms itself keeps its chain going) and told that it was missed
    Failed = 4,   // its program could not be started
};

// A time notification that came due at most this long ago still counts as on time for its
// program; an older one counts as missed.
constexpr std::int64_t kLateNotificationCutoffSeconds = 30 * 60;

struct NotificationRun {
    NotificationHandle handle = 0;
    NotificationRecord record;
    NotificationOutcome outcome = NotificationOutcome::Started;
    FileTime ranAt = 0;  // device UTC when the service handled it
    int processId = 0;   // the program started, 0 when none was (and in the run log)
};

// The service's step: every time notification whose start lies at or before the device's
// present local time is removed and its program started with its argument line. Returns what
// it did, in the order of the start times. Several processes may call this at once; each due
// record is handled exactly once.
std::vector<NotificationRun> runDueNotifications();

// The start (device local) of the earliest stored time notification, for the service's sleep;
// nothing when there is none.
std::optional<SystemTime> nextNotificationTime();

// For a program that a time notification started: how it was started (nothing when no
// notification started this process). The service passes this to the program it starts.
struct NotificationStart {
    SystemTime due{};  // the notification's start time, device local
    NotificationOutcome outcome = NotificationOutcome::Started;  // Started, Late or Missed
};
std::optional<NotificationStart> startedByNotification();

// Starts the programs of event notifications waiting for the event (they stay stored, as on
// the handheld). Returns what it did.
std::vector<NotificationRun> signalNotificationEvent(NotificationEvent event);

// The most recent runs, newest last, for the alarms screen (missed alarms) and for tools.
// The service keeps the last kMaxNotificationRuns.
constexpr std::size_t kMaxNotificationRuns = 200;
std::vector<NotificationRun> notificationRunLog();

}  // namespace platform
