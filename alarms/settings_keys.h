#pragma once
// The settings the alarms subsystem owns.

#include "core/settings_key.h"

namespace alarms::keys {

using core::settings::NumberKey;
using core::settings::TextKey;

// The handle of the pending quick alarm notification as decimal text, "0" when none.
constexpr TextKey QuickSetAlarm{L"QuickSetAlarm", L"0", core::byteLimit::Number};
// The sound preview: the sound's path and the volume choice.
constexpr TextKey AlarmSound{L"AlarmSound", L"", core::byteLimit::Path};
constexpr NumberKey AlarmVol{L"AlarmVol", 1, 0, 7};
// 1 while the device must not idle as the stopwatch or a counter runs.
constexpr NumberKey CounterStopSleep{L"CounterStopSleep", 1, 0, 1};

}  // namespace alarms::keys
