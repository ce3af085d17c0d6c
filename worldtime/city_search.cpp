// Finding new cities: the local search of the full list, the remote look-up through the comms
// program, and adding what either found.

#include <cmath>

#include "core/comms.h"
#include "core/text_case.h"
#include "worldtime/cities.h"
#include "worldtime/date_helpers.h"
#include "worldtime/settings_keys.h"
#include "worldtime/zones.h"

namespace worldtime {
namespace {

constexpr std::wstring_view kCityListFile = L"citylist.dat";
constexpr std::wstring_view kSearchResultFile = L"searchresult.dat";

std::vector<int> tickedRows(const core::RecordTable& results) {
    std::vector<int> rows;
    for (int row = 1; row <= results.rowCount(); ++row) {
        if (isTicked(results, row) && !results.fieldText(row, cityField::Code).empty()) {
            rows.push_back(row);
        }
    }
    return rows;
}

void appendCopy(core::RecordTable& target, const core::RecordTable& source, int row) {
    int added = target.appendRow();
    for (int column = 1; column <= cityField::Count; ++column) {
        target.setField(added, column, source.fieldText(row, column));
    }
    target.setField(added, cityField::Favourite, L"1");
}

// The hours east of UTC of a search result as minutes; a fractional offset (India's 5.5)
// keeps its half hour.
int offsetMinutes(std::wstring_view hoursText) {
    double hours = readNumber(hoursText);
    if (!(hours > -48 && hours < 48))
        return 0;
    return static_cast<int>(std::lround(hours * 60));
}

}  // namespace

SearchOutcome CityDatabase::searchLocal(std::wstring_view text) {
    if (text.empty())
        return SearchOutcome::EmptyText;
    if (text == previousSearch_)
        return SearchOutcome::NeedsRemote;
    previousSearch_ = std::wstring(text);
    core::RecordTable list(cityField::Count);
    list.load(mainPath_, kCityListFile, L'~', true);
    widenTable(list, cityField::Count);
    markFavourites(list);
    const CityQuery query = CityQuery::parse(text);
    const CityNames& known = names();
    std::vector<CityCandidate> found;
    for (int row = 1; row <= list.rowCount(); ++row) {
        CityFit fit = cityFit(cityKeys(list, row, &known), query);
        if (fit != CityFit::None)
            found.push_back({&list, row, isTicked(list, row), fit});
    }
    orderBySearchFit(found);
    results_ = core::RecordTable(cityField::Count);
    for (const CityCandidate& city : found) {
        appendCopy(results_, list, city.row);
        results_.setField(results_.rowCount(), cityField::Favourite, L"0");
    }
    if (results_.empty())
        return SearchOutcome::NeedsRemote;
    results_.setCurrentRow(1);
    return SearchOutcome::Found;
}

LookupOutcome CityDatabase::requestLookup(std::wstring_view text) {
    if (core::isCommsRunning()) {
        core::cancelComms();
        return LookupOutcome::Cancelled;
    }
    if (text.empty())
        return LookupOutcome::EmptyText;
    core::settings::write(keys::CityLookupRequest, text);
    return core::sendCommsRequest(L"/citylookup") ? LookupOutcome::Started
                                                  : LookupOutcome::NotStarted;
}

bool CityDatabase::loadSearchResults() {
    core::RecordTable loaded(cityField::Count);
    loaded.load(downloadPath_, kSearchResultFile, L'~', true);
    widenTable(loaded, cityField::Count);
    results_ = core::RecordTable(cityField::Count);
    for (int row = 1; row <= loaded.rowCount(); ++row) {
        // A result without a city code could never be matched with the files again.
        if (loaded.fieldText(row, cityField::Code).empty())
            continue;
        int added = results_.appendRow();
        for (int column = 1; column <= cityField::Count; ++column) {
            results_.setField(added, column, loaded.fieldText(row, column));
        }
        int zone = zoneNumberForMinutes(offsetMinutes(loaded.fieldText(row, cityField::Zone)));
        results_.setField(added, cityField::Zone, formatInt(zone, false));
    }
    results_.setCurrentRow(results_.empty() ? 0 : 1);
    return !results_.empty();
}

bool CityDatabase::addSearchResults() {
    std::vector<int> ticked = tickedRows(results_);
    if (ticked.empty())
        return false;
    core::RecordTable list(cityField::Count);
    list.load(mainPath_, kCityListFile, L'~', true);
    widenTable(list, cityField::Count);
    bool changed = false;
    for (int row : ticked) {
        int listed = list.find(cityField::Code, results_.fieldText(row, cityField::Code), true);
        if (listed == 0) {
            appendCopy(list, results_, row);
            changed = true;
        } else if (list.fieldText(listed, cityField::Favourite) != L"1") {
            list.setField(listed, cityField::Favourite, L"1");
            changed = true;
        }
    }
    if (changed)
        list.save(mainPath_, kCityListFile);
    std::wstring currentCode = currentFavouriteCode();
    int currentNumber = favourites_.currentRow();
    for (int row : ticked) {
        if (favourites_.find(cityField::Code, results_.fieldText(row, cityField::Code), true)) {
            continue;
        }
        appendCopy(favourites_, results_, row);
    }
    saveFavouritesKeeping(currentCode, currentNumber);
    if (listLoaded_)
        loadCityList();
    return true;
}

std::optional<std::wstring> CityDatabase::addSearchResultsFromView() {
    std::vector<int> ticked = tickedRows(results_);
    if (ticked.empty())
        return std::nullopt;
    core::RecordTable list(cityField::Count);
    list.load(mainPath_, kCityListFile, L'~', true);
    widenTable(list, cityField::Count);
    // The file's favourite marks may be stale; the favourites decide them, so that the
    // rebuild below keeps every favourite the user has.
    markFavourites(list);
    for (int row : ticked) {
        int listed = list.find(cityField::Code, results_.fieldText(row, cityField::Code), true);
        if (listed == 0) {
            appendCopy(list, results_, row);
        } else {
            list.setField(listed, cityField::Favourite, L"1");
        }
    }
    list.save(mainPath_, kCityListFile);
    rebuildFavourites(list);
    std::wstring first(results_.fieldText(ticked.front(), cityField::Code));
    loadCityList();
    int shown = shownRowOf(first);
    if (shown > 0)
        setSelection(shown);
    return first;
}

}  // namespace worldtime
