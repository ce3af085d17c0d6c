// Feeds arbitrary bytes as the two variables a notification's program is started with. What
// is believed is a real moment and one of the three outcomes, and it reads back the same when
// written out again.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/services/notification_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    using namespace platform::notification_internal;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t split = text.find('\n');
    std::string_view due = text.substr(0, split);
    std::string_view outcome = split == std::string_view::npos ? "" : text.substr(split + 1);
    auto start = parseNotificationStart(due, outcome);
    if (!start)
        return 0;
    if (!isValidSystemTime(start->due))
        std::abort();
    auto o = static_cast<std::uint32_t>(start->outcome);
    if (o < 1 || o > 3)
        std::abort();
    auto env = startEnvironment(start->due, start->outcome);
    std::string_view dueAgain = std::string_view(env[0]).substr(env[0].find('=') + 1);
    std::string_view outcomeAgain = std::string_view(env[1]).substr(env[1].find('=') + 1);
    auto again = parseNotificationStart(dueAgain, outcomeAgain);
    if (!again || again->due != start->due || again->outcome != start->outcome)
        std::abort();
    return 0;
}
