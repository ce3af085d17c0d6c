// Reads arbitrary bytes as the radar index; every frame path that reads stays a plain path
// below the service (no "..", no query, no other host).

#include <cstdint>
#include <string_view>

#include "commsprogram/map_sources.h"
#include "tests/fuzz/support/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto answer = commsprogram::parseRadarIndex(text);
    fuzz::check(answer.value.has_value() != static_cast<bool>(answer.failure));
    if (!answer.value)
        return 0;
    for (const auto* list : {&answer.value->past, &answer.value->nowcast}) {
        for (const auto& frame : *list) {
            fuzz::check(!frame.path.empty() && frame.path.front() == '/');
            fuzz::check(frame.path.find("..") == std::string::npos);
            fuzz::check(frame.path.find_first_of("?#@: ") == std::string::npos);
        }
    }
    return 0;
}
