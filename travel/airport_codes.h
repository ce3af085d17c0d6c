#pragma once
// The airport table: "travel\airportcodes.dat" in the install folder, three quoted,
// comma-separated fields a line (code, airport name, "city, country"). The table is sorted by
// one of its fields, and the screen shows the rows of one letter tab ("abc" ... "yzz", "all")
// chosen by the first letter of that field. Searches by code, city or name ignore case and
// accents, so "zurich" finds "Zürich".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"

namespace travel {

namespace airportField {
constexpr int Code = 1, Name = 2, City = 3;
}
constexpr int kAirportColumns = 3;
// Tab 10 keeps every row; tabs 1 to 9 are "abc" ... "yzz".
constexpr int kAllAirportsTab = 10;

// The table of mainPath + "travel\airportcodes.dat", sorted by the field (1 to 3; anything
// else sorts by code). Rows without a code are dropped; a missing file gives an empty table.
core::RecordTable loadAirports(std::wstring_view mainPath, int sortField = airportField::Code);

// Sorts the loaded table again by another field, keeping the order of equal rows.
void sortAirports(core::RecordTable& airports, int sortField);

// The label of a tab: "abc" ... "yzz", "all"; empty outside 1..10.
std::wstring_view airportTabLabel(int tab);
// The tab whose letters hold the character, case and accents aside; 0 for none.
int airportTabOf(wchar_t character);

// The rows of the tab (table row numbers), in table order: those whose sort field starts with
// one of the tab's letters; the tab "all" keeps every row. The screen shows the table through
// them, so a tab costs one pass over the first letters and no copy of the rows.
std::vector<int> airportTabRows(const core::RecordTable& all, int sortField, int tab);
// The same in two steps: the tab of every row's sort field (0 for none), worked out once per
// sort, then the rows of a tab from them, which is all a tab key costs.
std::vector<std::uint8_t> airportRowTabs(const core::RecordTable& all, int sortField);
std::vector<int> airportTabRows(std::span<const std::uint8_t> rowTabs, int tab);

// The first position (from 1) in the rows whose sort field starts with the text, case and
// accents aside; 1 when none does, 0 when there are no rows.
int firstAirportRowWith(const core::RecordTable& all, std::span<const int> rows, int sortField,
                        std::wstring_view prefix);

// The rows the query names, best first: the airport whose code it is, then those whose city
// starts with it, whose name starts with it, and whose city or name holds it. Case and
// accents do not matter; an empty query finds nothing.
std::vector<int> findAirports(const core::RecordTable& all, std::wstring_view query);

}  // namespace travel
