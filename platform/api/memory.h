#pragma once
// Memory for pictures and other large buffers. The pages of a large block are mapped in one
// request when it is allocated: touching fresh pages one at a time costs a fault each, and
// on a virtual machine those faults were a third of a program's start. Blocks come from the
// C library's heap, so memory given back is used again without new pages.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace platform {

// Blocks of at least this many bytes have their pages mapped at once.
inline constexpr std::size_t kPopulatedBlockBytes = 64 * 1024;

// size bytes, not cleared. Throws std::bad_alloc.
void* allocateBlock(std::size_t size);
// Gives back a block from allocateBlock; size must be the size it was allocated with.
void freeBlock(void* block, std::size_t size) noexcept;

// Zero-filled memory of a fixed size (a picture's bits).
class ZeroedBlock {
  public:
    ZeroedBlock() = default;
    explicit ZeroedBlock(std::size_t size);
    ZeroedBlock(ZeroedBlock&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ZeroedBlock& operator=(ZeroedBlock&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }
    ZeroedBlock(const ZeroedBlock&) = delete;
    ZeroedBlock& operator=(const ZeroedBlock&) = delete;
    ~ZeroedBlock() { freeBlock(data_, size_); }

    std::byte* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    std::byte* data_ = nullptr;
    std::size_t size_ = 0;
};

// A container allocator over allocateBlock whose elements are left as they come (a vector of
// bytes resized with it is not cleared): for buffers that their writer fills in full.
template <class T>
struct BlockAllocator {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = BlockAllocator<U>;
    };
    BlockAllocator() = default;
    template <class U>
    BlockAllocator(const BlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(allocateBlock(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { freeBlock(p, n * sizeof(T)); }

    template <class U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const BlockAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace platform
