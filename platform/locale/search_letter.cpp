// Accent- and case-blind comparison letters. The table covers the alphabetic blocks below
// U+3000 and is made at build time from the locale library's canonical decompositions
// (platform/locale/generate/search_letters.cpp); characters beyond it only lose their case.

#include <unicode/uchar.h>

#include <iterator>

#include "platform/api/locale.h"

namespace platform {
namespace {

#include "search_letters.inc"

}  // namespace

wchar_t searchLetter(wchar_t c) {
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 32);
    if (c < 0x80)
        return c;
    auto code = static_cast<char32_t>(c);
    if (code < std::size(kSearchLetters))
        return static_cast<wchar_t>(kSearchLetters[code]);
    return static_cast<wchar_t>(u_tolower(static_cast<UChar32>(code)));
}

}  // namespace platform
