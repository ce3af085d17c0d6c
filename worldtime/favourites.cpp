#include "worldtime/favourites.h"

#include "core/settings.h"

namespace worldtime {

void Favourites::load(const std::wstring& mainPath) {
    CityDatabase(mainPath, std::wstring(), table_).loadFavourites();
}

void Favourites::saveCurrent() const {
    if (table_.rowCount() > 0)
        core::writeNumberSetting(L"FavCity", table_.currentRow());
}

}  // namespace worldtime
