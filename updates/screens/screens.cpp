#include "updates/screens/screens.h"

#include "core/settings.h"
#include "platform/api/notifications.h"
#include "ui/module_ids.h"
#include "updates/docking.h"
#include "updates/schedule.h"
#include "updates/screens/options_screen.h"
#include "updates/settings_keys.h"

namespace updates {

void registerScreens(ui::ScreenRegistry& registry) {
    registry.add(ui::moduleId::Options,
                 [](ui::ModuleHost& host, int) { return std::make_unique<OptionsScreen>(host); });
    registry.addStartUp([](ui::ModuleHost&) {
        setDockingUpdates();
        // Updates that are on but have no pending notification (it was lost with a reset of
        // the device, or cleared by hand) are scheduled again.
        if (core::settings::read(keys::OptScheduler) != 0 &&
            !platform::userNotification(static_cast<platform::NotificationHandle>(
                core::settings::read(keys::ScheduledUpdate)))) {
            scheduleNextUpdate();
        }
        return true;
    });
}

}  // namespace updates
