#pragma once
// The world-time screens by module id: 98 the city list, 20 the world time list, 21 the
// daylight map, 23 the dialling codes and 24 the moon.

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace worldtime {

// Registers the world-time screens. At start-up the zones and the favourites load (a zone
// table that does not load is reported and ends the program); when the program ends the
// current favourite is stored. Answers the favourites the screens share.
std::shared_ptr<Favourites> registerScreens(ui::ScreenRegistry& registry);

}  // namespace worldtime
