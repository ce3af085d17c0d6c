#pragma once
// Program start with variables of the starter's own: the notification service tells the
// program it starts how it was started. Internal to the platform.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/process.h"

namespace platform::process_internal {

// startProgram with more environment variables ("NAME=value"). Variables of this kind that
// the starter itself received (VORN_NOTIFIED_*) are never handed on.
std::optional<ProcessId> startProgramWith(std::wstring_view devicePath, std::wstring_view arguments,
                                          const std::vector<std::string>& environment);

}  // namespace platform::process_internal
