#pragma once
// What a city is called besides its name, and where in its country it lies: the companion
// table "citynames.dat" of the install folder, a record table keyed by city code so that the
// city list keeps its ten fields. A row holds the code, the first-level region (state,
// province; may be empty), the region's code as people abbreviate it ("OR" for Oregon; may be
// empty) and the city's alternate names joined by "|" (former names, other spellings, "NYC").
//
// Only searches by name need it, so it is read on demand: whole by the screens, and through
// a scan of the rows asked for by the command line.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/record_table.h"

namespace worldtime {

namespace cityNameField {
constexpr int Code = 1;
constexpr int Region = 2;
constexpr int RegionCode = 3;
constexpr int Alternates = 4;
constexpr int Count = 4;
}  // namespace cityNameField

constexpr std::wstring_view kCityNamesFile = L"citynames.dat";
constexpr wchar_t kAlternateSeparator = L'|';

// One city's entry; the keys are folded as searchKey folds.
struct CityNameEntry {
    std::wstring region;
    std::wstring regionKey;
    std::wstring regionCodeKey;
    std::vector<std::wstring> alternateKeys;
};

class CityNames {
  public:
    // Adds the rows of a table of cityNameField columns; a code met before keeps its first
    // entry, and rows without a code are skipped.
    void add(const core::RecordTable& table);
    // Reads the install folder's table; a missing or damaged file leaves what it could read.
    void load(std::wstring_view mainPath);
    // The entry of a city code (compared without regard to case); nothing when none.
    const CityNameEntry* find(std::wstring_view cityCode) const;
    bool contains(std::wstring_view cityCode) const { return find(cityCode) != nullptr; }
    std::size_t size() const { return entries_.size(); }
    // The folded codes of the cities with an alternate name that begins with a folded text.
    std::vector<std::wstring> codesWithAlternateStarting(std::wstring_view text) const;

  private:
    std::unordered_map<std::wstring, CityNameEntry> entries_;  // by folded city code
};

// The names of a field of alternate names, each folded as searchKey folds; empty names and
// names longer than a city name could be are dropped.
std::vector<std::wstring> alternateKeys(std::wstring_view field);

}  // namespace worldtime
