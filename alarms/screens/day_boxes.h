#pragma once
// The editor's seven day boxes, Monday to Sunday, each with its short day name above it. The
// boxes sit right to left from the control's right edge; a tap on a box or Enter on the
// focused box ticks or unticks it, Left and Right move the focus from box to box (wrapping
// round). As single-choice boxes, ticking one unticks the others.

#include <functional>

#include "ui/control.h"

namespace alarms {

class DayBoxes final : public ui::Control {
  public:
    DayBoxes();

    // Day-mask bits: 1 Monday ... 64 Sunday.
    int mask() const { return mask_; }
    void setMask(int mask);
    bool singleChoice() const { return singleChoice_; }
    // As single-choice boxes a tick replaces whatever was ticked. Turning it on keeps the
    // ticked days, so an alarm stored with several days (another program may write one)
    // loses none of them by being opened.
    void setSingleChoice(bool single);
    // The box with the focus frame, 1 (Monday) to 7 (Sunday).
    int focusedBox() const { return focusedBox_; }
    // Ticks or unticks a box (1..7) as a tap would, and tells the owner.
    void toggle(int box);
    // Where a box (1..7) is on the screen.
    platform::Rect boxRect(int box) const;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    int mask_ = 0;
    bool singleChoice_ = false;
    int focusedBox_ = 1;
};

}  // namespace alarms
