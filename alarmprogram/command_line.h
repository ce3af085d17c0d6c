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

// The longest alarm name taken from a command line; longer lines are not an alarm's.
constexpr std::size_t kMaxAlarmNameLength = 255;

// Compared by prefix, case-sensitive, in the order above. The name is everything after the
// switch and its one space.
ParsedCommandLine parseCommandLine(std::wstring_view commandLine);

// The switches, for the notifications the program arms.
constexpr std::wstring_view kAlarmSwitch = L"/ALARM ";
constexpr std::wstring_view kSnoozeSwitch = L"/ALMSZ ";
constexpr std::wstring_view kQuickSwitch = L"/QUICK";
constexpr std::wstring_view kPlaySoundSwitch = L"/PLAYSOUND";

}  // namespace alarmprogram
