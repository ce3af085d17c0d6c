#pragma once
// A speech bubble: the figure "vorn" with a bubble ("bubble1", tail to the left) holding a
// text, clipped to the rectangle. Once placed, the figure waves a few times (its two frames
// alternate on a timer of the main window).

#include <string>

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

class SpeechBubble : public Control {
  public:
    static constexpr std::uintptr_t kAnimationTimer = 4012;
    static constexpr std::uint32_t kAnimationIntervalMs = 400;
    static constexpr int kAnimationSteps = 6;

    SpeechBubble(ModuleHost& host, int stringNumber);
    ~SpeechBubble() override;

    const std::wstring& text() const { return text_; }
    void setText(std::wstring_view text);
    int figureFrame() const { return step_ % 2; }
    bool isAnimating() const { return step_ > 0; }

    void placed() override;
    bool timer(std::uintptr_t id) override;
    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    ModuleHost& host_;
    Picture figure_;
    Picture bubble_;
    std::wstring text_;
    int step_ = 0;  // counts down while the figure waves
};

}  // namespace ui
