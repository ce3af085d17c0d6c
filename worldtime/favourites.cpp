#include "worldtime/favourites.h"

#include "worldtime/settings_keys.h"

namespace worldtime {

void Favourites::load(const std::wstring& mainPath) {
    CityDatabase(mainPath, std::wstring(), table_).loadFavourites();
}

void Favourites::saveCurrent() const {
    if (table_.rowCount() > 0)
        core::settings::write(keys::FavCity, table_.currentRow());
}

}  // namespace worldtime
