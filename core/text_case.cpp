#include "core/text_case.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdint>

namespace core {
namespace {

locale_t unicodeLocale() {
    static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

// The position of a character in UTF-16 code-unit order: supplementary characters begin with
// a surrogate (0xD800..0xDBFF), so the private-use and other characters from U+E000 up sort
// after them.
std::uint32_t utf16Rank(wchar_t c) {
    auto v = static_cast<std::uint32_t>(c);
    return (v >= 0xE000 && v <= 0xFFFF) ? v + 0x200000 : v;
}

}  // namespace

wchar_t foldCase(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    locale_t loc = unicodeLocale();
    return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && foldCase(a[i]) != foldCase(b[i])) return false;
    }
    return true;
}

int compareCodeUnits(std::wstring_view a, std::wstring_view b) {
    std::size_t n = std::min(a.size(), b.size());
    auto [ia, ib] = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
    if (ia != a.begin() + static_cast<std::ptrdiff_t>(n)) {
        return utf16Rank(*ia) < utf16Rank(*ib) ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace core
