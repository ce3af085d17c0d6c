#pragma once
// The alarm screens by module id: 41 the alarm list, 42 the alarm editor, 43 the countdown
// counters and 44 the stopwatch.

#include <memory>

#include "ui/screen_registry.h"
#include "worldtime/favourites.h"

namespace alarms {

// Registers the alarm list and the alarm editor, which share one alarm store for the run and
// offer the favourite cities as the cities an alarm may keep, and the counter screens.
void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites);

}  // namespace alarms
