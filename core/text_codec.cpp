#include "core/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "platform/api/device.h"

namespace core {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The code page's 128 upper characters, asked once from the C library's converter so that the
// table is the standard one rather than a hand-typed copy.
const std::array<wchar_t, 256>& oemTable() {
    static const std::array<wchar_t, 256> table = [] {
        std::array<wchar_t, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = i < 0x80 ? static_cast<wchar_t>(i) : kReplacement;
        iconv_t cd = iconv_open("WCHAR_T", "CP437");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return t;
        for (int i = 0x80; i < 0x100; ++i) {
            char in = static_cast<char>(i);
            wchar_t out = 0;
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(&out);
            std::size_t inLeft = 1;
            std::size_t outLeft = sizeof out;
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                outLeft == 0) {
                t[i] = out;
            }
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        iconv_close(cd);
        return t;
    }();
    return table;
}

// Decodes one non-ASCII sequence at bytes[i]; sets i past it. valid tells a replacement
// character that was written out in the text from one that stands for broken bytes.
wchar_t decodeSequence(std::span<const std::uint8_t> bytes, std::size_t& i, bool& valid) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t start = i;
    wchar_t c = platform::decodeUtf8Sequence(text, i);
    valid = c != kReplacement || (i - start == 3 && bytes[start] == 0xEF &&
                                  bytes[start + 1] == 0xBF && bytes[start + 2] == 0xBD);
    return c;
}

std::size_t unitsOf(wchar_t c) {
    return static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
}

// True when none of the eight bytes is NUL or above 0x7F, so they are plain ASCII text.
bool plainAscii(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    bool hasZero = ((word - kOnes) & ~word & kHighs) != 0;
    return !hasZero && (word & kHighs) == 0;
}

}  // namespace

DecodeOutcome decodeUtf8(std::span<const std::uint8_t> bytes, std::size_t maxUnits,
                         std::wstring& out) {
    DecodeOutcome outcome;
    // Every character takes at least one byte, so the text fits in as many characters.
    out.resize(std::min(bytes.size(), maxUnits));
    wchar_t* dest = out.data();
    std::size_t written = 0;  // characters
    std::size_t units = 0;    // UTF-16 code units
    std::size_t i = 0;
    while (i < bytes.size() && units < maxUnits) {
        // Runs of plain ASCII, eight bytes at a time.
        while (i + 8 <= bytes.size() && units + 8 <= maxUnits) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if (!plainAscii(word))
                break;
            for (int k = 0; k < 8; ++k) dest[written + k] = static_cast<wchar_t>(bytes[i + k]);
            written += 8;
            units += 8;
            i += 8;
        }
        if (i >= bytes.size() || units >= maxUnits)
            break;
        std::uint8_t b = bytes[i];
        if (b == 0)
            break;
        if (b < 0x80) {
            dest[written++] = static_cast<wchar_t>(b);
            ++units;
            ++i;
            continue;
        }
        std::size_t next = i;
        bool valid = true;
        wchar_t c = decodeSequence(bytes, next, valid);
        if (units + unitsOf(c) > maxUnits)
            break;
        dest[written++] = c;
        units += unitsOf(c);
        outcome.invalid += valid ? 0 : 1;
        i = next;
    }
    out.resize(written);
    outcome.consumed = i;
    return outcome;
}

DecodeOutcome decodeOem(std::span<const std::uint8_t> bytes, std::size_t maxUnits,
                        std::wstring& out) {
    const auto& table = oemTable();
    std::size_t n = std::min(bytes.size(), maxUnits);
    const void* nul = n > 0 ? std::memchr(bytes.data(), 0, n) : nullptr;
    if (nul) {
        n = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - bytes.data());
    }
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = table[bytes[i]];
    return {n, 0};
}

bool isValidUtf8(std::span<const std::uint8_t> bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        bool valid = true;
        decodeSequence(bytes, i, valid);
        if (!valid)
            return false;
    }
    return true;
}

std::string utf16ToUtf8(std::span<const std::uint8_t> bytes, bool bigEndian) {
    constexpr char kBroken = static_cast<char>(0xFF);
    std::string out;
    out.reserve(bytes.size());
    auto unitAt = [&](std::size_t i) -> char32_t {
        return bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                platform::appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += kBroken;
        } else {
            platform::appendUtf8(out, unit);
        }
    }
    if (i < bytes.size())
        out += kBroken;
    return out;
}

std::size_t utf16Length(std::wstring_view text) {
    std::size_t units = 0;
    for (wchar_t c : text) units += unitsOf(c);
    return units;
}

}  // namespace core
