#pragma once
// Case-insensitive comparison of names as the handheld's file system and registry do it:
// every code point is lower-cased by Unicode's simple case mapping before comparing.
// Internal to the platform.

#include <string>
#include <string_view>

namespace platform::text {

wchar_t foldCase(wchar_t c);
std::wstring foldCase(std::wstring_view text);
bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b);
// Negative, zero or positive as a sorts before, with or after b, ignoring case.
int compareIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace platform::text
