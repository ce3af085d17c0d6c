#pragma once
// The hand-over file "trigger.inf" beside the main program: a second start writes its command
// line there and tells the running instance with message 1225, which reads and deletes it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace app {

// The longest command line the running instance takes from the file, in characters.
constexpr std::size_t kHandOverLineLimit = 254;
// Enough for the longest line taken plus its line end, in the widest UTF-8 encoding.
constexpr std::size_t kHandOverBytesRead = kHandOverLineLimit * 4 + 8;

std::wstring handOverFilePath(std::wstring_view mainPath);
// Writes the command line as UTF-8 (safely: beside, then renamed).
bool writeHandOver(std::wstring_view mainPath, std::wstring_view commandLine);
// Reads the first line (at most kHandOverLineLimit characters) and deletes the file. Only a
// bounded number of bytes is read; a missing or unreadable file gives nothing.
std::optional<std::wstring> takeHandOver(std::wstring_view mainPath);
// The command line in the file's bytes: the first line, cut to kHandOverLineLimit characters
// (only the first kHandOverBytesRead bytes are looked at); nothing when it holds a NUL.
std::optional<std::wstring> parseHandOver(std::span<const std::uint8_t> bytes);

}  // namespace app
