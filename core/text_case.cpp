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

}  // namespace

wchar_t foldCase(wchar_t c) {
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    locale_t loc = unicodeLocale();
    return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

std::uint32_t codeUnitRank(wchar_t c) {
    auto v = static_cast<std::uint32_t>(c);
    // Supplementary characters begin with a surrogate (0xD800..0xDBFF) on the handheld, so
    // they come after U+D7FF and before U+E000..U+FFFF.
    if (v < 0xE000)
        return v;
    if (v <= 0xFFFF)
        return v - 0xE000 + 0x10E000;
    if (v <= 0x10FFFF)
        return v - 0x10000 + 0xE000;
    return v;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

int compareCodeUnits(std::wstring_view a, std::wstring_view b) {
    std::size_t n = std::min(a.size(), b.size());
    auto [ia, ib] = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
    if (ia != a.begin() + static_cast<std::ptrdiff_t>(n)) {
        return codeUnitRank(*ia) < codeUnitRank(*ib) ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace core
