#pragma once
// Hands out the lines of a text held in memory, with the byte-level rules of the system's
// text files: a text that begins with the UTF-8 byte-order mark (EF BB BF) is UTF-8, any other
// is in the device's OEM code page (437). Lines end at LF or CR LF; a lone CR stays in the
// text; the last byte always belongs to the last line, so a final lone LF is returned as that
// line's last character.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace core {

class LineReader {
  public:
    LineReader() = default;
    // The bytes must outlive the reader.
    explicit LineReader(std::span<const std::uint8_t> bytes);

    bool isUtf8() const { return isUtf8_; }
    // Bytes of text after the byte-order mark.
    std::size_t textSize() const { return text_.size(); }

    // The next line, cut to limit - 1 UTF-16 code units (the limit counts the terminator of
    // the handheld's buffers) and at an embedded NUL. False at the end of the text.
    bool readLine(std::wstring& line, std::size_t limit);

  private:
    std::span<const std::uint8_t> text_;
    std::size_t position_ = 0;
    bool isUtf8_ = false;
};

}  // namespace core
