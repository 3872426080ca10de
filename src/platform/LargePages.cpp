#include "platform/LargePages.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

void PreferLargePages(const void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const long page = ::sysconf(_SC_PAGESIZE);
    if (page <= 0 || bytes == 0) return;
    const auto size = static_cast<std::uintptr_t>(page);
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    // From the page the block starts in: the hint covers a whole large page only when its
    // range does, and a block from the system starts a few bytes into its first page. That
    // page's other bytes belong to the same allocator, and a hint changes no content.
    const std::uintptr_t first = start / size * size;
    const std::uintptr_t end = (start + bytes) / size * size;
    // A failure (an old system, large pages switched off) leaves the memory as it was.
    if (end > first) (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

namespace {

// Large pages are 2 MB on the systems that offer them to programs; smaller blocks gain
// nothing and are allocated as usual.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = std::size_t{1} << 20;

// Each block remembers how it was allocated, in a header before the bytes handed out.
struct BlockHeader {
    void* allocation;
    std::size_t pad[1];  // keeps the bytes handed out 16-byte aligned
};

}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
    const std::size_t header = sizeof(BlockHeader);
#ifdef __linux__
    if (bytes >= kLargeBlock) {
        // The header takes the first bytes of the aligned block; the bytes handed out follow.
        const std::size_t total = (header + bytes + kLargePage - 1) / kLargePage * kLargePage;
        void* aligned = std::aligned_alloc(kLargePage, total);
        if (!aligned) throw std::bad_alloc();
        PreferLargePages(aligned, total);
        auto* h = static_cast<BlockHeader*>(aligned);
        h->allocation = aligned;
        return h + 1;
    }
#endif
    void* plain = std::malloc(header + bytes);
    if (!plain) throw std::bad_alloc();
    auto* h = static_cast<BlockHeader*>(plain);
    h->allocation = plain;
    return h + 1;
}

void FreeLargeBlock(void* block) noexcept {
    if (!block) return;
    std::free((static_cast<BlockHeader*>(block) - 1)->allocation);
}

}  // namespace tolvane::platform
