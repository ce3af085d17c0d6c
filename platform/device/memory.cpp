#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

#include "platform/api/memory.h"

namespace platform {

void* allocateBlock(std::size_t size) {
    if (size == 0)
        size = 1;
    if (size < kMappedBlockBytes) {
        if (void* block = std::malloc(size))
            return block;
        throw std::bad_alloc();
    }
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    return block;
}

void freeBlock(void* block, std::size_t size) noexcept {
    if (!block)
        return;
    if (size == 0)
        size = 1;
    if (size < kMappedBlockBytes)
        std::free(block);
    else
        ::munmap(block, size);
}

ZeroedBlock::ZeroedBlock(std::size_t size)
    : data_(static_cast<std::byte*>(allocateBlock(size))), size_(size) {
    if (size_ < kMappedBlockBytes)
        std::memset(data_, 0, size_);
}

}  // namespace platform
