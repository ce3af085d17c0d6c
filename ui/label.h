#pragma once
// A label: a text drawn transparently inside its rectangle with its DrawText format. It never
// takes the focus.

#include <optional>
#include <string>

#include "ui/control.h"

namespace ui {

class Label : public Control {
  public:
    // The text is a copy of the language string (none for 0).
    Label(int stringNumber, std::uint32_t format);
    ~Label() override;

    const std::wstring& text() const { return text_; }
    // A text equal to the current one changes nothing (no repaint).
    void setText(std::wstring_view text);
    void setStringNumber(int stringNumber);
    std::uint32_t format() const { return format_; }
    void setFormat(std::uint32_t format);
    // Its own colour instead of the theme's text colour.
    void setColour(std::optional<platform::Colour> colour);
    // The small bold standard font instead of the small one.
    void setBold(bool bold);
    // A Tahoma font of its own at the size in points, which the label keeps until it goes.
    void setOwnFont(int points, bool bold);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring text_;
    std::uint32_t format_;
    std::optional<platform::Colour> colour_;
    bool bold_ = false;
    platform::FontRef ownFont_;
};

}  // namespace ui
