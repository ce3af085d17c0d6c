#include "travel/screens/flight_registration.h"

#include "platform/api/control.h"
#include "platform/api/device.h"
#include "travel/screens/airport_screen.h"
#include "travel/screens/flight_handoff.h"
#include "travel/screens/flight_screen.h"
#include "ui/module_ids.h"

namespace travel {

namespace {

platform::ControlReply readoutReply(const std::wstring& text, const char* missing) {
    if (text.empty())
        return platform::ControlReply{false, missing};
    return platform::ControlReply{true, platform::toUtf8(text)};
}

}  // namespace

void registerFlightScreens(ui::ScreenRegistry& registry) {
    auto handoff = std::make_shared<FlightHandoff>();
    auto readout = std::make_shared<TravelReadout>();
    registry.add(ui::moduleId::Codes, [handoff, readout](ui::ModuleHost& host, int) {
        return std::make_unique<AirportScreen>(host, handoff, readout);
    });
    registry.add(ui::moduleId::Flights, [handoff, readout](ui::ModuleHost& host, int) {
        return std::make_unique<FlightScreen>(host, handoff, readout);
    });
    // The live screens in words, for drivers of the program ("ctl app codes|flights").
    registry.addStartUp([readout](ui::ModuleHost&) {
        platform::registerAppRequest("codes", [readout](std::string_view) {
            return readoutReply(readout->codes, "no codes screen");
        });
        platform::registerAppRequest("flights", [readout](std::string_view) {
            return readoutReply(readout->flights, "no flight status screen");
        });
        return true;
    });
}

}  // namespace travel
