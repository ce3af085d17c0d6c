#pragma once
// The alarm program: started by the notification service with one of its command lines, it
// re-arms a repeating alarm for its next occurrence, shows the alarm window, rings for the
// ringing time (silent while the phone is busy, silenced when a call comes in), keeps the
// screen lit, and ends on Dismiss or Snooze (which arms the snooze notification first).

namespace alarmprogram {

int runAlarmProgram(int argc, char** argv);

}  // namespace alarmprogram
