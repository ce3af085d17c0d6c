#include "worldtime/cities.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "core/settings_keys.h"
#include "core/text_case.h"
#include "platform/api/locale.h"
#include "platform/api/program.h"
#include "worldtime/date_helpers.h"
#include "worldtime/settings_keys.h"

namespace worldtime {
namespace {

constexpr std::wstring_view kFavouritesFile = L"mycities.dat";
constexpr std::wstring_view kCityListFile = L"citylist.dat";

// Puts what a load found damaged in the device log, once per file and run: the rows read are
// shown as they are, and a save keeps a copy of the damaged file.
void reportDamage(const core::RecordTable& table) {
    static std::set<std::wstring> reported;
    const core::TableDamage& damage = table.damage();
    if (damage.damaged() && reported.insert(damage.path).second)
        platform::logLine(damage.describe());
}

}  // namespace

int cityZone(const core::RecordTable& table, int row) {
    return readInt(table.fieldText(row, cityField::Zone));
}

double cityLatitude(const core::RecordTable& table, int row) {
    return readNumber(table.fieldText(row, cityField::Latitude), false);
}

double cityLongitude(const core::RecordTable& table, int row) {
    return readNumber(table.fieldText(row, cityField::Longitude), false);
}

bool isTicked(const core::RecordTable& table, int row) {
    std::wstring_view flag = table.fieldText(row, cityField::Favourite);
    return !flag.empty() && flag != L"0";
}

std::wstring foldedText(std::wstring_view text) {
    std::wstring out(text.size(), L'\0');
    std::transform(text.begin(), text.end(), out.begin(), core::foldCase);
    return out;
}

std::wstring searchKey(std::wstring_view text) {
    std::wstring out(text.size(), L'\0');
    std::transform(text.begin(), text.end(), out.begin(), platform::searchLetter);
    return out;
}

std::wstring cleanCityName(std::wstring_view name) {
    std::wstring out;
    for (wchar_t c : name) {
        if (c == L'~' || c == L'"' || c < 0x20)
            continue;
        out += c;
    }
    std::size_t first = out.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return out.substr(first, out.find_last_not_of(L' ') - first + 1);
}

void widenTable(core::RecordTable& table, int columns) {
    table.widenTo(columns);
}

int currentFavouriteRow(int stored, int count) {
    if (count <= 0)
        return 0;
    return stored >= 1 && stored <= count ? stored : 1;
}

int storedFavouriteRow(int count) {
    return currentFavouriteRow(core::settings::read(keys::FavCity), count);
}

void requestHomeLayoutReload() {
    core::settings::write(core::keys::OptHomeLayoutReload, 1);
}

CityDatabase::CityDatabase(std::wstring mainPath, std::wstring downloadPath,
                           core::RecordTable& favourites)
    : mainPath_(std::move(mainPath)),
      downloadPath_(std::move(downloadPath)),
      favourites_(favourites) {}

void CityDatabase::loadFavourites() {
    favourites_.clear();
    favourites_.load(mainPath_, kFavouritesFile, L'~', true);
    reportDamage(favourites_);
    widenTable(favourites_, cityField::Count);
    int rows = favourites_.rowCount();
    favourites_.setCurrentRow(storedFavouriteRow(rows));
}

void CityDatabase::setCurrentFavourite(int row) {
    if (row < 1 || !favourites_.setCurrentRow(row))
        return;
    core::settings::write(keys::FavCity, row);
}

std::wstring CityDatabase::currentFavouriteCode() const {
    return std::wstring(favourites_.fieldText(favourites_.currentRow(), cityField::Code));
}

void CityDatabase::reloadFavouritesKeeping(std::wstring_view currentCode, int currentNumber) {
    favourites_.clear();
    favourites_.load(mainPath_, kFavouritesFile, L'~', true);
    reportDamage(favourites_);
    widenTable(favourites_, cityField::Count);
    int rows = favourites_.rowCount();
    int byCode = currentCode.empty() ? 0 : favourites_.find(cityField::Code, currentCode, true);
    int current = byCode > 0 ? byCode : currentFavouriteRow(currentNumber, rows);
    favourites_.setCurrentRow(current);
    if (current > 0)
        core::settings::write(keys::FavCity, current);
}

void CityDatabase::saveFavouritesKeeping(std::wstring_view currentCode, int currentNumber) {
    favourites_.save(mainPath_, kFavouritesFile);
    reloadFavouritesKeeping(currentCode, currentNumber);
    requestHomeLayoutReload();
}

std::optional<std::wstring> CityDatabase::mapRegionForCity(std::wstring_view cityCode) const {
    for (int row = 1; row <= favourites_.rowCount(); ++row) {
        if (favourites_.fieldText(row, cityField::Code) != cityCode)
            continue;
        std::wstring_view region = favourites_.fieldText(row, cityField::MapRegion);
        if (region.empty())
            return std::nullopt;
        return std::wstring(region);
    }
    return std::nullopt;
}

void CityDatabase::markFavourites(core::RecordTable& list) const {
    std::unordered_set<std::wstring> codes;
    for (int row = 1; row <= favourites_.rowCount(); ++row) {
        std::wstring_view code = favourites_.fieldText(row, cityField::Code);
        if (!code.empty())
            codes.insert(foldedText(code));
    }
    for (int row = 1; row <= list.rowCount(); ++row) {
        std::wstring_view code = list.fieldText(row, cityField::Code);
        bool favourite = !code.empty() && codes.count(foldedText(code)) > 0;
        list.setField(row, cityField::Favourite, favourite ? L"1" : L"0");
    }
}

int CityDatabase::sortMode() const {
    return core::settings::read(keys::CityListSorting);
}

void CityDatabase::setSortMode(int mode) {
    core::settings::write(keys::CityListSorting, mode);
    loadCityList(sortMode());
}

void CityDatabase::loadCityList(int sortMode) {
    fullList_.clear();
    fullList_.load(mainPath_, kCityListFile, L'~', true);
    reportDamage(fullList_);
    widenTable(fullList_, cityField::Count);
    markFavourites(fullList_);
    switch (sortMode) {
        case citySorting::ByCountry:
            fullList_.sort(cityField::Country, false);
            break;
        case citySorting::ByZone:
            fullList_.sort(cityField::Zone, true);
            break;
        default:
            fullList_.sort(cityField::Name, false);
            break;
    }
    listLoaded_ = true;
    showSelected_ = core::settings::read(keys::CityShowSelected) != 0;
    rebuildKeys();
    rebuildShownList();
}

const CityNames& CityDatabase::names() {
    if (!namesLoaded_) {
        names_.load(mainPath_);
        namesLoaded_ = true;
    }
    return names_;
}

std::wstring_view CityDatabase::region(std::wstring_view cityCode) {
    const CityNameEntry* entry = names().find(cityCode);
    return entry ? std::wstring_view(entry->region) : std::wstring_view();
}

void CityDatabase::rebuildKeys() {
    const CityNames& known = names();
    keys_.clear();
    keys_.reserve(static_cast<std::size_t>(fullList_.rowCount()));
    for (int row = 1; row <= fullList_.rowCount(); ++row)
        keys_.push_back(cityKeys(fullList_, row, &known));
}

bool CityDatabase::showSelected() const {
    return showSelected_;
}

void CityDatabase::setShowSelected(bool on) {
    core::settings::write(keys::CityShowSelected, on ? 1 : 0);
    showSelected_ = on;
    rebuildShownList();
}

void CityDatabase::setFilter(std::wstring_view text) {
    std::wstring folded = searchKey(text);
    // Typing on at the end of a name can only fit fewer rows, so one more character filters
    // the rows already shown instead of the whole list. After a comma it need not: "de" is
    // Germany's code, though no country or region begins with its "d".
    bool narrows = !filter_.empty() && !shownAreFavourites_ && folded.starts_with(filter_) &&
                   folded.find(L',') == std::wstring::npos;
    filter_ = std::move(folded);
    query_ = CityQuery::parse(filter_);
    if (!narrows) {
        rebuildShownList();
        return;
    }
    std::erase_if(shown_, [&](int row) { return !filterFits(row); });
    if (selection_ < 1 || selection_ > shownCount())
        selection_ = shown_.empty() ? 0 : 1;
}

void CityDatabase::rebuildShownList() {
    shown_.clear();
    shownAreFavourites_ = filter_.empty() && showSelected();
    if (shownAreFavourites_) {
        for (int row = 1; row <= favourites_.rowCount(); ++row) shown_.push_back(row);
    } else {
        for (int row = 1; row <= fullList_.rowCount(); ++row) {
            if (filter_.empty() || filterFits(row))
                shown_.push_back(row);
        }
    }
    if (selection_ < 1 || selection_ > shownCount())
        selection_ = shown_.empty() ? 0 : 1;
}

bool CityDatabase::filterFits(int fullListRow) const {
    return cityFit(keys_[fullListRow - 1], query_) != CityFit::None;
}

const core::RecordTable::Row* CityDatabase::shownRow(int row) const {
    if (row < 1 || row > shownCount())
        return nullptr;
    const core::RecordTable& source = shownAreFavourites_ ? favourites_ : fullList_;
    return source.row(shown_[row - 1]);
}

std::wstring_view CityDatabase::shownField(int row, int column) const {
    if (row < 1 || row > shownCount())
        return {};
    if (shownAreFavourites_ && column == cityField::Favourite)
        return L"1";
    const core::RecordTable& source = shownAreFavourites_ ? favourites_ : fullList_;
    return source.fieldText(shown_[row - 1], column);
}

bool CityDatabase::shownIsFavourite(int row) const {
    return shownField(row, cityField::Favourite) == L"1";
}

int CityDatabase::shownRowOf(std::wstring_view cityCode) const {
    for (int row = 1; row <= shownCount(); ++row) {
        if (core::equalsIgnoringCase(shownField(row, cityField::Code), cityCode))
            return row;
    }
    return 0;
}

void CityDatabase::setSelection(int row) {
    if (row >= 1 && row <= shownCount())
        selection_ = row;
}

bool CityDatabase::setFavourite(std::wstring_view cityCode, bool flag) {
    if (cityCode.empty())
        return false;
    int listRow = fullList_.find(cityField::Code, cityCode, true);
    int favouriteRow = favourites_.find(cityField::Code, cityCode, true);
    if (listRow == 0 && favouriteRow == 0)
        return false;
    if (listRow > 0)
        fullList_.setField(listRow, cityField::Favourite, flag ? L"1" : L"0");
    std::wstring currentCode = currentFavouriteCode();
    int currentNumber = favourites_.currentRow();
    if (flag && favouriteRow == 0 && listRow > 0) {
        int added = favourites_.appendRow();
        const auto& fields = *fullList_.row(listRow);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            favourites_.setField(added, static_cast<int>(i) + 1, fields[i]);
        }
        favourites_.setField(added, cityField::Favourite, L"1");
    } else if (!flag && favouriteRow > 0) {
        favourites_.removeRow(favouriteRow);
    } else {
        return true;
    }
    saveFavouritesKeeping(currentCode, currentNumber);
    rebuildShownList();
    return true;
}

bool CityDatabase::toggleFavourite(int shownRow) {
    std::wstring code(shownField(shownRow, cityField::Code));
    if (code.empty())
        return false;
    return setFavourite(code, !shownIsFavourite(shownRow));
}

void CityDatabase::rebuildFavourites(const core::RecordTable& source) {
    std::wstring currentCode = currentFavouriteCode();
    int currentNumber = favourites_.currentRow();
    for (int row = favourites_.rowCount(); row >= 1; --row) {
        std::wstring_view code = favourites_.fieldText(row, cityField::Code);
        int sourceRow = code.empty() ? 0 : source.find(cityField::Code, code, true);
        if (sourceRow > 0 && !isTicked(source, sourceRow))
            favourites_.removeRow(row);
    }
    for (int row = 1; row <= source.rowCount(); ++row) {
        std::wstring_view code = source.fieldText(row, cityField::Code);
        if (code.empty() || !isTicked(source, row))
            continue;
        if (favourites_.find(cityField::Code, code, true) > 0)
            continue;
        int added = favourites_.appendRow();
        for (int column = 1; column <= cityField::Count; ++column) {
            favourites_.setField(added, column, source.fieldText(row, column));
        }
        favourites_.setField(added, cityField::Favourite, L"1");
    }
    saveFavouritesKeeping(currentCode, currentNumber);
    if (listLoaded_)
        markFavourites(fullList_);
    rebuildShownList();
}

bool CityDatabase::editCity(std::wstring_view cityCode, int zoneNumber, std::wstring_view name) {
    std::wstring cleanName = cleanCityName(name);
    std::wstring zoneText = formatInt(zoneNumber, false);
    // Each file is loaded, changed and saved on its own, so that an edit never writes the
    // sorted, marked list of the screen over the file.
    auto editFile = [&](std::wstring_view file) {
        core::RecordTable table(cityField::Count);
        table.load(mainPath_, file, L'~', true);
        widenTable(table, cityField::Count);
        int row = table.find(cityField::Code, cityCode, true);
        if (row == 0)
            return false;
        table.setField(row, cityField::Zone, zoneText);
        if (!cleanName.empty() && cleanName != table.fieldText(row, cityField::Name)) {
            table.setField(row, cityField::Name, cleanName);
        }
        return table.save(mainPath_, file);
    };
    if (cityCode.empty())
        return false;
    std::wstring currentCode = currentFavouriteCode();
    int currentNumber = favourites_.currentRow();
    bool favourite = editFile(kFavouritesFile);
    if (favourite)
        reloadFavouritesKeeping(currentCode, currentNumber);
    bool listed = editFile(kCityListFile);
    if (listed && listLoaded_)
        loadCityList();
    if (favourite || listed)
        requestHomeLayoutReload();
    return favourite || listed;
}

}  // namespace worldtime
