#include "worldtime/screens/city_screen.h"

#include "app/application.h"

namespace worldtime {

CityScreen::CityScreen(app::Application& app, int previousId)
    : ui::Module(app), app_(app), previousId_(previousId) {}

}  // namespace worldtime
