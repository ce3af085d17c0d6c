#include "worldtime/city_match.h"

#include <algorithm>
#include <unordered_set>

#include "worldtime/cities.h"

namespace worldtime {
namespace {

constexpr std::wstring_view kCitySuffix = L" city";

std::wstring_view trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool holds(std::wstring_view text, std::wstring_view part) {
    return text.find(part) != std::wstring_view::npos;
}

bool isWordPrefix(std::wstring_view name, std::wstring_view wanted) {
    return name.size() > wanted.size() && name.starts_with(wanted) && name[wanted.size()] == L' ';
}

// "New York City" is commonly called "New York".
bool isCommonName(std::wstring_view name, std::wstring_view wanted) {
    return name.size() == wanted.size() + kCitySuffix.size() && name.starts_with(wanted) &&
           name.ends_with(kCitySuffix);
}

CityFit ownNameFit(const CityKeys& city, std::wstring_view wanted) {
    if (city.name == wanted)
        return CityFit::Exact;
    if (isCommonName(city.name, wanted))
        return CityFit::CommonName;
    if (isWordPrefix(city.name, wanted))
        return CityFit::WordPrefix;
    return CityFit::None;
}

CityFit alternateFit(const CityKeys& city, std::wstring_view wanted) {
    if (!city.names)
        return CityFit::None;
    CityFit best = CityFit::None;
    for (const std::wstring& name : city.names->alternateKeys) {
        if (name == wanted || isCommonName(name, wanted))
            return CityFit::AlternateName;
        if (isWordPrefix(name, wanted))
            best = CityFit::AlternatePrefix;
        else if (best == CityFit::None && name.starts_with(wanted))
            best = CityFit::Partial;
    }
    return best;
}

// A region is left out: a filter by "Berlin" would show every district of the city state.
bool partlyHolds(const CityKeys& city, std::wstring_view wanted) {
    return holds(city.name, wanted) || holds(city.country, wanted);
}

// Whether the text after the comma names the city's country (by name or ISO code) or its
// region (by name or abbreviation). A name may be given in part, as it is being typed.
bool qualifierFits(const CityKeys& city, std::wstring_view qualifier) {
    if (qualifier.empty())
        return true;
    // Every city code begins with the country's two-letter code.
    if (qualifier.size() == 2 && city.code.starts_with(qualifier))
        return true;
    if (city.country.starts_with(qualifier))
        return true;
    if (!city.names)
        return false;
    return city.names->regionCodeKey == qualifier ||
           (!city.names->regionKey.empty() && city.names->regionKey.starts_with(qualifier));
}

}  // namespace

CityQuery CityQuery::parse(std::wstring_view text) {
    CityQuery query;
    std::wstring folded = searchKey(trimmed(text));
    std::wstring_view all = folded;
    if (auto comma = all.rfind(L','); comma != std::wstring_view::npos) {
        query.qualifier = std::wstring(trimmed(all.substr(comma + 1)));
        all = all.substr(0, comma);
    }
    query.name = std::wstring(trimmed(all));
    return query;
}

CityKeys cityKeys(const core::RecordTable& table, int row, const CityNames* names) {
    CityKeys keys;
    keys.name = searchKey(table.fieldText(row, cityField::Name));
    keys.country = searchKey(table.fieldText(row, cityField::Country));
    keys.code = searchKey(table.fieldText(row, cityField::Code));
    keys.names = names ? names->find(keys.code) : nullptr;
    return keys;
}

CityFit cityFit(const CityKeys& city, const CityQuery& query) {
    if (!qualifierFits(city, query.qualifier))
        return CityFit::None;
    CityFit fit = std::min(ownNameFit(city, query.name), alternateFit(city, query.name));
    if (fit == CityFit::None && partlyHolds(city, query.name))
        fit = CityFit::Partial;
    return fit;
}

CityAnswer bestCities(std::span<const CityCandidate> candidates) {
    CityAnswer answer;
    CityFit best = CityFit::Partial;
    for (const CityCandidate& candidate : candidates) best = std::min(best, candidate.fit);
    if (!namesCity(best))
        return answer;
    std::unordered_set<std::wstring> codes;
    int favourites = 0;
    auto addFitting = [&](CityFit fit) {
        for (const CityCandidate& candidate : candidates) {
            if (candidate.fit != fit)
                continue;
            std::wstring code =
                foldedText(candidate.table->fieldText(candidate.row, cityField::Code));
            if (!codes.insert(std::move(code)).second)
                continue;
            answer.cities.push_back(candidate);
            favourites += candidate.favourite;
        }
    };
    addFitting(best);
    // Several cities called so leave the choice open, and a city known by the name as well
    // ("Canton" for Guangzhou) is offered beside them.
    if (best < CityFit::AlternateName && answer.cities.size() > 1 && favourites != 1)
        addFitting(CityFit::AlternateName);
    if (favourites == 1 && answer.cities.size() > 1) {
        auto favourite = std::find_if(answer.cities.begin(), answer.cities.end(),
                                      [](const CityCandidate& c) { return c.favourite; });
        answer.cities = {*favourite};
    }
    return answer;
}

void orderBySearchFit(std::vector<CityCandidate>& candidates) {
    std::erase_if(candidates, [](const CityCandidate& c) { return c.fit == CityFit::None; });
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const CityCandidate& a, const CityCandidate& b) {
                         if (a.fit != b.fit)
                             return a.fit < b.fit;
                         return a.favourite && !b.favourite;
                     });
}

}  // namespace worldtime
