#pragma once
// The stopwatch and countdown screen of the main program (modules 44 and 43).

#include "ui/screen_registry.h"

namespace alarms {

// Registers the stopwatch (44) and countdown (43) pages; both share one set of counts that
// lasts for the program's run.
void registerCounterScreens(ui::ScreenRegistry& registry);

}  // namespace alarms
