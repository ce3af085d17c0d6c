// Accent- and case-blind comparison letters. The table covers the alphabetic blocks below
// U+3000 and is built once from the locale library's canonical decompositions: a character
// whose decomposition starts with a letter followed only by combining marks compares as that
// letter. Characters beyond the table only lose their case.

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <array>

#include "platform/api/locale.h"

namespace platform {
namespace {

constexpr char32_t kTableSize = 0x3000;

std::array<wchar_t, kTableSize> buildTable() {
    std::array<wchar_t, kTableSize> table{};
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    for (char32_t c = 0; c < kTableSize; ++c) {
        UChar32 letter = u_tolower(static_cast<UChar32>(c));
        icu::UnicodeString parts;
        if (U_SUCCESS(status) && nfd && nfd->getDecomposition(static_cast<UChar32>(c), parts) &&
            parts.length() > 0) {
            UChar32 base = parts.char32At(0);
            bool onlyMarks = true;
            for (int32_t i = U16_LENGTH(base); i < parts.length();) {
                UChar32 mark = parts.char32At(i);
                if (u_charType(mark) != U_NON_SPACING_MARK)
                    onlyMarks = false;
                i += U16_LENGTH(mark);
            }
            if (onlyMarks && u_isalpha(base))
                letter = u_tolower(base);
        }
        table[c] = static_cast<wchar_t>(letter);
    }
    return table;
}

}  // namespace

wchar_t searchLetter(wchar_t c) {
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 32);
    if (c < 0x80)
        return c;
    auto code = static_cast<char32_t>(c);
    if (code < kTableSize) {
        static const std::array<wchar_t, kTableSize> table = buildTable();
        return table[code];
    }
    return static_cast<wchar_t>(u_tolower(static_cast<UChar32>(code)));
}

}  // namespace platform
