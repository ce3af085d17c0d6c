#pragma once
// A picture button: a picture with two frames (normal and pressed) stretched into its
// rectangle, framed, with an optional caption below the picture's middle.

#include <string>

#include "ui/picture.h"
#include "ui/pressable.h"

namespace ui {

class PictureButton : public Pressable {
  public:
    PictureButton() = default;

    // mainPath + path, a picture with two frames; an empty path drops it.
    void setPicture(std::wstring_view mainPath, std::wstring_view path);
    bool hasPicture() const { return picture_.loaded(); }
    void setCaption(std::wstring_view caption);
    const std::wstring& caption() const { return caption_; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    Picture picture_;
    std::wstring caption_;
};

}  // namespace ui
