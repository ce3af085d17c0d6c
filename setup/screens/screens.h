#pragma once
// The set-up wizard's screen (module 13).

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace setup {

// Registers the set-up wizard; the cities it adds join the favourites the world-time screens
// share.
void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites);

}  // namespace setup
