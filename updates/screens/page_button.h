#pragma once
// A main-page button of the options screen: its Targa picture (blended onto the background)
// stretched into the button's square, darkened while pressed, with the focus frame.

#include <memory>
#include <string_view>

#include "gfx/targa.h"
#include "ui/pressable.h"

namespace updates {

// The picture of a file under the install folder; nothing when it is missing or damaged.
std::unique_ptr<gfx::TargaPixels> loadPicture(std::wstring_view mainPath, std::wstring_view path);

class PageButton : public ui::Pressable {
  public:
    PageButton(std::wstring_view mainPath, std::wstring_view picture);
    bool hasPicture() const { return picture_ != nullptr; }
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::unique_ptr<gfx::TargaPixels> picture_;
};

}  // namespace updates
