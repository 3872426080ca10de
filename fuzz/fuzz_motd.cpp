// Reads any bytes as the message of the day, saves, reads the saved text and saves again:
// nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "state/MotdFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::RequireStableSave(data, size,
                                     [](const std::string& text) { return tolvane::BuildMotd(tolvane::ParseMotd(text)); });
    return 0;
}
