#pragma once
// Registers the itinerary (module 54) and its readout for drivers of the program.

#include "ui/screen_registry.h"

namespace travel {

void registerItineraryScreens(ui::ScreenRegistry& registry);

}  // namespace travel
