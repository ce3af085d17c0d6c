#include "travel/screens/screens.h"

#include "travel/screens/flight_registration.h"
#include "travel/screens/itinerary_screens.h"
#include "travel/screens/packing_screen.h"

namespace travel {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    // One line per screen family: each adds its module ids to the registry.
    registerPackingScreen(registry);
    registerFlightScreens(registry);
    registerItineraryScreens(registry);
    (void)favourites;
}

}  // namespace travel
