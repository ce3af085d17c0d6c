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

namespace {

// Steps the remembered press through the group: the next character for the same digit
// again, the first for another digit.
wchar_t stepThrough(int digit, std::wstring_view group) {
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

}  // namespace

wchar_t keypadCharacter(int digit) {
    return stepThrough(digit, keypadGroup(digit));
}

wchar_t keypadLetter(int digit) {
    if (digit < 2 || digit > 9) {
        resetKeypadDigit();
        return 0;
    }
    std::wstring_view group = keypadGroup(digit);
    return stepThrough(digit, group.substr(0, group.size() - 1));
}

void resetKeypadDigit() {
    state() = KeypadState{};
}

}  // namespace ui
