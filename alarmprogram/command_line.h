#pragma once
// The alarm program's command lines, as the notification service passes them: "/ALARM " and
// an alarm's name (an armed alarm is due), "/ALMSZ " and a name (its snooze is due), "/QUICK"
// (the quick alarm) and "/PLAYSOUND" (a sound preview without a window). Anything else shows
// the window and plays nothing.

#include <string>
#include <string_view>

namespace alarmprogram {

enum class Command { Alarm, Snooze, Quick, PlaySound, Unknown };

struct ParsedCommandLine {
    Command command = Command::Unknown;
    std::wstring alarmName;  // Alarm and Snooze only
};

// Compared by prefix, case-sensitive, in the order above. The name is everything after the
// switch and its one space; a name longer than the store accepts names no alarm.
ParsedCommandLine parseCommandLine(std::wstring_view commandLine);

}  // namespace alarmprogram
