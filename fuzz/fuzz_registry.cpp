// Reads any bytes as tolvane.ini, records the current configuration as a save does, reads the
// saved text again and saves again: nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "registry/ConfigRegistryFormat.h"

namespace {

std::string LoadAndSave(const std::string& text) {
    using namespace tolvane::registry;
    const ConfigRegistryText parsed = ParseConfigRegistry(text);
    ConfigRecord current{"default", "server.cfg", "action.ini", ""};
    if (parsed.hasCurrent) {
        current.name = parsed.current;
        const ConfigRecord* r = FindConfigRecord(parsed, current.name);
        if (r && r->fieldCount == 4) current = *r;
    }
    return BuildConfigRegistry(&text, current);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::RequireStableSave(data, size, LoadAndSave);
    return 0;
}
