// Reads any bytes as a server configuration script, saves, reads the saved text into fresh
// fields and saves again: nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "settings/ServerCfgFormat.h"

namespace {

std::string LoadAndSave(const tolvane::Context& ctx, const std::string& text) {
    using namespace tolvane;
    settings::ServerFields fields;
    settings::ConnectServerFields(ctx, fields);
    form::Grid scripts{"ScriptList"};
    form::Grid maps{"MapIni"};
    maps.append("q2dm1*");
    settings::ParseServerCfg(text, fields, scripts);
    return settings::BuildServerCfg(fields, scripts, maps, "server.cfg", "action.ini", &text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tolvane::fuzz::SilentContext silent;
    tolvane::fuzz::RequireStableSave(data, size, [](const std::string& text) { return LoadAndSave(silent.ctx, text); });
    return 0;
}
