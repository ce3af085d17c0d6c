#pragma once
// A picture a control holds from the image cache: a JPEG from the install folder, optionally
// with two frames side by side (normal and pressed, off and on). The reference goes back to
// the cache with the control.

#include <string_view>

#include "gfx/image.h"
#include "platform/api/draw.h"

namespace ui {

class Picture {
  public:
    Picture() = default;
    // mainPath + path through the cache's picture loader.
    Picture(std::wstring_view mainPath, std::wstring_view path, bool twoFrames);
    ~Picture();
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // False when the file is missing or did not load; drawing then does nothing.
    bool loaded() const { return image_ && image_->bitmap; }
    int frameWidth() const { return loaded() ? image_->width : 0; }
    int height() const { return loaded() ? image_->height : 0; }

    // Draws one frame into the rectangle, stretched when the sizes differ.
    void draw(platform::DeviceContext& dc, const platform::Rect& target, int frame) const;
    // As draw, leaving the destination where the picture's white background is (the white
    // that reaches the picture's edges), so that it sits on any colour.
    void drawOver(platform::DeviceContext& dc, const platform::Rect& target, int frame) const;

  private:
    void release();
    gfx::Image* image_ = nullptr;
};

}  // namespace ui
