#pragma once
// Message numbers as people write them on the command line: a number, a WM_ name
// ("WM_CLOSE", "WM_USER+201") or the name of a registered message, which maps to the same
// number in every program of the device.

#include <cstdint>
#include <string_view>

namespace vorndev {

// Throws UsageError for an unknown WM_ name or a number out of range.
std::uint32_t messageNumber(std::string_view text);

}  // namespace vorndev
