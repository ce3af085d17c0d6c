#pragma once
// Finding the city a person names on the command line: by city code, or through the city
// matcher (worldtime/city_match.h) by name, alternate name and "name, country or region".
// Among several cities that fit equally well a favourite wins; otherwise the candidates are
// listed with their regions.
//
// A plain name that the city list answers by a city's own name is found by a scan of the
// mapped list alone; the companion table of regions and alternate names is read only when
// the list does not answer, or a comma asks for a country or region, or candidates are
// listed.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "worldtime/city_match.h"
#include "worldtime/city_names.h"
#include "worldtime/city_scan.h"

namespace vorn {

struct CityMatch {
    const core::RecordTable* table = nullptr;
    int row = 0;
};

struct CityLookupResult {
    std::optional<CityMatch> city;
    bool ambiguous = false;
    // "Name, Region, Country (CODE, 51.51N 0.13W)", the region when known.
    std::vector<std::string> candidates;
};

class CityFinder {
  public:
    explicit CityFinder(std::wstring mainPath);
    const core::RecordTable& favourites() const { return favourites_; }
    CityLookupResult find(std::string_view query);

  private:
    void loadList();
    // The list to search for a query: the rows of the city list that could match it, parsed
    // from a mapped file, or the whole list when the query cannot be scanned for.
    const core::RecordTable& listFor(std::wstring_view wanted, std::wstring_view name);
    // Reads the regions and alternate names of the cities with these codes and of those whose
    // alternate names could hold the name: the rows that hold them, or the whole table.
    void readNames(std::wstring_view name, const std::vector<std::wstring>& codes);
    // The city list's rows of cities with an alternate name that begins with the name, apart
    // from those of the list searched; nothing when there are none or it is the whole list.
    const core::RecordTable* rowsNamedOtherwise(std::wstring_view name,
                                                const core::RecordTable& list);
    std::vector<worldtime::CityCandidate> candidates(const core::RecordTable& list,
                                                     const core::RecordTable* more,
                                                     const worldtime::CityQuery& query) const;
    std::string describe(const core::RecordTable& table, int row) const;

    std::wstring mainPath_;
    core::RecordTable favourites_;
    core::RecordTable list_;
    bool listLoaded_ = false;
    std::deque<core::RecordTable> scanned_;  // one table per query, never moved
    std::optional<worldtime::CityFileScan> scan_;
    bool scanOpened_ = false;
    worldtime::CityNames names_;
    bool namesLoaded_ = false;  // the whole companion table, not only the rows asked for
};

// Lower case without accents, for names typed on a keyboard without them.
std::wstring looseText(std::wstring_view text);

}  // namespace vorn
