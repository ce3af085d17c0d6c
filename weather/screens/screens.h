#pragma once
// The weather screens by module id: 31 the weather screen, 32 its maps and 33 its outlook,
// one screen whose mode the module's entry in the program's table chooses.

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace weather {

// Registers the weather screens; they show the weather of the current favourite.
void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites);

}  // namespace weather
