#include "tools/vorndev/install_record.h"

#include <algorithm>

#include "platform/api/device.h"

namespace vorndev {

std::set<std::wstring> parseInstallRecord(std::string_view text) {
    std::set<std::wstring> paths;
    std::size_t start = 0;
    while (start < text.size() && paths.size() < kMaxRecordedPaths) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // Four bytes at most per character, so a longer line is surely too long.
        if (line.empty() || line.size() > 4 * kMaxRecordedPathChars || line.front() != '\\')
            continue;
        std::wstring path = platform::fromUtf8(line);
        bool control = std::any_of(path.begin(), path.end(), [](wchar_t c) { return c < 0x20; });
        if (control || path.size() > kMaxRecordedPathChars)
            continue;
        paths.insert(std::move(path));
    }
    return paths;
}

std::string formatInstallRecord(const std::set<std::wstring>& paths) {
    std::string text;
    for (const auto& p : paths) text += platform::toUtf8(p) + "\n";
    return text;
}

}  // namespace vorndev
