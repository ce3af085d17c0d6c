// The next scheduled update and its notification.

#include "updates/schedule.h"

#include <algorithm>
#include <array>

#include "core/comms.h"
#include "core/format.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/time_text.h"
#include "platform/api/locale.h"
#include "platform/api/notifications.h"
#include "updates/settings_keys.h"

namespace updates {
namespace {

using platform::FileTime;
using platform::SystemTime;

constexpr FileTime kMinute = 60 * platform::kFileTimeTicksPerSecond;
constexpr FileTime kHour = 60 * kMinute;
constexpr FileTime kDay = 24 * kHour;
constexpr int kMaxCandidates = 100;
constexpr int kScheduledText = 500, kNotScheduledText = 501, kOffText = 502;
constexpr std::array kIntervals{0, 1, 2, 4, 6, 12, 24, 48, 168};

// The local time is taken as plain calendar fields: a step of a day is the same hour on the
// next date, whatever daylight saving does between.
FileTime stepOf(int hours) {
    return static_cast<FileTime>(hours) * kHour;
}

bool sameDateAndHour(const SystemTime& a, const SystemTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour;
}

std::wstring displayText(const SystemTime& t) {
    std::wstring time =
        platform::formatTime(t, core::withoutSeconds(platform::timePicture())).value_or(L"");
    std::wstring date = platform::formatDate(t, platform::shortDatePicture()).value_or(L"");
    return core::formatText(core::languageString(kScheduledText), time, date);
}

// Every timed notification that starts the comms program with these arguments, so that one
// whose handle was lost (a settings value written over) is replaced too, never left beside the
// new one.
void clearNotificationsWith(std::wstring_view arguments) {
    for (auto handle : platform::userNotificationHandles()) {
        auto r = platform::userNotification(handle);
        if (r && r->kind != platform::NotificationKind::Event &&
            r->application == core::kCommsProgramPath && r->arguments == arguments) {
            platform::clearUserNotification(handle);
        }
    }
}

// The offered retry intervals in minutes; 0 is off.
bool isRetryInterval(int minutes) {
    return minutes == 0 || minutes == 15 || minutes == 30 || minutes == 60 || minutes == 120;
}

}  // namespace

bool isScheduleInterval(int hours) {
    return std::find(kIntervals.begin(), kIntervals.end(), hours) != kIntervals.end();
}

bool hourInWindow(int hour, int start, int end) {
    if (start < end)
        return start <= hour && hour <= end;
    return hour >= start || hour <= end;
}

std::optional<SystemTime> nextUpdateTime(const SystemTime& now, int hours, int start, int end) {
    if (hours <= 0 || !isScheduleInterval(hours) || start < -1 || start > 23 || end < 0 ||
        end > 23) {
        return std::nullopt;
    }
    auto nowTicks = platform::toFileTime(now);
    if (!nowTicks)
        return std::nullopt;
    // Seconds and below do not count: a candidate at the minute now is not earlier than now.
    FileTime step = stepOf(hours);
    if (start == -1)
        return platform::toSystemTime(*nowTicks + step);
    SystemTime first = now;
    first.hour = static_cast<std::uint16_t>(start);
    first.minute = first.second = first.milliseconds = 0;
    auto firstTicks = platform::toFileTime(first);
    if (!firstTicks || *firstTicks < kDay)
        return std::nullopt;
    FileTime t = *firstTicks - kDay;
    for (int candidate = 1; candidate <= kMaxCandidates; ++candidate) {
        auto fields = platform::toSystemTime(t);
        if (!fields)
            return std::nullopt;
        if (hourInWindow(fields->hour, start, end) && !sameDateAndHour(*fields, now) &&
            t >= *nowTicks) {
            return fields;
        }
        if (candidate == kMaxCandidates)
            return fields;
        t += step;
    }
    return std::nullopt;
}

ScheduleOutcome scheduleNextUpdate() {
    namespace settings = core::settings;
    if (int pending = settings::read(keys::ScheduledUpdate); pending != 0) {
        platform::clearUserNotification(static_cast<platform::NotificationHandle>(pending));
        settings::write(keys::ScheduledUpdate, 0);
        settings::write(keys::ScheduledUpdateNextDisp, L"No Next Scheduled Update");
    }
    clearRetry();
    clearNotificationsWith(kScheduleArguments);

    int hours = settings::read(keys::OptScheduler);
    if (!isScheduleInterval(hours) || hours == 0) {
        settings::write(keys::ScheduledUpdate, 0);
        settings::write(keys::ScheduledUpdateNextDisp, core::languageString(kOffText));
        return ScheduleOutcome::Off;
    }
    auto at =
        nextUpdateTime(platform::deviceLocalTime(), hours, settings::read(keys::OptSchedStartTime),
                       settings::read(keys::OptSchedEndTime));
    platform::NotificationHandle handle = 0;
    if (at) {
        platform::NotificationRecord record;
        record.kind = platform::NotificationKind::Time;
        record.application = core::kCommsProgramPath;
        record.arguments = kScheduleArguments;
        record.start = *at;
        handle = platform::setUserNotification(0, record);
    }
    settings::write(keys::ScheduledUpdate, static_cast<int>(handle));
    if (handle == 0) {
        settings::write(keys::ScheduledUpdateNextDisp, core::languageString(kNotScheduledText));
        return ScheduleOutcome::Failed;
    }
    settings::write(keys::ScheduledUpdateNextDisp, displayText(*at));
    return ScheduleOutcome::Scheduled;
}

void clearRetry() {
    namespace settings = core::settings;
    if (int error = settings::read(keys::ErrorUpdate); error != 0) {
        platform::clearUserNotification(static_cast<platform::NotificationHandle>(error));
        settings::write(keys::ErrorUpdate, 0);
    }
    // A retry whose handle was lost is not left to run beside the next one.
    clearNotificationsWith(kRetryArguments);
}

bool armRetry() {
    clearRetry();
    int minutes = core::settings::read(keys::OptSchedRetry);
    if (!isRetryInterval(minutes) || minutes == 0)
        return false;
    auto now = platform::toFileTime(platform::deviceLocalTime());
    auto at = now ? platform::toSystemTime(*now + static_cast<FileTime>(minutes) * kMinute)
                  : std::nullopt;
    if (!at)
        return false;
    platform::NotificationRecord record;
    record.kind = platform::NotificationKind::Time;
    record.application = core::kCommsProgramPath;
    record.arguments = kRetryArguments;
    record.start = *at;
    platform::NotificationHandle handle = platform::setUserNotification(0, record);
    core::settings::write(keys::ErrorUpdate, static_cast<int>(handle));
    return handle != 0;
}

}  // namespace updates
