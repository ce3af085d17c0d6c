#pragma once
// The conversion screen (modules 61 to 66).

#include "ui/screen_registry.h"

namespace conversions {

// Registers the conversion screen for the currency, temperature, speed, length, weight and
// size-chart entries of the main menu; the entry chosen sets the category it opens with.
void registerScreens(ui::ScreenRegistry& registry);

}  // namespace conversions
