// Option values as they come from the registry or the command line, and schedule fields as
// the registry may hold them: the filter mask reader accepts only decimal masks of the offered
// bits, and the next update for any fields is nothing or a moment not before now.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "updates/option_model.h"
#include "updates/schedule.h"
#include "updates/settings_keys.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::wstring wide = platform::fromUtf8(text);
    if (auto mask = updates::parseFilterMask(wide)) {
        check(*mask >= 0 && (*mask & ~updates::keys::kFilterBits) == 0);
        check(std::to_wstring(*mask) == wide || wide.size() > 1);
    }
    if (updates::findOption(wide))
        check(!wide.empty());

    if (size < 12)
        return 0;
    auto field = [&](int i) { return static_cast<int>(data[i]); };
    platform::SystemTime now{static_cast<std::uint16_t>(1700 + field(0) * 2),
                             static_cast<std::uint16_t>(field(1) % 14),
                             0,
                             static_cast<std::uint16_t>(field(2) % 33),
                             static_cast<std::uint16_t>(field(3) % 25),
                             static_cast<std::uint16_t>(field(4) % 61),
                             0,
                             0};
    int hours = field(5) - 10;
    int start = field(6) % 30 - 3;
    int end = field(7) % 30 - 3;
    auto next = updates::nextUpdateTime(now, hours, start, end);
    if (next) {
        check(platform::isValidSystemTime(*next));
        check(updates::isScheduleInterval(hours) && hours > 0);
        check(*platform::toFileTime(*next) >= *platform::toFileTime(now));
    }
    return 0;
}
