#pragma once
// The scroll bar of an editor taller than its screen: it shows which part of the controls is
// in view, and its arrows and track scroll the screen by a step or a page.

#include <functional>

#include "ui/control.h"
#include "ui/scroll_bar.h"

namespace alarms {

class EditorScrollBar final : public ui::Control {
  public:
    EditorScrollBar();

    // The controls' height, the height in view and how far the screen is scrolled (pixels).
    void setRange(int content, int view, int offset);
    int offset() const { return offset_; }
    ui::ScrollBarGeometry geometry() const;

    // Asked to scroll by this many pixels (negative: up).
    std::function<void(int dy)> onScroll;

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;
    bool pointer(std::uint32_t message, platform::WParam keys, platform::Point point) override;

  private:
    int step() const;

    int content_ = 0;
    int view_ = 0;
    int offset_ = 0;
};

}  // namespace alarms
