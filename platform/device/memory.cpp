#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/api/memory.h"

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace platform {
namespace {

// Maps the whole pages inside a block in one request; pages already mapped cost a look at
// their table entry. A kernel without the request (before Linux 5.14) leaves them to be
// mapped as they are touched, as before.
void populate(void* block, std::size_t size) {
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t end = (start + size) & ~(pageSize - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
}

}  // namespace

void* allocateBlock(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    if (size >= kPopulatedBlockBytes)
        populate(block, size);
    return block;
}

void freeBlock(void* block, std::size_t) noexcept {
    std::free(block);
}

ZeroedBlock::ZeroedBlock(std::size_t size)
    : data_(static_cast<std::byte*>(allocateBlock(size))), size_(size) {
    std::memset(data_, 0, size_);
}

}  // namespace platform
