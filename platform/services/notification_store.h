#pragma once
// Internals of the notification service shared by its parts: the record table in the state
// store, the program start with the notification's environment, and the parser of that
// environment (which a program receives from outside and must not trust).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/notifications.h"
#include "platform/device/state_store.h"

namespace platform::notification_internal {

// The store with the notification tables created.
state::Store& store();

// A stored record read back, with its handle.
struct StoredRecord {
    NotificationHandle handle = 0;
    NotificationRecord record;
};

// The record columns in the order recordFromRow reads them, for SELECTs.
constexpr std::string_view kRecordColumns =
    "handle, size, kind, event, application, arguments, start_fields, end_fields";
StoredRecord recordFromRow(const state::Statement& st);

// Appends runs to the run log and trims it to its last kMaxNotificationRuns entries.
void recordRuns(const std::vector<NotificationRun>& runs);

// "YYYY MM DOW DD HH MM SS MS" and back; nothing for text that is not eight numbers in range.
std::string packTime(const SystemTime& t);
std::optional<SystemTime> unpackTime(std::string_view text);

// The environment a notification's program is started with, and its parser.
constexpr const char* kDueVariable = "VORN_NOTIFIED_DUE";
constexpr const char* kOutcomeVariable = "VORN_NOTIFIED_OUTCOME";
std::vector<std::string> startEnvironment(const SystemTime& due, NotificationOutcome outcome);
std::optional<NotificationStart> parseNotificationStart(std::string_view due,
                                                        std::string_view outcome);

}  // namespace platform::notification_internal
