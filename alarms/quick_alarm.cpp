#include "alarms/quick_alarm.h"

#include <algorithm>
#include <limits>
#include <string>

#include "alarms/alarm_store.h"
#include "alarms/repeat_rules.h"
#include "alarms/settings_keys.h"

namespace alarms {
namespace {

platform::NotificationHandle storedQuickHandle() {
    std::wstring text = core::settings::read(keys::QuickSetAlarm);
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        if (value > std::numeric_limits<platform::NotificationHandle>::max())
            return 0;
    }
    return static_cast<platform::NotificationHandle>(value);
}

void storeQuickHandle(platform::NotificationHandle handle) {
    core::settings::write(keys::QuickSetAlarm, std::to_wstring(handle));
}

platform::NotificationHandle armQuick(const platform::SystemTime& moment) {
    platform::NotificationHandle handle =
        platform::setUserNotification(0, alarmNotification(kQuickSwitch, moment));
    platform::flushNotificationDatabase();
    storeQuickHandle(handle);
    return handle;
}

}  // namespace

bool setQuickAlarm(const platform::SystemTime& moment) {
    cancelQuickAlarm();
    return armQuick(moment) != 0;
}

void cancelQuickAlarm() {
    platform::NotificationHandle handle = storedQuickHandle();
    if (handle != 0) {
        platform::clearUserNotification(handle);
        platform::flushNotificationDatabase();
    }
    storeQuickHandle(0);
}

bool quickAlarmSet() {
    return storedQuickHandle() != 0;
}

platform::NotificationHandle quickAlarmHandle() {
    return storedQuickHandle();
}

platform::NotificationHandle armSnooze(std::wstring_view alarmName,
                                       const platform::SystemTime& ringStart, int minutes) {
    platform::SystemTime from = ringStart;
    from.second = 0;
    from.milliseconds = 0;
    // A day is the longest snooze anyone means; the choices top out at half an hour.
    auto due = addToDateTime(from, std::clamp(minutes, 1, 24 * 60), 0, 0, 0, 0, false);
    if (alarmName.empty()) {
        if (!due) {
            storeQuickHandle(0);
            return 0;
        }
        return armQuick(*due);
    }
    if (!due)
        return 0;
    std::wstring arguments = std::wstring(kSnoozeSwitch) + std::wstring(alarmName);
    platform::NotificationHandle handle =
        platform::setUserNotification(0, alarmNotification(arguments, *due));
    platform::flushNotificationDatabase();
    return handle;
}

}  // namespace alarms
