#pragma once
// Numbers as the system stores them in text: settings values, table fields and settings-file
// entries all hold decimal text, and every reader stops at the first character that is not a
// digit, so "12abc" reads as 12 and "" as 0.

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Skips leading blanks, takes an optional sign, then digits up to the first other character.
// Values beyond the 64-bit range saturate instead of wrapping.
std::int64_t parseDecimal64(std::wstring_view text);

// The same reading, clamped to the range of int.
int parseDecimal(std::wstring_view text);

std::wstring decimalText(std::int64_t value);

}  // namespace core
