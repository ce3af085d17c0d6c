#pragma once
// The favourite cities the world-time screens share for the program's whole run: the table of
// "mycities.dat" whose current row is the current favourite (FavCity).

#include <string>

#include "core/record_table.h"
#include "worldtime/cities.h"

namespace worldtime {

class Favourites {
  public:
    // Reads "mycities.dat" from the install folder and the current favourite.
    void load(const std::wstring& mainPath);
    // Stores the current favourite in FavCity; nothing when there are no favourites.
    void saveCurrent() const;
    core::RecordTable& table() { return table_; }
    const core::RecordTable& table() const { return table_; }

  private:
    core::RecordTable table_{cityField::Count};
};

}  // namespace worldtime
