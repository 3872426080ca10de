#pragma once
// Asks the system to back a large block of memory with large pages where it can: a list of
// megabytes then costs a few page faults rather than a thousand, and jumping about it misses
// the address cache less. Only a hint: where the system has no such pages, or they are
// switched off, nothing changes.
#include <cstddef>

namespace tolvane::platform {

// For memory not written yet (pages already in use keep their size). The block is any
// allocation; only whole pages inside it are named to the system.
void PreferLargePages(const void* data, std::size_t bytes);

}  // namespace tolvane::platform
