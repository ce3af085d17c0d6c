#include "home/screens/alarm_time_picker.h"

#include <algorithm>

#include "worldtime/date_helpers.h"

namespace home {

void AlarmTimePicker::setTime(int hour, int minute) {
    hour = std::clamp(hour, 0, 23);
    minute = std::clamp(minute, 0, 59);
    digits_ = {hour / 10, hour % 10, minute / 10, minute % 10};
}

std::int64_t AlarmTimePicker::valueMs() const {
    return static_cast<std::int64_t>(hour()) * 3600000 +
           static_cast<std::int64_t>(minute()) * 60000;
}

void AlarmTimePicker::select(int place) {
    selected_ = std::clamp(place, 0, kDigits - 1);
}

bool AlarmTimePicker::moveSelection(int step) {
    int next = selected_ + step;
    if (next < 0 || next >= kDigits)
        return false;
    selected_ = next;
    return true;
}

int AlarmTimePicker::largest(int place) const {
    switch (place) {
        case 0:
            return 2;
        case 1:
            return digits_[0] == 2 ? 3 : 9;
        case 2:
            return 5;
        default:
            return 9;
    }
}

void AlarmTimePicker::step(int direction) {
    auto place = static_cast<std::size_t>(selected_);
    int range = largest(selected_) + 1;
    digits_[place] = ((digits_[place] + (direction > 0 ? 1 : -1)) % range + range) % range;
    // Tens of hours that became 2 may leave the units past 23: they come down to 3.
    if (place == 0 && digits_[1] > largest(1))
        digits_[1] = largest(1);
}

std::optional<platform::SystemTime> quickAlarmMoment(const platform::SystemTime& now, int hour,
                                                     int minute) {
    if (!platform::isValidSystemTime(now))
        return std::nullopt;
    platform::SystemTime moment = now;
    moment.hour = static_cast<std::uint16_t>(std::clamp(hour, 0, 23));
    moment.minute = static_cast<std::uint16_t>(std::clamp(minute, 0, 59));
    moment.second = 0;
    moment.milliseconds = 0;
    auto at = platform::toFileTime(moment);
    auto current = platform::toFileTime(now);
    if (!at || !current)
        return std::nullopt;
    if (*at > *current)
        return moment;
    return worldtime::shiftDateTime(moment, 0, 0, 1, 0, 0, false);
}

bool ringsToday(const platform::SystemTime& now, std::int64_t timeOfDayMs) {
    std::int64_t nowMs = static_cast<std::int64_t>(now.hour) * 3600000 +
                         static_cast<std::int64_t>(now.minute) * 60000;
    return nowMs < timeOfDayMs;
}

}  // namespace home
