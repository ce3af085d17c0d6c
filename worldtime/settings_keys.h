#pragma once
// The settings the world-time subsystem owns.

#include <limits>

#include "core/settings_key.h"

namespace worldtime::keys {

using core::settings::NumberKey;
using core::settings::OutOfRange;
using core::settings::TextKey;

// The current favourite, a row of "mycities.dat" from 1; what a number past the favourites
// means is currentFavouriteRow's to say.
constexpr NumberKey FavCity{L"FavCity", 1, 0, std::numeric_limits<int>::max()};
// The city list's order (citySorting) and whether it shows the favourites alone (not 0).
constexpr NumberKey CityListSorting{L"CityListSorting", 0, 0, 2, OutOfRange::UseDefault};
constexpr NumberKey CityShowSelected{L"CityShowSelected", 0};
// The text of a city look-up for the comms program.
constexpr TextKey CityLookupRequest{L"CityLookupRequest", L"", core::byteLimit::Text};
// City labels carry the country when 1.
constexpr NumberKey OptShowCountry{L"OptShowCountry", 1};

}  // namespace worldtime::keys
