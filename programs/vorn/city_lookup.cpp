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

// The base letters of U+00C0..U+017F (Latin-1 and Latin Extended-A); "x" and "/" keep the
// two signs of that range apart from letters.
constexpr std::wstring_view kLatin1Bases =
    L"AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
constexpr std::wstring_view kExtendedABases =
    L"AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRr"
    L"SsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatin1Bases.size() == 64);
static_assert(kExtendedABases.size() == 128);

wchar_t baseLetter(wchar_t c) {
    if (c >= 0xC0 && c <= 0xFF)
        return kLatin1Bases[c - 0xC0];
    if (c >= 0x100 && c <= 0x17F)
        return kExtendedABases[c - 0x100];
    if (c == 0x2018 || c == 0x2019)
        return L'\'';
    return c;
}

bool containsLoose(std::wstring_view haystack, std::wstring_view needle) {
    return looseText(haystack).find(needle) != std::wstring::npos;
}

}  // namespace

std::wstring looseText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) out += core::foldCase(baseLetter(c));
    return out;
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
        const std::wstring texts[] = {looseText(wanted), std::wstring(name)};
        if (auto rows = scan_->rowsHolding(texts))
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
    std::wstring wanted = platform::fromUtf8(query);
    if (wanted.empty())
        return result;
    std::wstring name = looseText(wanted);
    std::wstring country;
    if (auto comma = name.rfind(L", "); comma != std::wstring::npos) {
        country = name.substr(comma + 2);
        name.resize(comma);
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
    std::vector<CityMatch> matches;
    std::set<std::wstring> codes;
    for (const core::RecordTable* table : {&std::as_const(favourites_), &list}) {
        for (int row = 1; row <= table->rowCount(); ++row) {
            if (looseText(table->fieldText(row, Name)) != name)
                continue;
            if (!country.empty() && looseText(table->fieldText(row, Country)) != country)
                continue;
            if (!codes.insert(looseText(table->fieldText(row, Code))).second)
                continue;
            matches.push_back({table, row});
        }
    }
    int favouriteMatches = 0;
    for (const CityMatch& match : matches) favouriteMatches += match.table == &favourites_;
    if (matches.size() == 1 || favouriteMatches == 1) {
        result.city = matches.front();  // favourites were searched first
        return result;
    }
    result.ambiguous = matches.size() > 1;
    for (const CityMatch& match : matches)
        result.candidates.push_back(describe(*match.table, match.row));
    if (matches.empty()) {
        // Not found: a few names that hold the text, as suggestions.
        for (int row = 1; row <= list.rowCount() && result.candidates.size() < 8; ++row) {
            if (containsLoose(list.fieldText(row, Name), name)) {
                result.candidates.push_back(describe(list, row));
            }
        }
    }
    return result;
}

}  // namespace vorn
