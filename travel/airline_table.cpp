#include "travel/airline_table.h"

#include "worldtime/cities.h"

namespace travel {

core::RecordTable loadAirlines(std::wstring_view mainPath) {
    core::RecordTable table(kAirlineColumns);
    table.load(core::joinDevicePath(mainPath, L"travel\\"), L"airlines.dat", L'~', true);
    // An airline without a name cannot be chosen, and one without a code cannot be asked for.
    for (int row = table.rowCount(); row >= 1; --row) {
        if (table.fieldText(row, airlineField::Name).empty() ||
            table.fieldText(row, airlineField::Code).empty())
            table.removeRow(row);
    }
    table.widenTo(kAirlineColumns);
    table.sort(airlineField::Name, false);
    return table;
}

std::wstring airlineNameOf(const core::RecordTable& airlines, std::wstring_view code) {
    if (code.empty())
        return {};
    int row = airlines.find(airlineField::Code, code, true);
    return row == 0 ? std::wstring() : std::wstring(airlines.fieldText(row, airlineField::Name));
}

std::wstring airlineCodeOf(const core::RecordTable& airlines, std::wstring_view name) {
    if (name.empty())
        return {};
    int row = airlines.find(airlineField::Name, name);
    return row == 0 ? std::wstring() : std::wstring(airlines.fieldText(row, airlineField::Code));
}

}  // namespace travel
