#include "weather/screens/screens.h"

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "ui/module_ids.h"
#include "weather/screens/weather_screen.h"

namespace weather {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    auto readout = std::make_shared<WeatherReadout>();
    for (int id :
         {ui::moduleId::CurrentWeather, ui::moduleId::WeatherMaps, ui::moduleId::WeatherThird}) {
        registry.add(id, [favourites, readout](ui::ModuleHost& host, int) {
            return std::make_unique<WeatherScreen>(host, *favourites, readout);
        });
    }
    // The live screen in words, for drivers of the program ("ctl app weather").
    registry.addStartUp([readout](ui::ModuleHost&) {
        platform::registerAppRequest("weather", [readout](std::string_view) {
            if (readout->text.empty())
                return platform::ControlReply{false, "no weather screen"};
            return platform::ControlReply{true, platform::toUtf8(readout->text)};
        });
        return true;
    });
}

}  // namespace weather
