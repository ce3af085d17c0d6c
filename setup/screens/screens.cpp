#include "setup/screens/screens.h"

#include "setup/screens/setup_wizard.h"
#include "ui/module_ids.h"

namespace setup {

void registerScreens(ui::ScreenRegistry& registry,
                     std::shared_ptr<worldtime::Favourites> favourites) {
    registry.add(ui::moduleId::SetupWizard, [favourites](ui::ModuleHost& host, int previousId) {
        return std::make_unique<SetupWizard>(host, *favourites, previousId);
    });
}

}  // namespace setup
