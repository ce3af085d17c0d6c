#pragma once
// The city the set-up wizard suggests first: the one of the host's own time zone.

#include <string>
#include <string_view>

#include "core/record_table.h"

namespace setup {

// The name of the city of a city list (rows as in "citylist.dat") for an IANA zone name:
// among the rows of that zone, the city named like the zone ("Europe/Berlin": Berlin), else
// one whose name starts so ("America/New_York": New York City), else the most populous.
// Empty when no row has the zone.
std::wstring cityOfZone(const core::RecordTable& cities, std::wstring_view zone);

// The city of the host's zone in the install folder's "citylist.dat"; empty when the host's
// zone is unknown or no city has it.
std::wstring suggestedHomeCity(std::wstring_view mainPath);

}  // namespace setup
