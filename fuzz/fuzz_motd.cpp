// Reads any bytes as the message of the day, saves, reads the saved text and saves again:
// nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "state/MotdFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string first = tolvane::BuildMotd(tolvane::ParseMotd(input));
    tolvane::fuzz::RequireSameSave(first, tolvane::BuildMotd(tolvane::ParseMotd(first)));
    return 0;
}
