#pragma once
// The moon picture of the moon screen: "graphics2\moon.tga" scaled to the largest square of
// the control and darkened row by row where the phase puts it in shadow.

#include <string_view>

#include "gfx/targa.h"
#include "ui/control.h"

namespace worldtime {

class MoonView final : public ui::Control {
  public:
    MoonView();

    // Loads and scales the picture to the control's square; without it the view draws a
    // plain disc of its own.
    void load(std::wstring_view mainPath);
    void setPhase(double phase);
    double phase() const { return phase_; }
    // Where the picture stands: the centred square of the control.
    platform::Rect discRect() const;
    const gfx::TargaPixels& shaded() const { return shaded_; }

    std::function<void()> onTap;

    void placed() override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    void rescale();
    void reshade();

    gfx::TargaPixels source_;
    gfx::TargaPixels scaled_;
    gfx::TargaPixels shaded_;
    double phase_ = 0.5;
};

}  // namespace worldtime
