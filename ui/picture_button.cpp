#include "ui/picture_button.h"

#include "ui/control_paint.h"

namespace ui {

void PictureButton::setPicture(std::wstring_view mainPath, std::wstring_view path) {
    picture_ = path.empty() ? Picture() : Picture(mainPath, path, true);
    invalidate();
}

void PictureButton::setCaption(std::wstring_view caption) {
    if (caption == caption_)
        return;
    caption_.assign(caption);
    invalidate();
}

void PictureButton::paint(platform::DeviceContext& dc, const platform::Rect&) {
    const gfx::Theme& t = theme();
    if (picture_.loaded()) {
        picture_.draw(dc, rect, isPressed() ? 1 : 0);
        dc.frameRect(rect, kFrameColour);
    } else {
        // A missing picture leaves a plain face, so the button still shows and works.
        drawButtonFace(dc, rect, t, isPressed());
    }
    if (hasFocus())
        drawFocusFrame(dc, rect, t);
    if (!caption_.empty()) {
        platform::Rect band{rect.left, rect.top + rect.height() * 2 / 3, rect.right, rect.bottom};
        drawClippedText(dc, caption_, band,
                        platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine |
                            platform::dt::NoPrefix,
                        isEnabled ? kPanelTextColour : kDisabledTextColour, smallFont(true));
    }
}

}  // namespace ui
