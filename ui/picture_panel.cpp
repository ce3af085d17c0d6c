#include "ui/picture_panel.h"

namespace ui {

PicturePanel::PicturePanel(platform::Colour colour) : colour_(colour) {
    isFocusable = false;
}

void PicturePanel::setColour(platform::Colour colour) {
    colour_ = colour;
    invalidate();
}

void PicturePanel::setPicture(std::wstring_view mainPath, std::wstring_view path) {
    picture_ = path.empty() ? Picture() : Picture(mainPath, path, false);
    invalidate();
}

void PicturePanel::paint(platform::DeviceContext& dc, const platform::Rect&) {
    if (picture_.loaded()) {
        picture_.draw(dc, rect, 0);
    } else {
        dc.fillRect(rect, colour_);
    }
}

}  // namespace ui
