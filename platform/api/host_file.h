#pragma once
// Files of the host outside the device, such as a file the user named on a command line.

#include <cstdint>
#include <filesystem>
#include <span>

namespace platform {

// Writes the whole file beside its final name, flushes it, then renames it over the old one,
// as writeFileAtomic does for device files.
bool writeHostFileAtomic(const std::filesystem::path& hostFile,
                         std::span<const std::uint8_t> bytes);

}  // namespace platform
