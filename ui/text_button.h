#pragma once
// A text button: a framed face with its text centred; the focus shows a highlighted frame.

#include <string>

#include "ui/pressable.h"

namespace ui {

class TextButton : public Pressable {
  public:
    explicit TextButton(int stringNumber);

    const std::wstring& text() const { return text_; }
    void setText(std::wstring_view text);

    void paint(platform::DeviceContext& dc, const platform::Rect& invalid) override;

  private:
    std::wstring text_;
};

}  // namespace ui
