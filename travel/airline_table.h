#pragma once
// The airline table: "travel\airlines.dat" in the install folder, airline name "~" IATA code
// a line, every double quote removed, sorted by name. The code names the airline in flight
// requests and in the names of flight files.

#include <string>
#include <string_view>

#include "core/record_table.h"

namespace travel {

namespace airlineField {
constexpr int Name = 1, Code = 2;
}
constexpr int kAirlineColumns = 2;

// Rows without a name or a code are dropped; a missing file gives an empty table.
core::RecordTable loadAirlines(std::wstring_view mainPath);

// The name of the airline with the code, compared without regard to case; empty when none.
std::wstring airlineNameOf(const core::RecordTable& airlines, std::wstring_view code);
// The code of the airline whose name is exactly the text; empty when none.
std::wstring airlineCodeOf(const core::RecordTable& airlines, std::wstring_view name);

}  // namespace travel
