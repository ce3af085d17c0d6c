#pragma once
// A picture panel: a picture stretched over its rectangle, or a fill in its colour when it has
// no picture (or the picture did not load).

#include <string_view>

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

class PicturePanel : public Control {
  public:
    explicit PicturePanel(platform::Colour colour);

    platform::Colour colour() const { return colour_; }
    void setColour(platform::Colour colour);
    // mainPath + path, one frame; an empty path drops the picture.
    void setPicture(std::wstring_view mainPath, std::wstring_view path);
    bool hasPicture() const { return picture_.loaded(); }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    platform::Colour colour_;
    Picture picture_;
};

}  // namespace ui
