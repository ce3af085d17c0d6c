#pragma once
// The travel screens by module id: airport codes and airlines, flight status, the itinerary
// and the packing lists.

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace travel {

// Registers the travel screens with the main program.
void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites);

}  // namespace travel
