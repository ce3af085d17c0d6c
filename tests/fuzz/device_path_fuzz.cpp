// Feeds arbitrary wide strings to the device-path mapping: whatever it accepts must stay
// below the device root, and map back to a device path.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/device.h"

namespace {

const std::filesystem::path& fuzzRoot() {
    static const std::filesystem::path root = [] {
        char pattern[] = "/tmp/vorn-fuzz-device-XXXXXX";
        std::filesystem::path r = mkdtemp(pattern);
        std::filesystem::create_directories(r / "Windows" / "Lang");
        std::filesystem::create_directories(r / "Program Files" / "Vorn Roamer");
        std::filesystem::create_directory_symlink("/usr", r / "Data");
        platform::setDeviceRoot(r);
        std::atexit([] { std::filesystem::remove_all(platform::deviceRoot()); });
        return r;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = fuzzRoot();
    // Two bytes a character keeps separators, dots and colons frequent; a high second byte
    // stretches the character beyond the Basic Multilingual Plane and past U+10FFFF.
    std::wstring path;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        std::uint32_t c = data[i] | (data[i + 1] << 8);
        if (data[i + 1] >= 0xF0)
            c <<= 6;
        path += static_cast<wchar_t>(c);
    }
    auto host = platform::hostPath(path);
    if (!host)
        return 0;
    auto relative = host->lexically_relative(root);
    if (relative.empty())
        abort();
    for (const auto& part : relative) {
        if (part == "..")
            abort();
    }
    if (host->native().find('\0') != std::string::npos)
        abort();
    if (host->native().compare(0, root.native().size(), root.native()) != 0)
        abort();
    if (!platform::devicePathOf(*host))
        abort();
    return 0;
}
