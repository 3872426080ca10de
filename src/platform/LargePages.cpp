#include "platform/LargePages.h"

#include <cstdint>

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
    const std::uintptr_t first = (start + size - 1) / size * size;
    const std::uintptr_t end = (start + bytes) / size * size;
    // A failure (an old system, large pages switched off) leaves the memory as it was.
    if (end > first) (void)::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace tolvane::platform
