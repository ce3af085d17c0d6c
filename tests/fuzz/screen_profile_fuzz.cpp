// Feeds arbitrary names and dpi values to the screen profiles a device can be made with (the
// --screen and --dpi of vorndev). What is accepted is one of the known screens at a sane dpi.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/api/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int dpi = 0;
    if (size >= sizeof dpi) {
        std::memcpy(&dpi, data, sizeof dpi);
        data += sizeof dpi;
        size -= sizeof dpi;
    }
    std::string_view name(reinterpret_cast<const char*>(data), size);
    auto profile = platform::screenProfileFromName(name, dpi);
    if (!profile)
        return 0;
    bool known = (profile->width == 240 || profile->width == 320 || profile->width == 480 ||
                  profile->width == 640) &&
                 (profile->height == 240 || profile->height == 320 || profile->height == 480 ||
                  profile->height == 640);
    if (!known || profile->dpi < platform::kMinDpi || profile->dpi > platform::kMaxDpi ||
        profile->rotation != 0 || name.size() != 7) {
        std::abort();
    }
    return 0;
}
