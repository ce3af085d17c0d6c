#pragma once
// A letter list: a list whose rows the key pad jumps to. A digit picks a character of its
// group (keypad_letters.h) and the first row whose shown field starts with it becomes current.

#include "ui/list_control.h"

namespace ui {

class LetterList : public ListControl {
  public:
    using ListControl::ListControl;

    // Jumps to the first row starting with the character; true when another row became
    // current.
    bool jumpTo(wchar_t character);

    bool key(std::uint32_t message, std::uint32_t keyCode, platform::LParam flags) override;
};

}  // namespace ui
