#pragma once
// The set-up wizard's pictures: its own animated picture ("graphics2\wizard.tga") and the
// preview of the chosen clock face on the look page.

#include <string>
#include <string_view>

#include "gfx/targa.h"
#include "ui/control.h"

namespace setup {

// The wizard's picture, square, small (70 points) or large (131 points on portrait screens,
// 100 in landscape or on square ones, 90 with the display-mode flag). It bobs gently: each
// step moves it to the next of kFrames positions, then the movement starts again.
class WizardPicture : public ui::Control {
  public:
    static constexpr int kFrames = 11;

    WizardPicture(std::wstring_view mainPath, bool large);

    // The size in pixels for the display.
    int pictureSize() const;
    bool isLarge() const { return large_; }
    void step();
    int frame() const { return frame_; }

    void place(const platform::Rect& rect, platform::DeviceContext* dc) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring path_;
    bool large_;
    gfx::TargaPixels pixels_;
    int wantedSize_ = 0;  // for the place it was given
    int readSize_ = 0;    // the size last read, whether the file read or not
    int frame_ = 0;
};

// The theme's clock face at the look page's preview size, centred in the control; it follows
// the clock-face setting when the look changes.
class ClockPreview : public ui::Control {
  public:
    ClockPreview() { isFocusable = false; }

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    gfx::TargaPixels face_;
    std::wstring faceName_;
    int faceSize_ = 0;
};

}  // namespace setup
