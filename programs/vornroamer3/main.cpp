// The main program: the application with every subsystem's screens, one line per subsystem.

#include "alarms/screens/screens.h"
#include "app/application.h"
#include "conversions/screens/screens.h"
#include "home/screens/screens.h"
#include "setup/screens/screens.h"
#include "travel/screens/screens.h"
#include "updates/screens/screens.h"
#include "weather/screens/screens.h"
#include "worldtime/screens/screens.h"

int main(int argc, char** argv) {
    ui::ScreenRegistry screens;
    auto favourites = worldtime::registerScreens(screens);
    setup::registerScreens(screens, favourites);
    conversions::registerScreens(screens);
    alarms::registerScreens(screens, favourites);
    weather::registerScreens(screens, favourites);
    home::registerScreens(screens, favourites);
    travel::registerScreens(screens, favourites);
    updates::registerScreens(screens);
    return app::runMainProgram(argc, argv, std::move(screens));
}
