#include "ui/label.h"

#include "core/language.h"
#include "gfx/fonts.h"
#include "ui/control_paint.h"

namespace ui {

Label::Label(int stringNumber, std::uint32_t format) : format_(format) {
    isFocusable = false;
    if (stringNumber > 0)
        text_ = core::languageString(stringNumber);
}

Label::~Label() {
    if (ownFont_)
        gfx::deleteFont(ownFont_);
}

void Label::setText(std::wstring_view text) {
    if (text == text_)
        return;
    text_.assign(text);
    invalidate();
}

void Label::setStringNumber(int stringNumber) {
    setText(core::languageString(stringNumber));
}

void Label::setFormat(std::uint32_t format) {
    if (format == format_)
        return;
    format_ = format;
    invalidate();
}

void Label::setColour(std::optional<platform::Colour> colour) {
    colour_ = colour;
    invalidate();
}

void Label::setBold(bool bold) {
    bold_ = bold;
    invalidate();
}

void Label::setOwnFont(int points, bool bold) {
    if (ownFont_)
        gfx::deleteFont(ownFont_);
    ownFont_ = gfx::createFont(points, bold ? gfx::FontWeightBold : gfx::FontWeightNormal);
    invalidate();
}

void Label::paint(platform::DeviceContext& dc, const platform::Rect&) {
    if (text_.empty())
        return;
    const platform::FontRef& font = ownFont_ ? ownFont_ : smallFont(bold_);
    drawClippedText(dc, text_, rect, format_ | platform::dt::NoPrefix,
                    colour_.value_or(theme().textColour), font);
}

}  // namespace ui
