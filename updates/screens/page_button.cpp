#include "updates/screens/page_button.h"

#include "gfx/blend.h"
#include "ui/control_paint.h"

namespace updates {

std::unique_ptr<gfx::TargaPixels> loadPicture(std::wstring_view mainPath, std::wstring_view path) {
    std::unique_ptr<gfx::TargaPixels> pixels;
    if (gfx::loadTarga(std::wstring(mainPath) + std::wstring(path), pixels) !=
            gfx::TargaStatus::Loaded ||
        !pixels || pixels->width <= 0) {
        return nullptr;
    }
    return pixels;
}

PageButton::PageButton(std::wstring_view mainPath, std::wstring_view picture)
    : picture_(loadPicture(mainPath, picture)) {}

void PageButton::paint(platform::DeviceContext& dc, const platform::Rect&) {
    const gfx::Theme& t = theme();
    if (picture_) {
        gfx::drawTargaScaled(dc, *picture_, rect.left, rect.top, rect.width(), rect.height());
        if (isPressed())
            dc.frameRect(rect, t.textColour);
    } else {
        // A missing picture leaves a plain face, so the button still shows and works.
        ui::drawButtonFace(dc, rect, t, isPressed());
    }
    if (hasFocus())
        ui::drawFocusFrame(dc, rect, t);
}

}  // namespace updates
