// Reads arbitrary bytes as a flight status answer and writes the flight file from what reads;
// the first byte chooses whether the rest is read as the flight screen's request text instead.
// Nothing may crash; the flight file is one response element with one child per flight, and
// no element text holds markup.

#include <cstdint>
#include <string>
#include <string_view>

#include "commsprogram/flight_status.h"
#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        auto query = commsprogram::parseFlightRequest(platform::fromUtf8(text));
        if (query) {
            std::wstring name = commsprogram::flightFileName(*query);
            fuzz::check(name.find_first_of(L"\\/:~") == std::wstring::npos);
            fuzz::check(query->date.size() == 10);
        }
        return 0;
    }
    auto answer = commsprogram::parseFlightStatus(text);
    fuzz::check(answer.value.has_value() != static_cast<bool>(answer.failure));
    if (!answer.value)
        return 0;
    std::string file = commsprogram::flightFileText(*answer.value);
    std::size_t flights = 0, at = 0;
    while ((at = file.find("<FlightHistory>", at)) != std::string::npos) {
        ++flights;
        ++at;
    }
    fuzz::check(flights == answer.value->size());
    std::size_t opens = 0;
    for (char c : file) opens += c == '<';
    std::size_t closes = 0;
    for (char c : file) closes += c == '>';
    fuzz::check(opens == closes);
    return 0;
}
