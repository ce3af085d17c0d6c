#pragma once
// Hands out the lines of a text held in memory, with the byte-level rules of the system's
// text files. The encoding is told by the text itself: the UTF-8 byte-order mark (EF BB BF)
// or a UTF-16 mark (FF FE, FE FF) say so; a text without a mark is UTF-8 when it is well
// formed UTF-8, and in the device's OEM code page (437) otherwise. A text without a mark that
// is full of NUL bytes (UTF-16 that lost its mark, or no text at all) cannot be read as
// either and yields no lines. Lines end at LF or CR LF; a lone CR stays in the text; the last
// byte always belongs to the last line, so a final lone LF is returned as that line's last
// character.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace core {

enum class TextEncoding {
    Utf8Marked,   // UTF-8 after its byte-order mark: what the system writes
    Utf8,         // UTF-8 without the mark (plain ASCII included)
    Oem,          // the OEM code page: a file without a mark that is not UTF-8
    Utf16,        // UTF-16 after its mark, either byte order
    Undecodable,  // no mark and mostly NUL bytes
};

// What went wrong in one line, as bits.
namespace lineFault {
constexpr unsigned Cut = 1;          // longer than the caller's limit; the rest was dropped
constexpr unsigned Nul = 2;          // held a NUL byte; the rest was dropped
constexpr unsigned BadEncoding = 4;  // held bytes that are not text in the file's encoding
}  // namespace lineFault

class LineReader {
  public:
    LineReader() = default;
    // The bytes must outlive the reader.
    explicit LineReader(std::span<const std::uint8_t> bytes);
    LineReader(LineReader&&) noexcept = default;
    LineReader& operator=(LineReader&&) noexcept = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when the text began with the UTF-8 byte-order mark.
    bool isUtf8() const { return encoding_ == TextEncoding::Utf8Marked; }
    TextEncoding encoding() const { return encoding_; }
    // Bytes of text after the byte-order mark (of the text as UTF-8, for UTF-16).
    std::size_t textSize() const { return text_.size(); }

    // The next line, cut to limit - 1 UTF-16 code units (the limit counts the terminator of
    // the handheld's buffers) and at an embedded NUL. False at the end of the text.
    bool readLine(std::wstring& line, std::size_t limit);
    // The lineFault bits of the line readLine returned last.
    unsigned lastFaults() const { return lastFaults_; }

  private:
    std::span<const std::uint8_t> text_;
    // UTF-16 text as UTF-8; text_ points into it. A vector, because moving one keeps its
    // buffer where it is (a short string would move its characters).
    std::vector<std::uint8_t> converted_;
    std::size_t position_ = 0;
    TextEncoding encoding_ = TextEncoding::Utf8Marked;
    unsigned lastFaults_ = 0;
};

}  // namespace core
