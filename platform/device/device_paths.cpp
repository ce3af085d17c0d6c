// Mapping device paths ("\windows\vornalarms.dat") to host paths under the device root.
//
// The device tree deliberately holds symbolic links (to the built programs and to the data
// folder), so the mapping never resolves links: it refuses every path that could leave the
// root by its spelling alone (".." parts, drives, UNC names, NULs) and builds the host path
// only from plain names below the root.

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/api/device.h"
#include "platform/device/text_case.h"

namespace platform {
namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Splits a device path into its names; nothing when the path is not a plain path below the
// device root.
std::optional<std::vector<std::wstring_view>> splitDevicePath(std::wstring_view path) {
    if (path.find(L'\0') != std::wstring_view::npos)
        return std::nullopt;
    // "\\host\share" and "//host/share" name another machine.
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))
        return std::nullopt;
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        std::wstring_view part = path.substr(start, end - start);
        // A colon is a drive ("C:") or a stream name, neither of which the device has.
        if (part.find(L':') != std::wstring_view::npos)
            return std::nullopt;
        if (part == L"..")
            return std::nullopt;
        if (!part.empty() && part != L".")
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

bool entryExists(const std::filesystem::path& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

// The on-disk spelling of name inside folder, matched without regard to case; nothing when
// the folder holds no such entry. An exact match wins over other spellings.
std::optional<std::string> findEntry(const std::filesystem::path& folder, const std::string& name,
                                     std::wstring_view wideName) {
    if (entryExists(folder / name))
        return name;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir.get())) {
        std::string_view candidate = entry->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        if (!text::equalsIgnoringCase(fromUtf8(candidate), wideName))
            continue;
        // Several host spellings may fold alike; pick one deterministically.
        if (!best || candidate < *best)
            best = std::string(candidate);
    }
    return best;
}

}  // namespace

std::optional<std::filesystem::path> hostPath(std::wstring_view devicePath) {
    auto parts = splitDevicePath(devicePath);
    if (!parts)
        return std::nullopt;
    std::filesystem::path root = deviceRoot();
    std::filesystem::path result = root;
    bool searching = true;
    for (std::wstring_view part : *parts) {
        std::string name = toUtf8(part);
        if (searching) {
            auto found = findEntry(result, name, part);
            if (found) {
                name = std::move(*found);
            } else {
                searching = false;
            }
        }
        result /= name;
    }
    // The parts are plain names, so this holds by construction; it guards the invariant
    // against future changes to the splitting rules.
    auto relative = result.lexically_relative(root);
    for (const auto& part : relative) {
        if (part == "..")
            return std::nullopt;
    }
    return result;
}

bool resolvesInside(const std::filesystem::path& host, const std::filesystem::path& folder) {
    std::filesystem::path name = host.filename();
    if (name.empty() || name == "." || name == "..")
        return false;
    std::error_code ec;
    std::filesystem::path realFolder = std::filesystem::canonical(folder, ec);
    if (ec)
        return false;
    std::filesystem::path realParent = std::filesystem::canonical(host.parent_path(), ec);
    if (ec)
        return false;
    auto relative = realParent.lexically_relative(realFolder);
    if (relative.empty())
        return false;
    for (const auto& part : relative) {
        if (part == "..")
            return false;
    }
    return true;
}

std::optional<std::wstring> devicePathOf(const std::filesystem::path& host) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(host, ec);
    if (ec)
        return std::nullopt;
    absolute = absolute.lexically_normal();
    std::filesystem::path root = deviceRoot();
    auto relative = absolute.lexically_relative(root);
    if (relative.empty())
        return std::nullopt;
    std::wstring result;
    for (const auto& part : relative) {
        if (part == "..")
            return std::nullopt;
        if (part.empty() || part == ".")
            continue;
        result += L'\\';
        result += fromUtf8(part.native());
    }
    return result.empty() ? L"\\" : result;
}

std::wstring folderOf(std::wstring_view devicePath) {
    std::size_t last = devicePath.find_last_of(L"\\/");
    if (last == std::wstring_view::npos)
        return {};
    return std::wstring(devicePath.substr(0, last + 1));
}

}  // namespace platform
