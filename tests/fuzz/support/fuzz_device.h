#pragma once
// What the fuzz targets share: a failed expectation ends the run (libFuzzer then keeps the
// input), and a device in memory (tmpfs) whose files each input writes, which costs little,
// removed when the run ends.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/device.h"

namespace fuzz {

inline void check(bool condition) {
    if (!condition)
        std::abort();
}

// Makes the device root for this run ("/dev/shm/vorn-fuzz-NAME-..."), made once; the caller
// sets up what else it needs below it.
inline std::filesystem::path makeMemoryDevice(const std::string& name) {
    std::string pattern = "/dev/shm/vorn-fuzz-" + name + "-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    check(made != nullptr);
    std::filesystem::path root = made;
    platform::setDeviceRoot(root);
    std::atexit([] { std::filesystem::remove_all(platform::deviceRoot()); });
    return root;
}

// The input as a whole host file.
inline void writeHostFile(const std::filesystem::path& path, const std::uint8_t* data,
                          std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    check(f != nullptr);
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace fuzz
