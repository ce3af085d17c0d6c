// Read-only memory mappings of device files, for the large data files that are read at
// random (record tables, images).

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/api/device.h"

namespace platform {

std::optional<MappedFile> MappedFile::open(std::wstring_view devicePath) {
    auto host = hostPath(devicePath);
    if (!host)
        return std::nullopt;
    // Without O_NONBLOCK, opening a named pipe waits for a writer; only regular files are
    // mapped, and the check needs the descriptor.
    int fd = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    auto size = static_cast<std::size_t>(st.st_size);
    if (size == 0) {
        close(fd);
        return MappedFile(nullptr, 0);
    }
    // Every reader goes through the whole file, so its pages are mapped in one go: a fault per
    // 64 KB read costs more than the mapping itself on a virtual machine.
    void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    // The mapping stays valid after the descriptor is closed.
    close(fd);
    if (data == MAP_FAILED)
        return std::nullopt;
    return MappedFile(static_cast<const std::uint8_t*>(data), size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        if (data_)
            munmap(const_cast<std::uint8_t*>(data_), size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    if (data_)
        munmap(const_cast<std::uint8_t*>(data_), size_);
}

}  // namespace platform
