#include "tools/vorndev/device_cleanup.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace vorndev {
namespace {

namespace fs = std::filesystem;

// A device holds a few thousand files; a tree far larger than that is not walked to its end.
constexpr int kMaxEntries = 200000;

// The process id at the start of text, which must be followed by `then` or end there.
std::optional<int> processIdAt(std::string_view text, std::string_view then) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data() || value <= 0)
        return std::nullopt;
    std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (rest.empty() || (!then.empty() && rest.starts_with(then)))
        return value;
    return std::nullopt;
}

std::optional<int> afterMarker(std::string_view name, std::string_view marker,
                               std::string_view then) {
    auto at = name.rfind(marker);
    if (at == std::string_view::npos || at == 0)
        return std::nullopt;
    return processIdAt(name.substr(at + marker.size()), then);
}

bool processIsGone(int pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool removeOne(const fs::path& path, LeftoverKind kind) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    switch (kind) {
        case LeftoverKind::TemporaryFile:
            return S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0;
        case LeftoverKind::Socket:
            return S_ISSOCK(st.st_mode) && ::unlink(path.c_str()) == 0;
        case LeftoverKind::ScratchFolder: {
            if (!S_ISDIR(st.st_mode))
                return false;
            std::error_code ec;
            return fs::remove_all(path, ec) > 0 && !ec;  // remove_all never follows links
        }
    }
    return false;
}

}  // namespace

std::optional<Leftover> leftoverOf(std::string_view name, bool inRunFolder) {
    if (inRunFolder) {
        if (name.starts_with("ctl-") && name.ends_with(".sock")) {
            if (auto pid = processIdAt(name.substr(4), "-"))
                return Leftover{LeftoverKind::Socket, *pid};
        } else if (name.ends_with(".sock")) {
            if (auto pid = processIdAt(name.substr(0, name.size() - 5), ""))
                return Leftover{LeftoverKind::Socket, *pid};
        } else if (name.starts_with("shot-")) {
            if (auto pid = processIdAt(name.substr(5), "-"))
                return Leftover{LeftoverKind::ScratchFolder, *pid};
        }
    }
    // Hidden names carry a counter after the id; others end with the id.
    auto temporary =
        name.starts_with(".") ? afterMarker(name, ".tmp-", "-") : afterMarker(name, ".tmp-", "");
    if (temporary)
        return Leftover{LeftoverKind::TemporaryFile, *temporary};
    if (auto pid = afterMarker(name, ".vorndev-", ""))
        return Leftover{LeftoverKind::TemporaryFile, *pid};
    return std::nullopt;
}

CleanupCount removeLeftovers(const fs::path& root) {
    CleanupCount count;
    fs::path run = root / ".device" / "run";
    std::error_code ec;
    int seen = 0;
    for (auto it = fs::recursive_directory_iterator(
             root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator() && seen < kMaxEntries;
         it.increment(ec), ++seen) {
        auto leftover = leftoverOf(it->path().filename().string(), it->path().parent_path() == run);
        if (!leftover || leftover->processId == ::getpid() || !processIsGone(leftover->processId))
            continue;
        if (leftover->kind == LeftoverKind::ScratchFolder)
            it.disable_recursion_pending();
        if (removeOne(it->path(), leftover->kind))
            ++(leftover->kind == LeftoverKind::Socket ? count.sockets : count.files);
    }
    return count;
}

}  // namespace vorndev
