// Reads any bytes as the plug-in ban list server_bans.txt, saves, reads the saved text and saves
// again: nothing may crash, the saved file must give back the same four lists, and the second
// save must equal the first.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "plugin/BanListFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane::plugin;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const BanLists lists = ParseBanList(input);
    const std::string first = BuildBanList(lists, input);
    const BanLists reread = ParseBanList(first);
    if (!(reread == lists)) {
        std::fprintf(stderr, "the saved ban list does not give back its entries\n");
        std::abort();
    }
    tolvane::fuzz::RequireSameSave(first, BuildBanList(reread, first));
    return 0;
}
