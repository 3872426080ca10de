#pragma once
// Asks the system to back a large block of memory with large pages where it can: a list of
// megabytes then costs a few page faults rather than a thousand, and jumping about it misses
// the address cache less. Only a hint: where the system has no such pages, or they are
// switched off, nothing changes.
#include <cstddef>
#include <memory>
#include <type_traits>

namespace tolvane::platform {

// For memory not written yet (pages already in use keep their size). The block is any
// allocation; only whole pages inside it are named to the system.
void PreferLargePages(const void* data, std::size_t bytes);

// Room for `bytes` bytes; a block of a megabyte or more starts on a large-page boundary and is
// offered large pages (PreferLargePages) before anything is written to it. Freed with
// FreeLargeBlock.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block) noexcept;

// A fixed number of plain values (no constructors or destructors to run) in such a block.
// Their contents are whatever the memory held until written: filling a block of megabytes
// the caller fills anyway would touch every page twice.
template <typename T>
class LargeArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    explicit LargeArray(std::size_t count)
        : data_(static_cast<T*>(AllocateLargeBlock(count * sizeof(T)))), size_(count) {}
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) { return data_.get()[i]; }
    const T& operator[](std::size_t i) const { return data_.get()[i]; }
    T* begin() { return data(); }
    T* end() { return data() + size_; }

private:
    struct Free {
        void operator()(T* p) const noexcept { FreeLargeBlock(p); }
    };
    std::unique_ptr<T, Free> data_;
    std::size_t size_;
};

}  // namespace tolvane::platform
