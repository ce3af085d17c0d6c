#pragma once
// The world-time screens by module id: 98 the city list, 20 the world time list, 21 the
// daylight map.

#include <memory>

#include "ui/module.h"

namespace app {
class Application;
}

namespace worldtime {

// The screen for a module id, or none when the id is not a world-time screen.
std::unique_ptr<ui::Module> createWorldTimeScreen(app::Application& app, int id, int previousId);

}  // namespace worldtime
