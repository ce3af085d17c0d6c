#include "travel/screens/itinerary_screens.h"

#include <memory>

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "travel/screens/itinerary_screen.h"
#include "ui/module_ids.h"

namespace travel {

void registerItineraryScreens(ui::ScreenRegistry& registry) {
    auto state = std::make_shared<ItineraryState>();
    registry.add(ui::moduleId::Itinerary, [state](ui::ModuleHost& host, int) {
        return std::make_unique<ItineraryScreen>(host, state);
    });
    // What the screen shows in words ("ctl app itinerary").
    registry.addStartUp([state](ui::ModuleHost&) {
        platform::registerAppRequest("itinerary", [state](std::string_view) {
            if (state->readout.empty())
                return platform::ControlReply{false, "no itinerary shown"};
            return platform::ControlReply{true, platform::toUtf8(state->readout)};
        });
        return true;
    });
}

}  // namespace travel
