#pragma once
// The status box of the automatic-updates page: the heading, when the next scheduled update
// runs with its interval and window, and the last update the comms program reported.

#include <string>
#include <vector>

#include "platform/api/clock.h"

namespace updates {

// The box's lines in the current language, for the device's local time `today`.
std::vector<std::wstring> updateStatusLines(const platform::SystemTime& today);

}  // namespace updates
