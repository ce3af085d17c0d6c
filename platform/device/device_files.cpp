// File operations on device paths. Every write goes through writeFileAtomic: the new content
// is written and flushed beside the target, then renamed over it, so a crash mid-save leaves
// either the old or the new file.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/api/device.h"
#include "platform/api/host_file.h"
#include "platform/device/file_time.h"

namespace platform {
namespace {

struct FileDescriptor {
    int fd = -1;
    explicit FileDescriptor(int f) : fd(f) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd >= 0)
            close(fd);
    }
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool syncFolder(const std::filesystem::path& folder) {
    FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.fd >= 0 && fsync(dir.fd) == 0;
}

// A name beside the target that no other writer (thread or process) picks at the same time.
// It begins with a dot, so folder listings never show it.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name(1, '.');
    name += target.filename().string();
    name += ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1));
    return target.parent_path() / name;
}

bool isRegularFile(const std::filesystem::path& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFolder(const std::filesystem::path& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

FileTime fileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
    constexpr std::int64_t kSecondsBefore1970 = 11644473600;
    if (seconds < -kSecondsBefore1970)
        return 0;
    return static_cast<FileTime>(seconds + kSecondsBefore1970) * 10000000ULL + nanoseconds / 100;
}

bool fileExists(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    return host && isRegularFile(*host);
}

bool folderExists(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    return host && isFolder(*host);
}

bool createFolder(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    if (!host)
        return false;
    std::error_code ec;
    std::filesystem::create_directories(*host, ec);
    return !ec && isFolder(*host);
}

bool deleteFile(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    if (!host)
        return false;
    struct stat st;
    // A link to a file is removed itself; folders are not files.
    if (lstat(host->c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return unlink(host->c_str()) == 0;
}

bool moveFile(std::wstring_view from, std::wstring_view to) {
    auto source = hostPath(from);
    auto target = hostPath(to);
    if (!source || !target || !isRegularFile(*source))
        return false;
    if (rename(source->c_str(), target->c_str()) == 0)
        return syncFolder(target->parent_path());
    if (errno != EXDEV)
        return false;
    // The device tree may span file systems through its links; copy safely, then remove.
    auto bytes = readFile(from);
    if (!bytes || !writeFileAtomic(to, *bytes))
        return false;
    return unlink(source->c_str()) == 0;
}

std::optional<std::vector<std::uint8_t>> readFile(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    if (!host)
        return std::nullopt;
    // Opening a named pipe for reading would wait for a writer: only regular files are read.
    FileDescriptor file(open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st;
    if (file.fd < 0 || fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buffer[65536];
    for (;;) {
        ssize_t n = read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

bool writeHostFileAtomic(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    if (!target.has_filename())
        return false;
    std::filesystem::path temporary = temporaryNameFor(target);
    FileDescriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (file.fd < 0)
        return false;
    // A replaced file keeps its permissions.
    struct stat old;
    if (stat(target.c_str(), &old) == 0)
        fchmod(file.fd, old.st_mode & 07777);
    bool written = writeAll(file.fd, bytes) && fsync(file.fd) == 0;
    written = close(file.fd) == 0 && written;
    file.fd = -1;
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return syncFolder(target.has_parent_path() ? target.parent_path() : std::filesystem::path("."));
}

bool writeFileAtomic(std::wstring_view devicePath, std::span<const std::uint8_t> bytes) {
    auto target = hostPath(devicePath);
    if (!target || !target->has_filename() || *target == deviceRoot())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(target->parent_path(), ec);
    return writeHostFileAtomic(*target, bytes);
}

std::optional<FileTime> hostFileCreationTime(const std::filesystem::path& host) {
    struct statx st;
    if (statx(AT_FDCWD, host.c_str(), 0, STATX_BTIME | STATX_MTIME, &st) != 0) {
        return std::nullopt;
    }
    if (st.stx_mask & STATX_BTIME) {
        return fileTimeFromUnix(st.stx_btime.tv_sec, st.stx_btime.tv_nsec);
    }
    return fileTimeFromUnix(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
}

std::optional<FileStamp> fileStamp(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    struct statx st;
    if (!host ||
        statx(AT_FDCWD, host->c_str(), 0, STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_INO, &st) !=
            0 ||
        !S_ISREG(st.stx_mode)) {
        return std::nullopt;
    }
    return FileStamp{st.stx_size, fileTimeFromUnix(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec),
                     st.stx_ino};
}

std::optional<FileTime> fileCreationTime(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    if (!host)
        return std::nullopt;
    return hostFileCreationTime(*host);
}

}  // namespace platform
