#pragma once
// The options screen (module 11) and what scheduled and docking updates need at start-up.

#include "ui/screen_registry.h"

namespace updates {

// Registers the options screen, and at each start of the program renews the cradle
// registration (setDockingUpdates) so that it follows OptSchedDocking, and schedules the next
// update when updates are on and none is pending.
void registerScreens(ui::ScreenRegistry& registry);

}  // namespace updates
