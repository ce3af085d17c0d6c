#pragma once
// The city database: the full list "citylist.dat" and the favourites "mycities.dat" in the
// install folder, and the comms program's answers "searchresult.dat" in the download folder.
// All three are record tables of ten fields a row (see cityField). The favourites table is
// the program's (worldtime::Favourites keeps it for the whole run); this class keeps it and the
// files in step and tells the home screen to rebuild (OptHomeLayoutReload) after every change.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_table.h"
#include "worldtime/city_match.h"
#include "worldtime/city_names.h"

namespace worldtime {

namespace cityField {
constexpr int Zone = 1;  // zone number (hours east of UTC in search results)
constexpr int Name = 2;
constexpr int Country = 3;
constexpr int Latitude = 4;   // decimal degrees, north positive
constexpr int Longitude = 5;  // decimal degrees, east positive
constexpr int IanaZone = 6;   // the IANA zone ("Europe/Berlin"), from the list's source
constexpr int Code = 7;       // unique key of a city
constexpr int Favourite = 8;  // "1" or "0"; the tick in search results
constexpr int MapRegion = 9;
constexpr int Count = 10;
}  // namespace cityField

namespace citySorting {
constexpr int ByName = 0;
constexpr int ByCountry = 1;
constexpr int ByZone = 2;
}  // namespace citySorting

// The current favourite for a stored FavCity among count favourites: the stored row when it
// is one of them, else the first; 0 when there are none. The program and `vorn` agree on it.
int currentFavouriteRow(int stored, int count);
// The same for the FavCity the program stored last.
int storedFavouriteRow(int count);

// A city's zone number, read with the locale's number conventions.
int cityZone(const core::RecordTable& table, int row);
double cityLatitude(const core::RecordTable& table, int row);
double cityLongitude(const core::RecordTable& table, int row);
bool isTicked(const core::RecordTable& table, int row);

// Which list a local search or a remote answer filled.
enum class SearchOutcome { Found, NeedsRemote, EmptyText };
enum class LookupOutcome { Started, Cancelled, EmptyText, NotStarted };

class CityDatabase {
  public:
    CityDatabase(std::wstring mainPath, std::wstring downloadPath, core::RecordTable& favourites);
    // The filter's keys point into the database's own table of names.
    CityDatabase(const CityDatabase&) = delete;
    CityDatabase& operator=(const CityDatabase&) = delete;

    // Favourites: reloads "mycities.dat" and the current favourite (FavCity, through
    // currentFavouriteRow).
    void loadFavourites();
    core::RecordTable& favourites() { return favourites_; }
    // Makes a favourite the current one and stores it in FavCity.
    void setCurrentFavourite(int row);
    // The first favourite's map region for a city code (exact comparison); nothing when no
    // favourite matches or its region is empty.
    std::optional<std::wstring> mapRegionForCity(std::wstring_view cityCode) const;

    // The full list: "citylist.dat" with field 8 marking the favourites, sorted by a mode of
    // citySorting (CityListSorting). setSortMode stores the mode and reloads.
    void loadCityList(int sortMode);
    void loadCityList() { loadCityList(sortMode()); }
    int sortMode() const;
    void setSortMode(int mode);
    const core::RecordTable& fullList() const { return fullList_; }

    // The shown list: the favourites alone (CityShowSelected, no filter text) or the full
    // list, keeping only rows that the filter text fits at all (city_match.h: a piece of the
    // name or country, the start of an alternate name, "name, country or region").
    // Row numbers are 1-based; the selection stays when still in range, else 1.
    bool showSelected() const;
    void setShowSelected(bool on);
    void setFilter(std::wstring_view text);
    const std::wstring& filter() const { return filter_; }
    int shownCount() const { return static_cast<int>(shown_.size()); }
    const core::RecordTable::Row* shownRow(int row) const;
    std::wstring_view shownField(int row, int column) const;
    bool shownIsFavourite(int row) const;
    // The shown row of a city code; 0 when it is not shown.
    int shownRowOf(std::wstring_view cityCode) const;
    int selection() const { return selection_; }
    void setSelection(int row);

    // Marks or unmarks a city as favourite in the full list and the favourites file. New
    // favourites are appended; the others keep their order. False for an unknown code.
    bool setFavourite(std::wstring_view cityCode, bool flag);
    // Flips the favourite mark of a shown row.
    bool toggleFavourite(int shownRow);
    // Brings the favourites in step with a source table: rows marked there and missing from
    // the favourites are appended in the source's order; favourites whose code the source
    // holds unmarked are removed; the rest keep their order. The current favourite stays
    // the same city while it remains.
    void rebuildFavourites(const core::RecordTable& source);

    // Sets a city's zone and, when different and not empty, its name, in both files. A name
    // loses the characters the file format reserves ("~", quotes, line ends). False when
    // neither file holds the code.
    bool editCity(std::wstring_view cityCode, int zoneNumber, std::wstring_view name);

    // Local search of "citylist.dat" through the city matcher: every city the text fits at
    // all, the best fits first (favourites first among equals), as `vorn` would choose. The
    // same text a second time in a row asks for the remote look-up, as does a search without
    // matches.
    SearchOutcome searchLocal(std::wstring_view text);
    // The remote look-up: cancels a running comms program, else stores the text as
    // CityLookupRequest and starts the "/citylookup" request.
    LookupOutcome requestLookup(std::wstring_view text);
    // Loads the comms program's "searchresult.dat": hours east of UTC become zone numbers.
    // True when it holds at least one city (row 1 selected).
    bool loadSearchResults();
    core::RecordTable& results() { return results_; }

    // The region (state, province) of a city code from the install folder's companion table;
    // empty when unknown.
    std::wstring_view region(std::wstring_view cityCode);

    // Adds the ticked results to "citylist.dat" (marked as favourites) and appends those not
    // yet among the favourites to "mycities.dat". False when nothing was ticked.
    bool addSearchResults();
    // The add view's way: ticked results missing from "citylist.dat" are appended to it,
    // every ticked city is marked as favourite there, and the favourites are rebuilt from
    // the reloaded full list. Answers the first ticked city's code, nothing when no row was
    // ticked or there are no results.
    std::optional<std::wstring> addSearchResultsFromView();

  private:
    void saveFavouritesKeeping(std::wstring_view currentCode, int currentNumber);
    void reloadFavouritesKeeping(std::wstring_view currentCode, int currentNumber);
    void markFavourites(core::RecordTable& list) const;
    void rebuildShownList();
    void rebuildKeys();
    bool filterFits(int fullListRow) const;
    const CityNames& names();
    std::wstring currentFavouriteCode() const;

    std::wstring mainPath_;
    std::wstring downloadPath_;
    core::RecordTable& favourites_;
    core::RecordTable fullList_{cityField::Count};
    core::RecordTable results_{cityField::Count};
    CityNames names_;
    bool namesLoaded_ = false;
    std::vector<CityKeys> keys_;  // per full-list row
    CityQuery query_;             // the filter text, parsed
    std::vector<int> shown_;      // full-list rows, or favourite rows when showing those
    bool shownAreFavourites_ = false;
    bool listLoaded_ = false;
    // CityShowSelected, read when the list loads rather than at every typed character.
    bool showSelected_ = false;
    std::wstring filter_;
    std::wstring previousSearch_;
    int selection_ = 0;
};

// A city code folded for comparison without regard to case.
std::wstring foldedText(std::wstring_view text);
// A filter or search text, or a city's name or country, as searches compare them: without
// regard to case or accents, so "reykjavik" finds "Reykjavík".
std::wstring searchKey(std::wstring_view text);
// A name safe to store in a city file.
std::wstring cleanCityName(std::wstring_view name);
// Gives a table at least the number of columns, keeping its rows and current row.
void widenTable(core::RecordTable& table, int columns);

// Sets OptHomeLayoutReload so that the home screen rebuilds itself.
void requestHomeLayoutReload();

}  // namespace worldtime
