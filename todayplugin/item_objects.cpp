// The current layout's objects: fonts by id, their data and their drawing.

#include "platform/api/profile.h"
#include "todayplugin/home_item.h"

namespace todayplugin {

platform::FontRef HomeItem::fontFor(int id) {
    for (const auto& [fontId, font] : fonts_) {
        if (fontId == id)
            return font;
    }
    const home::FontDefinition* definition = model_.font(id);
    if (!definition)
        return nullptr;
    // Points to pixels as the handheld does; a wide screen of 96 pixels per inch halves the
    // divisor, so a layout's sizes keep their look at both scales.
    int ppi = platform::screenProfile().dpi;
    int divisor = scale_ == 2 && ppi == 96 ? 2 : 1;
    platform::FontSpec spec;
    spec.face = L"Tahoma";
    spec.height = -((definition->size * ppi * divisor + 36) / 72);
    spec.weight = definition->bold ? 700 : 400;
    spec.quality = definition->clearType ? 5 : 0;
    platform::FontRef font = platform::Font::create(spec);
    fonts_.emplace_back(id, font);
    return font;
}

void HomeItem::refreshObjects(bool) {}

void HomeItem::paintObjects(platform::DeviceContext&, platform::Point) {}

}  // namespace todayplugin
