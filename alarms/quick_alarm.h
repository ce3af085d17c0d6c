#pragma once
// The quick alarm, a one-off "/QUICK" notification that is not a record of the store (its
// handle lives in the setting QuickSetAlarm), and the snooze notifications the alarm program
// arms as the user snoozes.

#include <string_view>

#include "platform/api/clock.h"
#include "platform/api/notifications.h"

namespace alarms {

// Clears a pending quick alarm, then arms one for the moment (device local). False, with
// QuickSetAlarm "0", when the service refuses it.
bool setQuickAlarm(const platform::SystemTime& moment);
// Clears the pending quick alarm, if any, and sets QuickSetAlarm to "0".
void cancelQuickAlarm();
// True while QuickSetAlarm holds a handle.
bool quickAlarmSet();
// The handle QuickSetAlarm holds, 0 when none (or when the text is no handle).
platform::NotificationHandle quickAlarmHandle();

// Arms the snooze of a ringing that started at ringStart: at ringStart with its seconds set
// to 0, plus the minutes. With a name it is "/ALMSZ " + name; with an empty name it snoozes
// the quick alarm ("/QUICK") and stores the handle (or "0") in QuickSetAlarm. Returns the
// handle, 0 when the service refused it.
platform::NotificationHandle armSnooze(std::wstring_view alarmName,
                                       const platform::SystemTime& ringStart, int minutes);

}  // namespace alarms
