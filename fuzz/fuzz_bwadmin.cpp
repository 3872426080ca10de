// Reads any bytes as the plug-in settings bw-admin.cfg, saves, reads the saved text into fresh
// settings and saves again: nothing may crash and the second save must equal the first.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "plugin/BWAdminFormat.h"

namespace {

std::string LoadAndSave(const tolvane::Context& ctx, const std::string& text) {
    using namespace tolvane::plugin;
    PluginFields fields;
    FillPluginChoiceLists(fields);
    ConnectPluginFields(ctx, fields);
    ParseBWAdmin(text, fields);
    return BuildBWAdmin(fields, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tolvane::fuzz::SilentContext silent;
    tolvane::fuzz::RequireStableSave(data, size, [](const std::string& text) { return LoadAndSave(silent.ctx, text); });
    return 0;
}
