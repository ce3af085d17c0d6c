#pragma once
// Times and dates as the program shows them: the clock format the user chose (OptTimeFormat:
// 1 the device's own, 2 a 12-hour clock, 3 a 24-hour clock), always without seconds, and the
// device's short date.

#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace core {

namespace timeFormat {
constexpr int Device = 1, TwelveHour = 2, TwentyFourHour = 3;
}

// A time picture without its seconds field and the separator before it ("HH:mm:ss" gives
// "HH:mm", "h:mm:ss tt" gives "h:mm tt").
std::wstring withoutSeconds(std::wstring_view picture);
// The picture for a clock format; an unknown format is the device's.
std::wstring clockTimePicture(int format);
// Hours and minutes of a time in the clock format; empty for an invalid time.
std::wstring clockTimeText(const platform::SystemTime& time, int format);
// The date in the device's short date format; empty for an invalid date.
std::wstring shortDateText(const platform::SystemTime& time);

}  // namespace core
