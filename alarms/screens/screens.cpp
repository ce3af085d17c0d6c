#include "alarms/screens/screens.h"

#include "alarms/screens/alarm_editor_screen.h"
#include "alarms/screens/alarm_list_screen.h"
#include "alarms/screens/counters_screens.h"
#include "platform/api/control.h"
#include "platform/api/device.h"
#include "ui/module_ids.h"

namespace alarms {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    registerCounterScreens(registry);
    auto state = std::make_shared<AlarmScreensState>(std::move(favourites));
    registry.add(ui::moduleId::Alarms, [state](ui::ModuleHost& host, int) {
        return std::make_unique<AlarmListScreen>(host, state);
    });
    registry.add(ui::moduleId::AlarmEdit, [state](ui::ModuleHost& host, int) {
        return std::make_unique<AlarmEditorScreen>(host, state);
    });
    // The list's rows in words, for drivers of the program ("ctl app alarms").
    registry.addStartUp([state](ui::ModuleHost&) {
        platform::registerAppRequest("alarms", [state](std::string_view) {
            if (state->readout.empty())
                return platform::ControlReply{false, "no alarm list"};
            return platform::ControlReply{true, platform::toUtf8(state->readout)};
        });
        return true;
    });
}

}  // namespace alarms
