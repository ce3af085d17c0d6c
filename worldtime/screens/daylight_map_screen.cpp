#include "worldtime/screens/daylight_map_screen.h"

#include "app/application.h"

namespace worldtime {

DaylightMapScreen::DaylightMapScreen(app::Application& app, int previousId)
    : ui::Module(app), app_(app), previousId_(previousId) {}

}  // namespace worldtime
