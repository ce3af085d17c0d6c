#include "weather/screens/screens.h"

#include "ui/module_ids.h"
#include "weather/screens/weather_screen.h"

namespace weather {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    for (int id :
         {ui::moduleId::CurrentWeather, ui::moduleId::WeatherMaps, ui::moduleId::WeatherThird}) {
        registry.add(id, [favourites](ui::ModuleHost& host, int) {
            return std::make_unique<WeatherScreen>(host, *favourites);
        });
    }
}

}  // namespace weather
