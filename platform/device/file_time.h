#pragma once
// Host file times as the handheld's 100-nanosecond file times. Internal to the platform.

#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/api/device.h"

namespace platform {

// Seconds and nanoseconds since 1970 as a file time; times before 1601 read as 0.
FileTime fileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds);

// Birth time of a host file where the file system keeps it, else its last change.
std::optional<FileTime> hostFileCreationTime(const std::filesystem::path& host);

}  // namespace platform
