#pragma once
// Buttons: pressed by a tap that starts and ends on them, or by the Enter key when focused.
// The press goes to the owner's control-pressed operation.

#include "ui/control.h"

namespace ui {

class Pressable : public Control {
  public:
    bool isPressed() const { return pressed_; }

    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  protected:
    // Tells the owner; a control may also act itself.
    virtual void press();

  private:
    void setPressed(bool pressed);
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace ui
