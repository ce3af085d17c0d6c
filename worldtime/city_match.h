#pragma once
// The one way a name finds a city, for the command line, the city screen's filter and its
// local search: by the city's name, its common name ("New York" for New York City), its
// alternate and former names ("Bombay", "Kiev", "NYC"), a whole-word prefix of either, and,
// after a comma, the country, its ISO code, the region or the region's abbreviation
// ("Portland, Oregon", "Paris, FR", "Portland, ME"). Case, accents and the spaces around
// each part do not matter: both sides are folded as searchKey folds them.
//
// A city's own name fits better than its alternate names at each level, except that an
// alternate name given whole fits better than a prefix of an own name ("Rio" finds the city
// called so rather than every name that begins with it). A name that fits only in part
// (a piece of the name or country, or the start of an alternate name) does not name a city,
// but a filter or search shows it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "worldtime/city_names.h"

namespace worldtime {

// How well a city answers a name; earlier fits better.
enum class CityFit { Exact, CommonName, AlternateName, WordPrefix, AlternatePrefix, Partial, None };

// Whether a fit names the city, rather than only holding the text.
constexpr bool namesCity(CityFit fit) {
    return fit < CityFit::Partial;
}

// A name as asked for, split at its last comma into the name and what qualifies it, both
// folded and without surrounding spaces.
struct CityQuery {
    std::wstring name;
    std::wstring qualifier;

    static CityQuery parse(std::wstring_view text);
};

// What a city is known by, folded as searchKey folds.
struct CityKeys {
    std::wstring name;
    std::wstring country;
    std::wstring code;
    const CityNameEntry* names = nullptr;  // region and alternate names, when known
};

// The keys of a city row (cityField columns); names may be null.
CityKeys cityKeys(const core::RecordTable& table, int row, const CityNames* names);

CityFit cityFit(const CityKeys& city, const CityQuery& query);

// A city row that a query may name; favourites are given before the city list's rows.
struct CityCandidate {
    const core::RecordTable* table = nullptr;
    int row = 0;
    bool favourite = false;
    CityFit fit = CityFit::None;
};

// What a query names among candidates: the city, or the cities that fit it equally well.
struct CityAnswer {
    std::vector<CityCandidate> cities;  // one when the answer is certain
    bool ambiguous() const { return cities.size() > 1; }
    bool found() const { return cities.size() == 1; }
};

// The candidates that best name a city, each city (by code) once, its first candidate kept:
// one city when a single one fits best or a single favourite is among those that do;
// otherwise all of them, and when several cities have the name as their own, the cities
// that have it as an alternate name too; none when no candidate names a city.
CityAnswer bestCities(std::span<const CityCandidate> candidates);

// Orders candidates as a search shows them: by fit, favourites first among equals, else in
// their given order. Candidates that do not fit at all are dropped.
void orderBySearchFit(std::vector<CityCandidate>& candidates);

}  // namespace worldtime
