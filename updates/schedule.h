#pragma once
// Scheduled updates: the comms program is started with "/schedule" by a timed notification at
// the next moment the user's interval and daily window allow. Only one such notification is
// ever pending; each scheduling replaces the one before.

#include <optional>
#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace updates {

constexpr std::wstring_view kScheduleArguments = L"/schedule";
// The comms program's retry of an unattended update that failed.
constexpr std::wstring_view kRetryArguments = L"/retry";

// True when an interval in hours is one of the offered ones (0 off, 1, 2, 4, 6, 12, 24, 48,
// 168).
bool isScheduleInterval(int hours);

// True when an hour lies in the window from start to end, which may run over midnight; equal
// start and end accept every hour.
bool hourInWindow(int hour, int start, int end);

// The moment of the next scheduled update after `now` (local time) for an interval of
// `hours` (not 0) and a window from `start` to `end` (start -1: no window). With a window the
// candidates run in steps of the interval from the window's start on the day before; the
// first that lies in the window, is not in the same hour of the same day as now and is not
// earlier than now is taken; after 100 candidates the last one is. Nothing for an interval
// that is not offered or a time that cannot be computed.
std::optional<platform::SystemTime> nextUpdateTime(const platform::SystemTime& now, int hours,
                                                   int start, int end);

// What scheduleNextUpdate did, for its callers and the display.
enum class ScheduleOutcome { Off, Scheduled, Failed };

// Clears the pending scheduled notification (and one the comms program left after an error)
// and, unless updates are off, sets the next one, storing its handle in ScheduledUpdate and
// its display text in ScheduledUpdateNextDisp. Reads the interval and window from the
// settings and the time from the device clock.
ScheduleOutcome scheduleNextUpdate();

// After a scheduled or docking update failed: a timed notification OptSchedRetry minutes from
// now that starts the comms program with "/retry", replacing any retry pending before (its
// handle in ErrorUpdate). Nothing when retries are off. True when a retry is pending.
bool armRetry();
// Clears the pending retry, if any.
void clearRetry();

}  // namespace updates
