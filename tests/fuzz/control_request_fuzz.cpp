// Feeds arbitrary text to the reader of control requests, the text `vorndev ctl` (or any
// process on the device) sends a program. What it accepts has a known verb and its numbers in
// their ranges.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gui/control_request_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::gui;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto parsed = parseControlRequest(text);
    auto* r = std::get_if<ParsedControlRequest>(&parsed);
    if (!r)
        return 0;
    static constexpr std::string_view kVerbs[] = {
        "ping", "tap",  "down",       "move",    "up",  "hold",
        "key",  "type", "screenshot", "windows", "app", "screen-changed"};
    bool known = false;
    for (auto verb : kVerbs) known = known || r->verb == verb;
    if (!known || r->x < -32767 || r->x > 32767 || r->y < -32767 || r->y > 32767 || r->holdMs < 0 ||
        r->holdMs > kMaxHoldMs) {
        std::abort();
    }
    if (r->verb == "screenshot" && r->text.empty())
        std::abort();
    if (r->verb == "key" && !r->phase.empty() && r->phase != "down" && r->phase != "up")
        std::abort();
    // Nothing taken from the request is longer than the request.
    if (r->text.size() > size || r->name.size() > size)
        std::abort();
    return 0;
}
