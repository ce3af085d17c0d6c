// Splits arbitrary bytes into lines as the text-file reader does, with and without the UTF-8
// byte-order mark and with limits from 0 up: every line respects its limit, holds only valid
// characters, and the UTF-8 decoding agrees with the platform's.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/line_reader.h"
#include "core/text_codec.h"
#include "platform/api/device.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool validCharacter(wchar_t c) {
    auto v = static_cast<std::uint32_t>(c);
    return v != 0 && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF);
}

void readAll(std::span<const std::uint8_t> bytes, std::size_t limit) {
    core::LineReader reader(bytes);
    std::wstring line;
    std::size_t lines = 0;
    while (reader.readLine(line, limit)) {
        ++lines;
        check(lines <= bytes.size());
        check(core::utf16Length(line) + 1 <= std::max<std::size_t>(limit, 1));
        for (wchar_t c : line) check(validCharacter(c));
    }
    check(!reader.readLine(line, limit));
    check(line.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the limit: small ones exercise cutting, the top ones the table
    // reader's 20480.
    std::size_t limit = data[0] >= 0xF0 ? 20480 : data[0] % 64;
    std::span<const std::uint8_t> text(data + 1, size - 1);
    readAll(text, limit);

    std::vector<std::uint8_t> marked = {0xEF, 0xBB, 0xBF};
    marked.insert(marked.end(), text.begin(), text.end());
    readAll(marked, limit);

    // Whole-text UTF-8 decoding matches the platform's up to the first NUL.
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(text.data(), 0, text.size()));
    std::size_t end = nul ? static_cast<std::size_t>(nul - text.data()) : text.size();
    std::wstring decoded;
    core::decodeUtf8(text, SIZE_MAX, decoded);
    check(decoded ==
          platform::fromUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), end)));
    return 0;
}
