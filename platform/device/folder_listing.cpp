// Listing the files of a device folder by a "*.tga"-style pattern.

#include <sys/stat.h>

#include <algorithm>

#include "platform/api/device.h"
#include "platform/device/file_time.h"
#include "platform/device/text_case.h"

namespace platform {
namespace {

// Iterative wildcard match with one back-tracking point, linear in practice and never
// recursive, so hostile patterns cannot exhaust the stack.
bool wildcardMatch(std::wstring_view name, std::wstring_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == L'?' || text::foldCase(pattern[p]) == text::foldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool matchesPattern(std::wstring_view name, std::wstring_view pattern) {
    // On the handheld "*.*" means every file, with or without an extension.
    if (pattern == L"*.*")
        pattern = L"*";
    return wildcardMatch(name, pattern);
}

std::vector<DirectoryEntry> listFolder(std::wstring_view folderDevicePath,
                                       std::wstring_view pattern) {
    std::vector<DirectoryEntry> entries;
    auto folder = hostPath(folderDevicePath);
    if (!folder)
        return entries;
    std::error_code ec;
    std::filesystem::directory_iterator it(*folder, ec);
    if (ec)
        return entries;
    for (const auto& entry : it) {
        std::string hostName = entry.path().filename().string();
        if (hostName.empty() || hostName[0] == '.')
            continue;
        struct stat st;
        // Links are followed: the device's installed programs are links to host files.
        if (stat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        std::wstring name = fromUtf8(hostName);
        if (!matchesPattern(name, pattern))
            continue;
        DirectoryEntry e;
        e.name = std::move(name);
        e.size = static_cast<std::uint64_t>(st.st_size);
        e.creationTime = hostFileCreationTime(entry.path()).value_or(0);
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        int c = text::compareIgnoringCase(a.name, b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
}

}  // namespace platform
