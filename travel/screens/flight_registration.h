#pragma once
// The airport and airline codes screen (module 52) and the flight status screen (module 51),
// which share the airline the one hands to the other.

#include "ui/screen_registry.h"

namespace travel {

void registerFlightScreens(ui::ScreenRegistry& registry);

}  // namespace travel
