#include "ui/letter_list.h"

#include "core/record_table.h"
#include "ui/keypad_letters.h"

namespace ui {

using namespace platform;

bool LetterList::jumpTo(wchar_t character) {
    if (!table() || character == 0)
        return false;
    wchar_t text[2] = {character, 0};
    int row = table()->findInitial(displayField(), text);
    if (row == 0 || row == currentRow())
        return false;
    // Put the row at the top of the view, where the eye expects a jump to land.
    scrollTo(row);
    selectRow(row, true);
    return true;
}

bool LetterList::key(std::uint32_t message, std::uint32_t keyCode, LParam flags) {
    bool digit = keyCode >= vk::Digit0 && keyCode <= vk::Digit0 + 9;
    if (message == wm::KeyDown) {
        if (digit) {
            jumpTo(keypadCharacter(static_cast<int>(keyCode - vk::Digit0)));
            return true;
        }
        resetKeypadDigit();
        // A keyboard's letters jump straight to their rows.
        if (keyCode >= vk::LetterA && keyCode <= vk::LetterA + 25) {
            jumpTo(static_cast<wchar_t>(L'a' + (keyCode - vk::LetterA)));
            return true;
        }
    } else if (digit) {
        return true;
    }
    return ListControl::key(message, keyCode, flags);
}

}  // namespace ui
