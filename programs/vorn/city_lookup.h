#pragma once
// Finding the city a person names on the command line: by city code, by name (accents and
// case do not matter: "reykjavik" finds "Reykjavík"), or by "name, country". Among several
// cities of one name a favourite wins; otherwise the candidates are listed.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "worldtime/city_scan.h"

namespace vorn {

struct CityMatch {
    const core::RecordTable* table = nullptr;
    int row = 0;
};

struct CityLookupResult {
    std::optional<CityMatch> city;
    bool ambiguous = false;
    std::vector<std::string> candidates;  // "Name, Country (CODE, 51.51N 0.13W)"
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
    std::string describe(const core::RecordTable& table, int row) const;

    std::wstring mainPath_;
    core::RecordTable favourites_;
    core::RecordTable list_;
    bool listLoaded_ = false;
    std::deque<core::RecordTable> scanned_;  // one table per query, never moved
    std::optional<worldtime::CityFileScan> scan_;
    bool scanOpened_ = false;
};

// Lower case without accents, for names typed on a keyboard without them.
std::wstring looseText(std::wstring_view text);

}  // namespace vorn
