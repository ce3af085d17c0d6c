#include "conversions/screens/screens.h"

#include "conversions/screens/conversion_screen.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "ui/module_ids.h"

namespace conversions {

void registerScreens(ui::ScreenRegistry& registry) {
    auto readout = std::make_shared<ConversionReadout>();
    for (int id : {ui::moduleId::Currency, ui::moduleId::Temperature, ui::moduleId::Speed,
                   ui::moduleId::Length, ui::moduleId::Weight, ui::moduleId::Clothes}) {
        registry.add(id, [readout](ui::ModuleHost& host, int) {
            return std::make_unique<ConversionScreen>(host, readout);
        });
    }
    // The live screen's rows in words, for drivers of the program ("ctl app conversion").
    registry.addStartUp([readout](ui::ModuleHost&) {
        platform::registerAppRequest("conversion", [readout](std::string_view) {
            if (readout->text.empty())
                return platform::ControlReply{false, "no conversion screen"};
            return platform::ControlReply{true, platform::toUtf8(readout->text)};
        });
        return true;
    });
}

}  // namespace conversions
