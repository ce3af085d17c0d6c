#pragma once
// The key-pad letter jump: each digit key stands for a group of characters ("abc2" for 2);
// pressing the same digit again steps through its group, wrapping after the last. The last
// digit pressed is remembered for the whole process, so every letter list shares it.

#include <string_view>

namespace ui {

// The characters of a digit's group; empty for anything but 0 to 9.
std::wstring_view keypadGroup(int digit);

// The character a press of the digit stands for now, and remembers the press.
wchar_t keypadCharacter(int digit);

// The same for lists that jump to letters only: the digit itself is left out of the cycle,
// so "7" gives p, q, r, s and then p again. Nothing (0) for 0, 1 and anything but a digit.
wchar_t keypadLetter(int digit);

// Any key that is not a digit starts the next digit afresh.
void resetKeypadDigit();

}  // namespace ui
