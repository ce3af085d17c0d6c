// The host's zone name from TZ and the /etc/localtime link: whatever the two texts hold, a
// name comes back only when it has a zone name's form.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/api/zone_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first NUL divides TZ from the link's target; without one both get the same text.
    std::size_t split = bytes.find('\0');
    std::string_view tz = bytes.substr(0, split);
    std::string_view link = split == std::string_view::npos ? bytes : bytes.substr(split + 1);
    for (auto name :
         {platform::hostZoneNameFrom(tz, link), platform::hostZoneNameFrom(std::nullopt, link)}) {
        if (name && (!platform::isZoneName(*name) || name->find("..") != std::string::npos))
            __builtin_trap();
    }
    return 0;
}
