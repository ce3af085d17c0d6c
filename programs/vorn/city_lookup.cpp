#include "programs/vorn/city_lookup.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

#include "core/text_case.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"

namespace vorn {
namespace {

using worldtime::cityField::Code;
using worldtime::cityField::Country;
using worldtime::cityField::Name;

// How well a city's name answers the name asked for; lower is better.
enum class NameFit { Exact, CommonName, WordPrefix, None };

// Both texts are search keys. "New York City" is commonly called "New York", and "New York"
// is a whole-word prefix of it (but not of "Newark" or "East New York").
NameFit nameFit(std::wstring_view name, std::wstring_view wanted) {
    if (name == wanted)
        return NameFit::Exact;
    constexpr std::wstring_view kCity = L" city";
    if (name.size() == wanted.size() + kCity.size() && name.starts_with(wanted) &&
        name.ends_with(kCity))
        return NameFit::CommonName;
    if (name.size() > wanted.size() && name.starts_with(wanted) && name[wanted.size()] == L' ')
        return NameFit::WordPrefix;
    return NameFit::None;
}

std::wstring trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

// Whether a city lies in the country asked for, by its name ("France") or its two-letter
// ISO code ("FR"), which every city code begins with. Both texts are search keys.
bool inCountry(const core::RecordTable& table, int row, std::wstring_view country) {
    if (worldtime::searchKey(table.fieldText(row, Country)) == country)
        return true;
    return country.size() == 2 &&
           worldtime::searchKey(table.fieldText(row, Code)).starts_with(country);
}

}  // namespace

std::wstring looseText(std::wstring_view text) {
    return worldtime::searchKey(text);
}

CityFinder::CityFinder(std::wstring mainPath)
    : mainPath_(std::move(mainPath)),
      favourites_(worldtime::cityField::Count),
      list_(worldtime::cityField::Count) {
    favourites_.load(mainPath_, L"mycities.dat", L'~', true);
    worldtime::widenTable(favourites_, worldtime::cityField::Count);
}

void CityFinder::loadList() {
    if (listLoaded_)
        return;
    list_.load(mainPath_, L"citylist.dat", L'~', true);
    worldtime::widenTable(list_, worldtime::cityField::Count);
    listLoaded_ = true;
}

const core::RecordTable& CityFinder::listFor(std::wstring_view wanted, std::wstring_view name) {
    if (!listLoaded_ && !scanOpened_) {
        scanOpened_ = true;
        scan_ = worldtime::CityFileScan::open(mainPath_, L"citylist.dat", &looseText);
    }
    if (!listLoaded_ && scan_) {
        // Lookups read the name, country and code of a city, never its other columns.
        const std::wstring texts[] = {looseText(wanted), std::wstring(name)};
        constexpr int kLookupColumns[] = {Name, Country, Code};
        if (auto rows = scan_->rowsHolding(texts, kLookupColumns))
            return scanned_.emplace_back(std::move(*rows));
    }
    loadList();
    return list_;
}

std::string CityFinder::describe(const core::RecordTable& table, int row) const {
    double latitude = worldtime::cityLatitude(table, row);
    double longitude = worldtime::cityLongitude(table, row);
    char where[64];
    std::snprintf(where, sizeof where, ", %.2f%c %.2f%c)", std::fabs(latitude),
                  latitude >= 0 ? 'N' : 'S', std::fabs(longitude), longitude >= 0 ? 'E' : 'W');
    return platform::toUtf8(table.fieldText(row, Name)) + ", " +
           platform::toUtf8(table.fieldText(row, Country)) + " (" +
           platform::toUtf8(table.fieldText(row, Code)) + where;
}

CityLookupResult CityFinder::find(std::string_view query) {
    CityLookupResult result;
    // Spaces around a name (a pasted one often has them) are not part of it.
    const std::wstring wanted = trimmed(platform::fromUtf8(query));
    if (wanted.empty())
        return result;
    std::wstring name = looseText(wanted);
    std::wstring country;
    if (auto comma = name.rfind(L','); comma != std::wstring::npos) {
        country = trimmed(std::wstring_view(name).substr(comma + 1));
        name = trimmed(std::wstring_view(name).substr(0, comma));
    }
    const core::RecordTable& list = listFor(wanted, name);
    // A city code is unique: the favourite's copy first, as it holds the user's edits.
    for (const core::RecordTable* table : {&std::as_const(favourites_), &list}) {
        int row = table->find(Code, wanted, true);
        if (row > 0) {
            result.city = CityMatch{table, row};
            return result;
        }
    }
    // One pass over both tables sorts every city into how well its name fits; the best fit
    // that any city has decides.
    constexpr auto kFits = static_cast<std::size_t>(NameFit::None);
    std::vector<CityMatch> matches[kFits];
    std::set<std::wstring> codes[kFits];
    for (const core::RecordTable* table : {&std::as_const(favourites_), &list}) {
        for (int row = 1; row <= table->rowCount(); ++row) {
            auto fit =
                static_cast<std::size_t>(nameFit(looseText(table->fieldText(row, Name)), name));
            if (fit == kFits)
                continue;
            if (!country.empty() && !inCountry(*table, row, country))
                continue;
            if (!codes[fit].insert(looseText(table->fieldText(row, Code))).second)
                continue;
            matches[fit].push_back({table, row});
        }
    }
    for (const std::vector<CityMatch>& fitting : matches) {
        if (fitting.empty())
            continue;
        int favouriteMatches = 0;
        for (const CityMatch& match : fitting) favouriteMatches += match.table == &favourites_;
        if (fitting.size() == 1 || favouriteMatches == 1) {
            result.city = fitting.front();  // favourites were searched first
            return result;
        }
        result.ambiguous = true;
        for (const CityMatch& match : fitting)
            result.candidates.push_back(describe(*match.table, match.row));
        return result;
    }
    // Not found: a few names that hold the text, as suggestions.
    for (int row = 1; row <= list.rowCount() && result.candidates.size() < 8; ++row) {
        if (looseText(list.fieldText(row, Name)).find(name) != std::wstring::npos)
            result.candidates.push_back(describe(list, row));
    }
    return result;
}

}  // namespace vorn
