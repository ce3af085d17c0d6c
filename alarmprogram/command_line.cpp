#include "alarmprogram/command_line.h"

#include "alarms/alarm_store.h"

namespace alarmprogram {

namespace {

using alarms::kAlarmSwitch;
using alarms::kPlaySoundSwitch;
using alarms::kQuickSwitch;
using alarms::kSnoozeSwitch;

// "/ALARM name" and "/ALMSZ name": the switch with its space, then the name. The switch alone
// (as a shell that drops a trailing space passes it) names no alarm.
bool takeNamed(std::wstring_view line, std::wstring_view withSpace, ParsedCommandLine& out,
               Command command) {
    const std::wstring_view bare = withSpace.substr(0, withSpace.size() - 1);
    if (line == bare) {
        out.command = command;
        return true;
    }
    if (!line.starts_with(withSpace))
        return false;
    const std::wstring_view name = line.substr(withSpace.size());
    if (name.size() > alarms::kMaxAlarmNameLength)
        return false;
    out.command = command;
    out.alarmName = std::wstring(name);
    return true;
}

}  // namespace

ParsedCommandLine parseCommandLine(std::wstring_view line) {
    ParsedCommandLine parsed;
    if (takeNamed(line, kAlarmSwitch, parsed, Command::Alarm) ||
        takeNamed(line, kSnoozeSwitch, parsed, Command::Snooze))
        return parsed;
    if (line.starts_with(kQuickSwitch))
        parsed.command = Command::Quick;
    else if (line.starts_with(kPlaySoundSwitch))
        parsed.command = Command::PlaySound;
    return parsed;
}

}  // namespace alarmprogram
