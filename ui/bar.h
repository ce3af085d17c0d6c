#pragma once
// A bar: a framed rectangle filled from the left in proportion to its value.

#include "ui/control.h"

namespace ui {

class Bar : public Control {
  public:
    explicit Bar(int value = 50, int maximum = 100);

    int value() const { return value_; }
    int maximum() const { return maximum_; }
    // Kept within 0 ... maximum.
    void setValue(int value);
    void setMaximum(int maximum);
    // The width of the filled part inside the frame.
    int filledWidth() const;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    int value_;
    int maximum_;
};

}  // namespace ui
