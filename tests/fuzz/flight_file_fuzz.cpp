// Reads arbitrary bytes as a flight file and builds every flight's detail lines, and reads
// the bytes as a flight time and a block time. Nothing may crash; the flight count stays
// within its bound; every flight has its two rows and its status; shown times are a date and
// a time or "N/A".

#include <cstdint>
#include <string>

#include "platform/api/device.h"
#include "tests/fuzz/support/fuzz_device.h"
#include "travel/flight_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const travel::FlightFile file = travel::parseFlightFile({data, size});
    fuzz::check(file.flightCount() <= travel::kMaxFlights);
    fuzz::check(file.arrivals.rowCount() == file.flightCount());
    fuzz::check(static_cast<int>(file.statusCodes.size()) == file.flightCount());
    // Every flight's lines, a few of a long file, and one past the end.
    for (int flight = 0; flight < file.flightCount() && flight < 8; ++flight) {
        const auto lines = travel::flightDetail(file, flight);
        fuzz::check(lines.size() == 12);
        fuzz::check(!travel::flightTitle(file, flight).empty());
        for (int column : {travel::flightField::Scheduled, travel::flightField::Estimated}) {
            std::wstring_view shown = file.departures.fieldText(flight + 1, column);
            fuzz::check(shown == travel::kNotAvailable || shown.size() > 10);
        }
    }
    fuzz::check(travel::flightDetail(file, file.flightCount()).size() == 1);

    const std::wstring text =
        platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    if (auto time = travel::parseFlightTime(text)) {
        fuzz::check(time->month >= 1 && time->month <= 12 && time->hour < 24 && time->minute < 60);
        fuzz::check(!travel::flightTimeText(*time).empty());
    }
    fuzz::check(travel::blockTimeText(text).size() < 200);
    return 0;
}
