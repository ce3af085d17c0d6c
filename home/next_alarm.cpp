#include "home/next_alarm.h"

#include "alarms/alarm_store.h"
#include "alarms/settings_keys.h"
#include "core/decimal.h"
#include "core/format.h"
#include "core/language.h"
#include "core/settings_keys.h"
#include "core/time_text.h"
#include "platform/api/notifications.h"

namespace home {
namespace {

constexpr int kQuickAlarmName = 760;

// The start of a notification; nothing when it is gone or unreadable.
std::optional<platform::SystemTime> notificationStart(platform::NotificationHandle handle) {
    if (handle == 0)
        return std::nullopt;
    auto record = platform::userNotification(handle);
    if (!record || !platform::isValidSystemTime(record->start))
        return std::nullopt;
    return record->start;
}

class Chooser {
  public:
    explicit Chooser(const platform::SystemTime& now) : now_(platform::toFileTime(now)) {}

    void consider(std::wstring name, std::optional<platform::SystemTime> start, bool quick) {
        std::optional<platform::FileTime> at = start ? platform::toFileTime(*start) : std::nullopt;
        bool future = at && now_ && *at > *now_;
        if (future) {
            if (best_.state == NextAlarm::State::Future && *at >= bestAt_)
                return;
            bestAt_ = *at;
            best_ = {NextAlarm::State::Future, std::move(name), *start, quick};
            return;
        }
        // Past or unreadable: only when nothing better was found so far.
        if (best_.state != NextAlarm::State::None)
            return;
        best_ = {NextAlarm::State::Passed, std::move(name), start.value_or(platform::SystemTime{}),
                 quick};
    }

    const NextAlarm& best() const { return best_; }

  private:
    std::optional<platform::FileTime> now_;
    platform::FileTime bestAt_ = 0;
    NextAlarm best_;
};

}  // namespace

NextAlarm findNextAlarm(std::wstring_view folder, const platform::SystemTime& now) {
    Chooser chooser(now);
    alarms::AlarmStore store{std::wstring(folder)};
    for (int row = 1; row <= store.rowCount(); ++row) {
        platform::NotificationHandle handle = store.handle(row);
        if (handle != 0)
            chooser.consider(store.name(row), notificationStart(handle), false);
    }
    std::wstring quick = core::settings::read(alarms::keys::QuickSetAlarm);
    auto quickHandle = static_cast<platform::NotificationHandle>(core::parseDecimal64(quick));
    if (quickHandle > 0)
        chooser.consider(std::wstring(), notificationStart(quickHandle), true);
    return chooser.best();
}

std::wstring relativeAlarmText(const NextAlarm& alarm, const platform::SystemTime& now) {
    if (alarm.state == NextAlarm::State::None)
        return core::languageString(614);
    if (alarm.state == NextAlarm::State::Passed)
        return core::languageString(91);
    const platform::SystemTime& at = alarm.start;
    if (at.year != now.year || at.month != now.month)
        return core::shortDateText(at);
    if (at.day != now.day) {
        int days = at.day - now.day;
        if (days == 1)
            return core::languageString(86);
        return core::formatText(core::languageString(87), days);
    }
    auto from = platform::toFileTime(now);
    auto to = platform::toFileTime(at);
    std::int64_t minutes =
        (from && to) ? (*to - *from) / (60 * platform::kFileTimeTicksPerSecond) : 0;
    if (minutes >= 60)
        return core::formatText(core::languageString(88), static_cast<int>(minutes / 60));
    if (minutes >= 1)
        return core::formatText(core::languageString(89), static_cast<int>(minutes));
    return core::languageString(90);
}

std::wstring alarmTimeText(const NextAlarm& alarm) {
    if (alarm.state == NextAlarm::State::None || !platform::isValidSystemTime(alarm.start))
        return {};
    int format = core::settings::read(core::keys::OptTimeFormat);
    return core::formatText(core::languageString(85), core::clockTimeText(alarm.start, format));
}

std::wstring alarmNameText(const NextAlarm& alarm) {
    if (alarm.quick)
        return core::languageString(kQuickAlarmName);
    return alarm.name;
}

}  // namespace home
