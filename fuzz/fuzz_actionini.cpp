// Reads any bytes as the mod's settings file, saves what was read, reads the saved text and
// saves again: nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "modini/ActionIniFormat.h"

namespace {

std::string LoadAndSave(const std::string& text) {
    using namespace tolvane::modini;
    const ActionIni ini = ParseActionIni(text);
    std::array<TeamValues, 3> teams;
    for (std::size_t i = 0; i < 3; ++i) {
        teams[i].name = ini.teams[i].name;
        SplitModelSkin(ini.teams[i].modelSkin, teams[i].model, teams[i].skin);
    }
    return BuildActionIni(teams, ini.maps, &text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvane::fuzz::RequireStableSave(data, size, LoadAndSave);
    return 0;
}
