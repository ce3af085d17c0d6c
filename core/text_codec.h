#pragma once
// Decoding of the system's text files: UTF-8 (with or without the byte-order mark), UTF-16
// with its mark, and the device's OEM code page (437) for old files that are not UTF-8.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace core {

// Lengths are counted in UTF-16 code units, as the handheld's buffers count them: a character
// beyond U+FFFF takes two. Decoding stops before the character that would pass maxUnits, and
// at a NUL byte, because the handheld hands lines on as zero-terminated text.
//
// Invalid UTF-8 becomes U+FFFD: one for each maximal invalid sequence, resuming at the byte
// that broke it.
//
// Both answer how far they got, so that a reader can tell a line cut short or broken from a
// whole one.
struct DecodeOutcome {
    std::size_t consumed = 0;  // bytes decoded; fewer than given when cut or stopped at a NUL
    std::size_t invalid = 0;   // invalid sequences replaced by U+FFFD
};
DecodeOutcome decodeUtf8(std::span<const std::uint8_t> bytes, std::size_t maxUnits,
                         std::wstring& out);
DecodeOutcome decodeOem(std::span<const std::uint8_t> bytes, std::size_t maxUnits,
                        std::wstring& out);

// True when the bytes are well-formed UTF-8 throughout.
bool isValidUtf8(std::span<const std::uint8_t> bytes);

// UTF-16 text (little- or big-endian, without its mark) as UTF-8. An unpaired surrogate or a
// dangling last byte becomes the byte 0xFF, which no UTF-8 text holds, so that decoding the
// result finds and replaces it like any other broken sequence.
std::string utf16ToUtf8(std::span<const std::uint8_t> bytes, bool bigEndian);

// UTF-16 code units a text occupies.
std::size_t utf16Length(std::wstring_view text);

}  // namespace core
