#include "conversions/entities.h"

#include <algorithm>
#include <cstdint>

namespace conversions {

namespace {

constexpr wchar_t kEuro = 0x20AC;
// More digits than any character code needs; a longer run is no entity.
constexpr std::size_t kMaxCodeDigits = 7;

bool startsWith(std::wstring_view text, std::size_t at, std::wstring_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

// The character of "&#digits;" at the position and the entity's length; 0 when it is none.
std::size_t numericEntity(std::wstring_view text, std::size_t at, wchar_t& out) {
    std::size_t i = at + 2;
    std::uint32_t code = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        if (++digits > kMaxCodeDigits)
            return 0;
        code = code * 10 + static_cast<std::uint32_t>(text[i] - L'0');
        ++i;
    }
    if (digits == 0 || i >= text.size() || text[i] != L';')
        return 0;
    if (code == 128) {
        out = kEuro;
    } else if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    } else {
        out = static_cast<wchar_t>(code);
    }
    return i + 1 - at;
}

}  // namespace

std::wstring decodeEntities(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'&') {
            out += text[i++];
            continue;
        }
        wchar_t decoded = 0;
        std::size_t length = 0;
        if (startsWith(text, i, L"&lt;")) {
            decoded = L'<', length = 4;
        } else if (startsWith(text, i, L"&gt;")) {
            decoded = L'>', length = 4;
        } else if (startsWith(text, i, L"&amp")) {
            decoded = L'&', length = 5;
        } else if (startsWith(text, i, L"&apos")) {
            decoded = L'\'', length = 6;
        } else if (startsWith(text, i, L"&quot;")) {
            decoded = L'"', length = 6;
        } else if (startsWith(text, i, L"&#")) {
            length = numericEntity(text, i, decoded);
        }
        if (length == 0) {
            out += text[i++];
            continue;
        }
        out += decoded;
        // "&amp" and "&apos" at the very end of the text take what there is.
        i = std::min(text.size(), i + length);
    }
    return out;
}

}  // namespace conversions
