#include "programs/vorn/city_lookup.h"

#include <cmath>
#include <cstdio>
#include <unordered_set>
#include <utility>

#include "core/text_case.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"

namespace vorn {
namespace {

using worldtime::CityCandidate;
using worldtime::CityFit;
using worldtime::CityQuery;
using worldtime::cityField::Code;
using worldtime::cityField::Country;
using worldtime::cityField::Name;

// Beyond this many cities a scan for each would cost more than reading the whole table.
constexpr std::size_t kMaxScannedCodes = 64;

std::wstring trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
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

void CityFinder::readNames(std::wstring_view name, const std::vector<std::wstring>& codes) {
    if (namesLoaded_)
        return;
    if (codes.size() <= kMaxScannedCodes && !name.empty()) {
        auto scan = worldtime::CityFileScan::open(mainPath_, worldtime::kCityNamesFile, &looseText,
                                                  worldtime::cityNameField::Count);
        std::vector<std::wstring> texts = codes;
        texts.emplace_back(name);
        constexpr int kColumns[] = {worldtime::cityNameField::Code,
                                    worldtime::cityNameField::Alternates};
        if (scan) {
            if (auto rows = scan->rowsHolding(texts, kColumns)) {
                names_.add(*rows);
                return;
            }
        }
    }
    names_.load(mainPath_);
    namesLoaded_ = true;
}

const core::RecordTable* CityFinder::rowsNamedOtherwise(std::wstring_view name,
                                                        const core::RecordTable& list) {
    if (listLoaded_ || !scan_)
        return nullptr;
    std::unordered_set<std::wstring> have;
    for (const core::RecordTable* table : {&std::as_const(favourites_), &list}) {
        for (int row = 1; row <= table->rowCount(); ++row)
            have.insert(looseText(table->fieldText(row, Code)));
    }
    std::vector<std::wstring> codes;
    for (const std::wstring& code : names_.codesWithAlternateStarting(name)) {
        if (!have.contains(code))
            codes.push_back(code);
    }
    if (codes.empty())
        return nullptr;
    if (codes.size() <= kMaxScannedCodes) {
        constexpr int kCodeColumn[] = {Code};
        if (auto rows = scan_->rowsHolding(codes, kCodeColumn))
            return &scanned_.emplace_back(std::move(*rows));
    }
    loadList();
    return &list_;
}

std::vector<CityCandidate> CityFinder::candidates(const core::RecordTable& list,
                                                  const core::RecordTable* more,
                                                  const CityQuery& query) const {
    std::vector<CityCandidate> out;
    auto add = [&](const core::RecordTable& table, bool favourite) {
        for (int row = 1; row <= table.rowCount(); ++row) {
            CityFit fit = worldtime::cityFit(worldtime::cityKeys(table, row, &names_), query);
            if (fit != CityFit::None)
                out.push_back({&table, row, favourite, fit});
        }
    };
    add(favourites_, true);
    add(list, false);
    if (more)
        add(*more, false);
    return out;
}

std::string CityFinder::describe(const core::RecordTable& table, int row) const {
    double latitude = worldtime::cityLatitude(table, row);
    double longitude = worldtime::cityLongitude(table, row);
    char where[64];
    std::snprintf(where, sizeof where, ", %.2f%c %.2f%c)", std::fabs(latitude),
                  latitude >= 0 ? 'N' : 'S', std::fabs(longitude), longitude >= 0 ? 'E' : 'W');
    std::string out = platform::toUtf8(table.fieldText(row, Name)) + ", ";
    const worldtime::CityNameEntry* names = names_.find(table.fieldText(row, Code));
    if (names && !names->region.empty())
        out += platform::toUtf8(names->region) + ", ";
    return out + platform::toUtf8(table.fieldText(row, Country)) + " (" +
           platform::toUtf8(table.fieldText(row, Code)) + where;
}

CityLookupResult CityFinder::find(std::string_view query) {
    CityLookupResult result;
    // Spaces around a name (a pasted one often has them) are not part of it.
    const std::wstring wanted = trimmed(platform::fromUtf8(query));
    if (wanted.empty())
        return result;
    const CityQuery asked = CityQuery::parse(wanted);
    const core::RecordTable& list = listFor(wanted, asked.name);
    // A city code is unique: the favourite's copy first, as it holds the user's edits.
    for (const core::RecordTable* table : {&std::as_const(favourites_), &list}) {
        int row = table->find(Code, wanted, true);
        if (row > 0) {
            result.city = CityMatch{table, row};
            return result;
        }
    }
    std::vector<CityCandidate> found = candidates(list, nullptr, asked);
    worldtime::CityAnswer answer = worldtime::bestCities(found);
    // A city's own name decides without the companion table unless a comma asks for a
    // country or region or a better alternate name could exist; a list of candidates shows
    // their regions.
    const bool ownNameDecides = asked.qualifier.empty() && !answer.cities.empty() &&
                                answer.cities.front().fit <= CityFit::CommonName;
    if (!ownNameDecides || answer.ambiguous()) {
        std::vector<std::wstring> codes;
        for (const CityCandidate& city :
             candidates(list, nullptr, CityQuery{asked.name, std::wstring()})) {
            if (city.fit <= CityFit::Partial)
                codes.push_back(looseText(city.table->fieldText(city.row, Code)));
        }
        readNames(asked.name, codes);
        const core::RecordTable* more = rowsNamedOtherwise(asked.name, list);
        found = candidates(list, more, asked);
        answer = worldtime::bestCities(found);
    }
    if (answer.found()) {
        result.city = CityMatch{answer.cities.front().table, answer.cities.front().row};
        return result;
    }
    if (answer.ambiguous()) {
        result.ambiguous = true;
        for (const CityCandidate& city : answer.cities)
            result.candidates.push_back(describe(*city.table, city.row));
        return result;
    }
    // Not found: a few names that hold the text, as suggestions.
    for (int row = 1; row <= list.rowCount() && result.candidates.size() < 8; ++row) {
        if (looseText(list.fieldText(row, Name)).find(asked.name) != std::wstring::npos)
            result.candidates.push_back(describe(list, row));
    }
    return result;
}

}  // namespace vorn
