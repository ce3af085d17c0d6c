#pragma once
// The repeat rules: when a repeating alarm rings next, and the date arithmetic they use.
// All times are calendar times in the device's local time unless said otherwise.

#include <optional>

#include "alarms/alarm_record.h"
#include "platform/api/clock.h"

namespace alarms {

enum class RepeatStatus {
    Found,         // the next occurrence is in `time`
    NotRepeating,  // kind outside 2..7: `time` is the prepared time of day, unsearched
    Exhausted,     // no candidate within the kind's bound (a weekly alarm without days):
                   // the main program reports "Alarm Set Error"; nothing is to be armed
    Invalid,       // the time of day, base or zone gave no real moment
};

struct RepeatResult {
    RepeatStatus status = RepeatStatus::Invalid;
    platform::SystemTime time{};  // seconds and milliseconds 0; weekday filled in
};

// Who searches. The main program compares candidates with the base; the alarm program, which
// runs as the alarm rings, with the present time. Their bounds differ a little (daily 8 / 10).
enum class RepeatCaller { MainProgram, AlarmProgram };

// The next occurrence of a repeating alarm: the first candidate strictly later than the
// reference, at the hour and minute of `ringAt`. `ringAt` is in the alarm city's local time
// when `zone` is not -1 (each candidate is then converted to device time on its own date, so
// a change of daylight saving in either place is followed); `base` is where the search
// starts (the previously armed occurrence), the present time when nothing or when it lies in
// the past. Monthly and yearly alarms ring on the month's last day when their day does not
// exist in it (the 31st rings on 30 April, 29 February on the 28th in common years).
RepeatResult getNextRepeatingTime(const platform::SystemTime& ringAt, const AlarmRecord& record,
                                  int zone, std::optional<platform::SystemTime> base,
                                  RepeatCaller caller = RepeatCaller::MainProgram);
// As above at an explicit present moment (device local), for tests and the command line.
RepeatResult getNextRepeatingTimeAt(const platform::SystemTime& ringAt, const AlarmRecord& record,
                                    int zone, std::optional<platform::SystemTime> base,
                                    const platform::SystemTime& now, RepeatCaller caller);

// Adds minutes, hours and days as elapsed time, then months (12 wraps to 1 of the next year)
// and years to the calendar fields; with skipWeekend a Sunday moves on one day and a Saturday
// two. A day the new month lacks becomes its last day. Nothing when the date-time is not a
// real moment or the result leaves the calendar's range.
std::optional<platform::SystemTime> addToDateTime(const platform::SystemTime& dateTime, int minutes,
                                                  int hours, int days, int months, int years,
                                                  bool skipWeekend);

}  // namespace alarms
