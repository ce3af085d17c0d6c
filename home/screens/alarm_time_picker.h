#pragma once
// The quick alarm's time: a picker of four digits (hours and minutes, two digits each) that
// steps one digit at a time within what a time of day admits, and the rules that turn the
// picked time into the moment the alarm rings.

#include <array>
#include <cstdint>
#include <optional>

#include "platform/api/clock.h"

namespace home {

class AlarmTimePicker {
  public:
    static constexpr int kDigits = 4;

    // Shows a time of day (hours 0 to 23, minutes 0 to 59; others are clamped). The
    // selected digit stays where it was.
    void setTime(int hour, int minute);
    int hour() const { return digits_[0] * 10 + digits_[1]; }
    int minute() const { return digits_[2] * 10 + digits_[3]; }
    // The picked time as milliseconds after midnight.
    std::int64_t valueMs() const;

    int digit(int place) const { return digits_.at(static_cast<std::size_t>(place)); }
    int selected() const { return selected_; }
    void select(int place);
    // Moves the selection by one place; false at either end, where nothing moves.
    bool moveSelection(int step);
    // Steps the selected digit up (+1) or down (-1), wrapping within what the place admits:
    // the tens of hours go to 2, and with a 2 there the hours' units go to 3 only.
    void step(int direction);

  private:
    int largest(int place) const;

    std::array<int, kDigits> digits_{};
    int selected_ = 0;
};

// The moment a quick alarm set at `now` for hour:minute rings: today at that time with 0
// seconds, or tomorrow when that moment is not later than now. Nothing for an invalid now.
std::optional<platform::SystemTime> quickAlarmMoment(const platform::SystemTime& now, int hour,
                                                     int minute);

// True when a time of day (milliseconds after midnight) lies later today than now, by the
// minute: now's hours and minutes are what count.
bool ringsToday(const platform::SystemTime& now, std::int64_t timeOfDayMs);

}  // namespace home
