// Time zone files of the host's database and the rule text they end with.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "platform/api/zone_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::parsePosixZoneRule(std::string_view(reinterpret_cast<const char*>(data), size));
    auto zone = platform::ZoneDefinition::parse({data, size});
    if (!zone)
        return 0;
    for (std::int64_t t : {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1} << 35,
                           std::int64_t{0}, std::int64_t{1798761600}, std::int64_t{1} << 35,
                           std::numeric_limits<std::int64_t>::max()}) {
        zone->at(t);
        zone->nextChange(t);
    }
    return 0;
}
