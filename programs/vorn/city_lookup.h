#pragma once
// Finding the city a person names on the command line: by city code, by name (accents and
// case do not matter: "reykjavik" finds "Reykjavík"), or by "name, country". Among several
// cities of one name a favourite wins; otherwise the candidates are listed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"

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
    std::string describe(const core::RecordTable& table, int row) const;

    std::wstring mainPath_;
    core::RecordTable favourites_;
    core::RecordTable list_;
    bool listLoaded_ = false;
};

// Lower case without accents, for names typed on a keyboard without them.
std::wstring looseText(std::wstring_view text);

}  // namespace vorn
