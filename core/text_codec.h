#pragma once
// Decoding of the system's text files: UTF-8 for files that begin with the byte-order mark,
// the device's OEM code page (437) for the others.

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
void decodeUtf8(std::span<const std::uint8_t> bytes, std::size_t maxUnits, std::wstring& out);
void decodeOem(std::span<const std::uint8_t> bytes, std::size_t maxUnits, std::wstring& out);

// UTF-16 code units a text occupies.
std::size_t utf16Length(std::wstring_view text);

}  // namespace core
