#pragma once
// The loaded libraries of the device's programs, as the handheld's tool-help module list
// shows them: which programs have a device file loaded as a library right now.

#include <string_view>
#include <vector>

#include "platform/api/process.h"

namespace platform {

// The processes of the device's programs (those with a window on the device) that have the
// library at the device path loaded; empty when the path names no file.
std::vector<ProcessId> processesUsingModule(std::wstring_view deviceModulePath);

}  // namespace platform
