// Reads any bytes as a zip archive's listing: nothing may crash, and every name listed goes
// through the map name rule.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "maps/PakFormat.h"
#include "maps/ZipListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane::maps;
    const std::string_view archive(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> names;
    if (ListZipEntriesOfBytes(archive, names))
        for (const auto& name : names) (void)MapNameViewOfArchiveEntry(name);
    return 0;
}
