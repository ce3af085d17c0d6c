#include "conversions/screens/screens.h"

#include "conversions/screens/conversion_screen.h"
#include "ui/module_ids.h"

namespace conversions {

void registerScreens(ui::ScreenRegistry& registry) {
    for (int id : {ui::moduleId::Currency, ui::moduleId::Temperature, ui::moduleId::Speed,
                   ui::moduleId::Length, ui::moduleId::Weight, ui::moduleId::Clothes}) {
        registry.add(
            id, [](ui::ModuleHost& host, int) { return std::make_unique<ConversionScreen>(host); });
    }
}

}  // namespace conversions
