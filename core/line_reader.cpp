#include "core/line_reader.h"

#include <algorithm>
#include <cstring>

#include "core/text_codec.h"

namespace core {
namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// Text never holds NUL bytes, while UTF-16 of Latin letters is every other byte NUL; one
// NUL in four bytes is far from both.
bool mostlyNul(std::span<const std::uint8_t> bytes) {
    auto nuls = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), 0));
    return nuls > 0 && nuls * 4 >= bytes.size();
}

}  // namespace

LineReader::LineReader(std::span<const std::uint8_t> bytes) : text_(bytes) {
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        encoding_ = TextEncoding::Utf8Marked;
        text_ = bytes.subspan(3);
    } else if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})) {
        encoding_ = TextEncoding::Utf16;
        std::string text = utf16ToUtf8(bytes.subspan(2), bytes[0] == 0xFE);
        converted_.assign(text.begin(), text.end());
        text_ = converted_;
    } else if (mostlyNul(bytes)) {
        encoding_ = TextEncoding::Undecodable;
        text_ = {};
    } else {
        encoding_ = isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Oem;
    }
}

bool LineReader::readLine(std::wstring& line, std::size_t limit) {
    line.clear();
    lastFaults_ = 0;
    const std::size_t size = text_.size();
    if (position_ >= size)
        return false;
    const std::uint8_t* base = text_.data();
    const std::size_t start = position_;
    std::size_t end = size;
    std::size_t next = size;
    const void* found = std::memchr(base + start, '\n', size - start);
    if (found) {
        std::size_t lf = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - base);
        if (lf > start && base[lf - 1] == '\r') {
            end = lf - 1;
            next = lf + 1;
        } else if (lf + 1 < size) {
            end = lf;
            next = lf + 1;
        }
        // Otherwise the LF is the text's last byte, which always stays on the last line.
    }
    std::size_t maxUnits = limit > 0 ? limit - 1 : 0;
    auto bytes = text_.subspan(start, end - start);
    DecodeOutcome outcome = encoding_ == TextEncoding::Oem ? decodeOem(bytes, maxUnits, line)
                                                           : decodeUtf8(bytes, maxUnits, line);
    if (outcome.invalid > 0)
        lastFaults_ |= lineFault::BadEncoding;
    if (outcome.consumed < bytes.size()) {
        lastFaults_ |= bytes[outcome.consumed] == 0 ? lineFault::Nul : lineFault::Cut;
        // The final LF that stays on the last line is no part of a cut.
        if (outcome.consumed + 1 == bytes.size() && bytes[outcome.consumed] == '\n' &&
            line.size() == maxUnits)
            lastFaults_ &= ~lineFault::Cut;
    }
    position_ = next;
    return true;
}

}  // namespace core
