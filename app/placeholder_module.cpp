#include "app/placeholder_module.h"

#include "app/application.h"
#include "app/module_table.h"
#include "core/language.h"
#include "gfx/colours.h"
#include "gfx/display_metrics.h"
#include "gfx/drawing.h"
#include "gfx/graphics_state.h"

namespace app {

using namespace platform;

PlaceholderModule::PlaceholderModule(Application& app, int id, int previousId)
    : ui::Module(app), app_(app), id_(id), previousId_(previousId) {}

void PlaceholderModule::paint(DeviceContext& dc, const Rect& invalid) {
    ui::Module::paint(dc, invalid);
    Rect client = clientRect(app_.mainWindow());
    int unit = static_cast<int>(gfx::displayMetrics().scaleX);
    auto info = moduleInfo(id_);
    std::wstring title = info && info->labelString ? core::languageString(info->labelString)
                                                   : L"Screen " + std::to_wstring(id_);
    auto* gs = gfx::graphicsState();
    auto& theme = app_.theme();
    Rect bar{0, 0, client.right, 22 * unit};
    gfx::gradientBar(dc, bar.left, bar.top, bar.right, bar.bottom, theme.mainColour);
    dc.setTextColour(theme.selectedTextColour);
    gfx::drawTextTransparent(dc, title, bar.offset(6 * unit, 0),
                             dt::Left | dt::VCenter | dt::SingleLine,
                             gs ? gs->mediumBoldFont() : nullptr);
    dc.setTextColour(theme.textColour);
    gfx::drawTextTransparent(
        dc, L"This screen is not part of this build yet.\nUse Menu to choose another screen.",
        Rect{8 * unit, 40 * unit, client.right - 8 * unit, client.bottom},
        dt::Center | dt::WordBreak, gs ? gs->smallFont() : nullptr);
}

bool PlaceholderModule::command(std::uint32_t commandId, std::intptr_t) {
    if (commandId == ui::command::LeftSoftKey) {
        app_.showMainMenu(true);
        return true;
    }
    if (commandId == ui::command::RightSoftKey) {
        return app_.back();
    }
    return false;
}

bool PlaceholderModule::key(std::uint32_t, std::uint32_t, LParam) {
    return false;
}

}  // namespace app
