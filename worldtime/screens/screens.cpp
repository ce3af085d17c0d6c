#include "worldtime/screens/screens.h"

#include "core/message_box.h"
#include "ui/module_ids.h"
#include "worldtime/screens/city_screen.h"
#include "worldtime/screens/daylight_map_screen.h"
#include "worldtime/screens/dial_codes_screen.h"
#include "worldtime/screens/moon_screen.h"
#include "worldtime/screens/planner_screen.h"
#include "worldtime/screens/world_clock_screen.h"
#include "worldtime/zones.h"

namespace worldtime {

std::shared_ptr<Favourites> registerScreens(ui::ScreenRegistry& registry) {
    auto favourites = std::make_shared<Favourites>();
    registry.add(ui::moduleId::CityList, [favourites](ui::ModuleHost& host, int previousId) {
        return std::make_unique<CityScreen>(host, *favourites, previousId);
    });
    registry.add(ui::moduleId::WorldTime, [favourites](ui::ModuleHost& host, int) {
        return std::make_unique<WorldClockScreen>(host, *favourites);
    });
    registry.add(ui::moduleId::DaylightMap, [favourites](ui::ModuleHost& host, int) {
        return std::make_unique<DaylightMapScreen>(host, *favourites);
    });
    registry.add(ui::moduleId::DialCodes,
                 [](ui::ModuleHost& host, int) { return std::make_unique<DialCodesScreen>(host); });
    registry.add(ui::moduleId::Moon, [favourites](ui::ModuleHost& host, int) {
        return std::make_unique<MoonScreen>(host, *favourites);
    });
    registry.add(ui::moduleId::MeetingPlanner, [favourites](ui::ModuleHost& host, int) {
        return std::make_unique<PlannerScreen>(host, *favourites);
    });
    registry.addStartUp([favourites](ui::ModuleHost& host) {
        if (!loadZones(host.mainPath())) {
            core::showExclamation(L"Problems loading daylight savings info file!",
                                  host.programName());
            return false;
        }
        favourites->load(host.mainPath());
        return true;
    });
    registry.addShutDown([favourites] { favourites->saveCurrent(); });
    return favourites;
}

}  // namespace worldtime
