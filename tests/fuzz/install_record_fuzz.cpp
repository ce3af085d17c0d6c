// Feeds arbitrary bytes as a device's installation record (<root>/.device/installed). What is
// read is bounded, each entry looks like a device path, and writing the record back and
// reading it again gives the same entries.

#include <cstdint>
#include <cstdlib>
#include <string_view>

// The record's reader is compiled in on its own: the rest of vorndev is not needed.
#include "tools/vorndev/install_record.cpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorndev;
    auto paths = parseInstallRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    if (paths.size() > kMaxRecordedPaths)
        std::abort();
    for (const auto& p : paths) {
        if (p.empty() || p.front() != L'\\' || p.size() > kMaxRecordedPathChars)
            std::abort();
    }
    if (parseInstallRecord(formatInstallRecord(paths)) != paths)
        std::abort();
    return 0;
}
