// The world-time text readers: locale-normalised numbers, decimal numbers, change hours of
// the zone table and six-character dates.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/api/device.h"
#include "worldtime/date_helpers.h"
#include "worldtime/zones.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)worldtime::normaliseNumber(text);
    (void)worldtime::readInt(text);
    (void)worldtime::readNumber(text, false);
    platform::SystemTime rule{0, 3, 0, 5, 0, 0, 0, 0};
    worldtime::readChangeTime(text, rule);
    if (rule.hour > 23 || rule.minute > 59)
        __builtin_trap();
    if (auto date = worldtime::dateFromMmddyy(text)) {
        if (!platform::isValidSystemTime(*date))
            __builtin_trap();
    }
    (void)worldtime::dayWithSuffix(text, false);
    return 0;
}
