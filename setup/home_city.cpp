#include "setup/home_city.h"

#include <cstdint>

#include "platform/api/zone_database.h"
#include "worldtime/cities.h"
#include "worldtime/city_scan.h"

namespace setup {
namespace {

using worldtime::cityField::IanaZone;
using worldtime::cityField::Name;
// The last field of the city list: the number of people living there.
constexpr int kPopulation = 10;

// "America/Argentina/Buenos_Aires" -> "Buenos Aires", as searches compare names.
std::wstring zoneCityKey(std::wstring_view zone) {
    std::wstring city(zone.substr(zone.rfind(L'/') + 1));
    for (wchar_t& c : city) {
        if (c == L'_')
            c = L' ';
    }
    return worldtime::searchKey(city);
}

std::int64_t population(const core::RecordTable& cities, int row) {
    std::int64_t count = 0;
    for (wchar_t c : cities.fieldText(row, kPopulation)) {
        if (c < L'0' || c > L'9' || count > INT64_MAX / 20)
            return count;
        count = count * 10 + (c - L'0');
    }
    return count;
}

}  // namespace

std::wstring cityOfZone(const core::RecordTable& cities, std::wstring_view zone) {
    if (zone.empty())
        return {};
    std::wstring wanted = zoneCityKey(zone);
    int named = 0, startsLikeIt = 0, largest = 0;
    for (int row = 1; row <= cities.rowCount() && named == 0; ++row) {
        if (cities.fieldText(row, IanaZone) != zone)
            continue;
        std::wstring key = worldtime::searchKey(cities.fieldText(row, Name));
        if (key.empty())
            continue;
        if (key == wanted)
            named = row;
        else if (startsLikeIt == 0 && key.starts_with(wanted))
            startsLikeIt = row;
        if (largest == 0 || population(cities, row) > population(cities, largest))
            largest = row;
    }
    int chosen = named ? named : startsLikeIt ? startsLikeIt : largest;
    return chosen ? std::wstring(cities.fieldText(chosen, Name)) : std::wstring();
}

std::wstring suggestedHomeCity(std::wstring_view mainPath) {
    std::optional<std::string> zone = platform::hostZoneName();
    if (!zone)
        return {};
    // A zone name holds only ASCII letters, digits and "_-+/".
    const std::wstring zoneName(zone->begin(), zone->end());
    // Only the rows naming the zone are parsed; the whole list when the scan declines.
    if (auto scan =
            worldtime::CityFileScan::open(mainPath, L"citylist.dat", &worldtime::searchKey)) {
        const std::wstring folded[] = {worldtime::searchKey(zoneName)};
        const int columns[] = {IanaZone};
        if (auto rows = scan->rowsHolding(folded, columns))
            return cityOfZone(*rows, zoneName);
    }
    core::RecordTable cities(worldtime::cityField::Count);
    cities.load(mainPath, L"citylist.dat", L'~', true);
    return cityOfZone(cities, zoneName);
}

}  // namespace setup
