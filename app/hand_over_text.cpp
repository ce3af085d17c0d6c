// Reading the hand-over file's text, apart from the application so that it can be tested and
// fuzzed on its own.

#include <string>

#include "app/hand_over.h"
#include "platform/api/device.h"

namespace app {

std::optional<std::wstring> parseHandOver(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kHandOverBytesRead)
        bytes = bytes.first(kHandOverBytesRead);
    std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto end = text.find_first_of("\r\n");
    if (end != std::string::npos)
        text.resize(end);
    std::wstring wide = platform::fromUtf8(text);
    // A line holding NUL characters is not text and is ignored.
    if (wide.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    if (wide.size() > kHandOverLineLimit)
        wide.resize(kHandOverLineLimit);
    return wide;
}

}  // namespace app
