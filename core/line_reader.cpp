#include "core/line_reader.h"

#include <cstring>

#include "core/text_codec.h"

namespace core {

LineReader::LineReader(std::span<const std::uint8_t> bytes) : text_(bytes) {
    static constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
    if (text_.size() >= 3 && std::memcmp(text_.data(), kByteOrderMark, 3) == 0) {
        isUtf8_ = true;
        text_ = text_.subspan(3);
    }
}

bool LineReader::readLine(std::wstring& line, std::size_t limit) {
    line.clear();
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
    if (isUtf8_) {
        decodeUtf8(bytes, maxUnits, line);
    } else {
        decodeOem(bytes, maxUnits, line);
    }
    position_ = next;
    return true;
}

}  // namespace core
