// UTF-8 <-> wide text, and the case folding that device paths and registry names share.
// wchar_t holds one code point on Linux (UTF-32).

#include <locale.h>
#include <wctype.h>

#include "platform/api/device.h"
#include "platform/device/text_case.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// The range the second byte of a sequence must fall in, which rules out overlong forms,
// surrogates and code points above U+10FFFF (Unicode table 3-7).
struct LeadInfo {
    int length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

LeadInfo leadInfo(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF};
    if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xED)
        return {3, 0x80, 0x9F};
    if (b == 0xF0)
        return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

locale_t utf8Locale() {
    static locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || isSurrogate(c))
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<char32_t>(text[i]);
        // A UTF-16 surrogate pair that slipped into wide text still names one character.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            auto low = static_cast<char32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

wchar_t decodeUtf8Sequence(std::string_view text, std::size_t& i) {
    LeadInfo lead = leadInfo(static_cast<unsigned char>(text[i]));
    if (lead.length == 0) {
        ++i;
        return static_cast<wchar_t>(kReplacement);
    }
    char32_t c = static_cast<unsigned char>(text[i]) & (0xFF >> (lead.length + 1));
    std::size_t j = i + 1;
    for (int k = 1; k < lead.length; ++k, ++j) {
        if (j >= text.size()) {
            i = j;
            return static_cast<wchar_t>(kReplacement);
        }
        auto cb = static_cast<unsigned char>(text[j]);
        unsigned char low = k == 1 ? lead.secondLow : 0x80;
        unsigned char high = k == 1 ? lead.secondHigh : 0xBF;
        if (cb < low || cb > high) {
            i = j;
            return static_cast<wchar_t>(kReplacement);
        }
        c = (c << 6) | (cb & 0x3F);
    }
    i = j;
    return static_cast<wchar_t>(c);
}

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        out += decodeUtf8Sequence(text, i);
    }
    return out;
}

namespace text {

wchar_t foldCase(wchar_t c) {
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    locale_t loc = utf8Locale();
    return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

std::wstring foldCase(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) c = foldCase(c);
    return out;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return compareIgnoringCase(a, b) == 0;
}

int compareIgnoringCase(std::wstring_view a, std::wstring_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        wchar_t x = foldCase(a[i]);
        wchar_t y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace text
}  // namespace platform
