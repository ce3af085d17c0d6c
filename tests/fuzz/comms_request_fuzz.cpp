// Reads arbitrary bytes as the comms program's request line. A city the line names can always
// name a file inside the download folder, and a mask holds only known bits.

#include <cstdint>

#include "commsprogram/request_line.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"
#include "weather/weather_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto request = commsprogram::parseRequest(platform::fromUtf8(text));
    if (!request)
        return 0;
    fuzz::check(request->city.empty() || weather::isSafeKey(request->city));
    fuzz::check((request->mask & ~commsprogram::maskBit::All) == 0);
    return 0;
}
