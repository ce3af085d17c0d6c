#include "worldtime/screens/world_clock_screen.h"

#include "app/application.h"

namespace worldtime {

WorldClockScreen::WorldClockScreen(app::Application& app, int previousId)
    : ui::Module(app), app_(app), previousId_(previousId) {}

}  // namespace worldtime
