#include "alarms/screens/counters_screens.h"

#include <memory>

#include "alarms/screens/counters_screen.h"
#include "ui/module_ids.h"

namespace alarms {

void registerCounterScreens(ui::ScreenRegistry& registry) {
    auto state = std::make_shared<CounterState>();
    registry.add(ui::moduleId::Stopwatch, [state](ui::ModuleHost& host, int) {
        return std::make_unique<CountersScreen>(host, state, CounterPage::Stopwatch);
    });
    registry.add(ui::moduleId::Countdown, [state](ui::ModuleHost& host, int) {
        return std::make_unique<CountersScreen>(host, state, CounterPage::Counters);
    });
}

}  // namespace alarms
