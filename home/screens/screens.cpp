#include "home/screens/screens.h"

#include "home/screens/home_screen.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "ui/module_ids.h"

namespace home {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    auto readout = std::make_shared<HomeReadout>();
    registry.add(ui::moduleId::Home, [favourites, readout](ui::ModuleHost& host, int) {
        return std::make_unique<HomeModeScreen>(host, *favourites, readout);
    });
    // The live screen in words, for drivers of the program ("ctl app home").
    registry.addStartUp([readout](ui::ModuleHost&) {
        platform::registerAppRequest("home", [readout](std::string_view) {
            if (readout->text.empty())
                return platform::ControlReply{false, "no home screen"};
            return platform::ControlReply{true, platform::toUtf8(readout->text)};
        });
        return true;
    });
}

}  // namespace home
