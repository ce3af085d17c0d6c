#pragma once
// The saved flights: every "*.fls" file in the download folder is the answer to one flight
// query, named airline code "_" flight number ".fls". The list is a record table of six
// fields whose first row is the new-query row.

#include <string>
#include <string_view>

#include "core/record_table.h"

namespace travel {

namespace savedFlightField {
constexpr int Label = 1, AirlineCode = 2, AirlineName = 3, Number = 4, Saved = 5, FileName = 6;
}
constexpr int kSavedFlightColumns = 6;
// The longest file name the list takes: longer ones are no answer of the comms program.
constexpr std::size_t kMaxFlightFileName = 255;

// Language strings of the list.
namespace flightListString {
constexpr int AirlineAndName = 180, UnknownAirline = 181, AirlineAlone = 182, NewQuery = 188;
}

// A plain file name inside the download folder ending ".fls": no folder part, no "..", no
// leading dot, no control characters, no characters a file name cannot hold.
bool isSafeFlightFileName(std::wstring_view name);

// The new-query row, then one row per safe flight file of the folder, in the folder's order.
core::RecordTable listSavedFlights(std::wstring_view downloadPath,
                                   const core::RecordTable& airlines);

// The row whose file name equals the name without regard to case; 0 when none.
int savedFlightRow(const core::RecordTable& list, std::wstring_view fileName);

// Deletes a saved flight's file; false for an unsafe name or a file that could not be
// deleted.
bool deleteSavedFlight(std::wstring_view downloadPath, std::wstring_view fileName);

// The file name of a flight: airline code "_" number ".fls".
std::wstring flightFileName(std::wstring_view airlineCode, std::wstring_view number);

}  // namespace travel
