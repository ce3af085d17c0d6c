#pragma once
// Comparisons of text without regard to case, by Unicode's simple lower-case mapping, and the
// code-unit order of the handheld's UTF-16 strings.

#include <cstdint>
#include <string_view>

namespace core {

wchar_t foldCase(wchar_t c);
bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b);

// Negative, zero or positive as a sorts before, with or after b when both are compared as
// UTF-16 code units (so characters beyond U+FFFF, stored as surrogates, come before
// U+E000..U+FFFF).
int compareCodeUnits(std::wstring_view a, std::wstring_view b);

// A character's place in that order, as a number below 2^21 for every Unicode character
// (larger only for values beyond U+10FFFF).
std::uint32_t codeUnitRank(wchar_t c);

}  // namespace core
