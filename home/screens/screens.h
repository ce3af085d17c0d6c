#pragma once
// The home-mode screen (module 10): a city clock, the month calendar, a weather summary
// and the quick alarm.

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace home {

// Registers the home-mode screen with the main program.
void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites);

}  // namespace home
