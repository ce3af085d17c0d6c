#include "ui/keypad_letters.h"

namespace ui {
namespace {

constexpr std::wstring_view kGroups[] = {L"0",    L"1",    L"abc2",  L"def3", L"ghi4",
                                         L"jkl5", L"mno6", L"pqrs7", L"tuv8", L"wxyz9"};

struct KeypadState {
    int lastDigit = -1;
    std::size_t index = 0;
};

KeypadState& state() {
    static KeypadState s;
    return s;
}

}  // namespace

std::wstring_view keypadGroup(int digit) {
    if (digit < 0 || digit > 9)
        return {};
    return kGroups[digit];
}

wchar_t keypadCharacter(int digit) {
    std::wstring_view group = keypadGroup(digit);
    if (group.empty())
        return 0;
    KeypadState& s = state();
    if (digit == s.lastDigit) {
        s.index = (s.index + 1) % group.size();
    } else {
        s.lastDigit = digit;
        s.index = 0;
    }
    return group[s.index];
}

void resetKeypadDigit() {
    state() = KeypadState{};
}

}  // namespace ui
