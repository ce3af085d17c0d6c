#include "ui/text_button.h"

#include "core/language.h"
#include "ui/control_paint.h"

namespace ui {

TextButton::TextButton(int stringNumber) {
    if (stringNumber > 0)
        text_ = core::languageString(stringNumber);
}

void TextButton::setText(std::wstring_view text) {
    if (text == text_)
        return;
    text_.assign(text);
    invalidate();
}

void TextButton::paint(platform::DeviceContext& dc, const platform::Rect&) {
    const gfx::Theme& t = theme();
    drawButtonFace(dc, rect, t, isPressed());
    if (hasFocus())
        drawFocusFrame(dc, rect, t);
    platform::Colour colour = isEnabled ? kPanelTextColour : kDisabledTextColour;
    int shift = isPressed() ? layoutUnit() : 0;
    drawClippedText(dc, text_, rect.offset(shift, shift),
                    platform::dt::Center | platform::dt::VCenter | platform::dt::SingleLine |
                        platform::dt::NoPrefix | platform::dt::EndEllipsis,
                    colour, smallFont(true));
}

}  // namespace ui
