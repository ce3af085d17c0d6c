#pragma once
// A toggle: the picture "toggle" (off and on side by side) showing its state. A tap or the
// Enter key flips it and tells the owner that the control changed.

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

class Toggle : public Control {
  public:
    Toggle(ModuleHost& host, bool on);

    bool isOn() const { return on_; }
    // Changes the state without telling the owner.
    void setOn(bool on);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    void flip();
    Picture picture_;
    bool on_;
};

}  // namespace ui
