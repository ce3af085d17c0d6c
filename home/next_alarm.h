#pragma once
// The next alarm as the home screen shows it: the alarm of the store (or the quick alarm)
// whose notification rings soonest, and the texts of the next-alarm objects.

#include <optional>
#include <string>
#include <string_view>

#include "platform/api/clock.h"

namespace home {

struct NextAlarm {
    enum class State {
        None,    // no alarm is armed
        Future,  // start lies after the moment asked about
        Passed,  // its time has passed, or its notification cannot be read
    };
    State state = State::None;
    std::wstring name;
    platform::SystemTime start{};  // device local; valid for Future and Passed-with-a-time
    bool quick = false;            // the quick alarm, which is not a record of the store
};

// Looks at every alarm of the store in `folder` that holds a notification handle, and at the
// quick alarm (setting QuickSetAlarm): the one whose notification starts soonest after now
// (device local) wins; one whose time has passed, or whose notification cannot be read,
// counts as later than every future one; on a tie the first found wins, store rows first.
NextAlarm findNextAlarm(std::wstring_view folder, const platform::SystemTime& now);

// When it rings, relative to now: the short date for a later month or year; "Tomorrow" or
// "In %d days" for a later day of this month; "In %d hours", "In %d minutes" or "Now" on the
// same day; "Not set" for a passed alarm; "No alarm set" without one (language strings 86 to
// 91 and 614).
std::wstring relativeAlarmText(const NextAlarm& alarm, const platform::SystemTime& now);
// "at " and the time without seconds (language string 85); empty without a time.
std::wstring alarmTimeText(const NextAlarm& alarm);
// The alarm's name; the quick alarm's is language string 760.
std::wstring alarmNameText(const NextAlarm& alarm);

}  // namespace home
