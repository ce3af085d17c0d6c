#pragma once
// A flight file: the comms program's answer to a flight query, UTF-8 XML in the download
// folder. Each child of the element "FlightHistoryGetHistoryResponse" is one flight; each
// flight gives a departure row and an arrival row (two record tables of ten fields, the n-th
// rows belonging together) holding the texts the screens show. A value that is missing or
// does not read shows "N/A" (gates "??", a missing actual arrival nothing), so a damaged or
// foreign file never shows more than that.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "platform/api/clock.h"

namespace travel {

namespace flightField {
constexpr int AirportName = 1, AirportCode = 2, Scheduled = 4, Estimated = 5, Actual = 6, Gate = 7,
              Terminal = 8, Baggage = 9, BlockTime = 10;
}
constexpr int kFlightColumns = 10;
// Larger files are no answer of the comms program and are not read.
constexpr std::size_t kMaxFlightFileBytes = 4u << 20;
// The flights of one file that are kept; the rest are not shown.
constexpr int kMaxFlights = 1000;

constexpr std::wstring_view kNotAvailable = L"N/A";
constexpr std::wstring_view kUnknownGate = L"??";

struct FlightFile {
    core::RecordTable departures{kFlightColumns};
    core::RecordTable arrivals{kFlightColumns};
    // Each flight's status code, in file order.
    std::vector<std::wstring> statusCodes;

    int flightCount() const { return departures.rowCount(); }
};

// A time as the flight files write it: year "-" month "-" day "T" hours ":" minutes, then
// ":" seconds and a "." fraction, both optional. Nothing when it does not read or names no
// real moment.
std::optional<platform::SystemTime> parseFlightTime(std::wstring_view text);
// "Mon, Mar 01 14:05": the date as "ddd',' MMM dd" and the 24-hour time without seconds.
std::wstring flightTimeText(const platform::SystemTime& time);

// The flights of the file's text; an empty result for text that is not XML, is cut short or
// holds no flights.
FlightFile parseFlightFile(std::span<const std::uint8_t> bytes);
// The flights of a file in the download folder; empty when it is missing, too large or
// unreadable.
FlightFile readFlightFile(std::wstring_view downloadPath, std::wstring_view fileName);

// The language string of a status code: L 197, A 198, S 199, C 200, R 201, D 202, one that
// starts with "NO" 203, anything else 204.
int flightStatusString(std::wstring_view statusCode);

// "2 h 15 min" for a block time of 135 minutes, as language string 205 words it; empty when
// the time is no number of minutes.
std::wstring blockTimeText(std::wstring_view minutes);

// One line of a flight's detail view: a heading alone, or a label and its value.
struct FlightDetailLine {
    std::wstring label;
    std::wstring value;
    bool heading = false;
};

// The title ("Flight 1 of 2") and the lines of one flight (0-based); language string 206
// alone for a file without flights or a flight it does not hold.
std::wstring flightTitle(const FlightFile& file, int flight);
std::vector<FlightDetailLine> flightDetail(const FlightFile& file, int flight);

// "Data from Mon, Mar 01 2027 14:05": when the flight file was made, in local time.
std::wstring flightDataTime(std::wstring_view downloadPath, std::wstring_view fileName);

}  // namespace travel
