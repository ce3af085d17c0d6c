#include "worldtime/screens/screens.h"

#include "app/application.h"
#include "app/module_table.h"
#include "worldtime/screens/city_screen.h"
#include "worldtime/screens/daylight_map_screen.h"
#include "worldtime/screens/world_clock_screen.h"

namespace worldtime {

std::unique_ptr<ui::Module> createWorldTimeScreen(app::Application& app, int id, int previousId) {
    switch (id) {
        case app::moduleId::CityList:
            return std::make_unique<CityScreen>(app, previousId);
        case app::moduleId::WorldTime:
            return std::make_unique<WorldClockScreen>(app, previousId);
        case app::moduleId::DaylightMap:
            return std::make_unique<DaylightMapScreen>(app, previousId);
        default:
            return nullptr;
    }
}

}  // namespace worldtime
