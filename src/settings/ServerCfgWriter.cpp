#include "settings/ServerCfgWriter.h"

#include "state/ShownPath.h"
#include "state/FileUtils.h"

namespace tolvane::settings {

bool WriteServerCfg(const Context& ctx, const ServerFields& fields, const form::Grid& scriptList,
                    const form::Grid& mapIni) {
    const AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) {
        ctx.message("ERROR: action directory not found!\rCannot save " + st.strServerCfgFileName);
        return false;
    }
    const std::string target = st.strModDir + "\\" + st.strServerCfgFileName;

    std::string old;
    bool hasOld = false;
    if (FileExists(ctx.fs, target)) {
        // An old file that exists but cannot be read is not replaced: its lines would be lost.
        std::string error;
        if (!ctx.fs.readFile(target, old, error)) {
            ctx.message("Could not save " + ShownPath(target) + ": cannot read the old file (" + error + ")\r" +
                        "The file was left as it was.");
            return false;
        }
        hasOld = true;
    }

    const std::string content =
        BuildServerCfg(fields, scriptList, mapIni, st.strServerCfgFileName, st.strActionIniFileName, hasOld ? &old : nullptr);
    // Failures to write the temporary file, keep the backup or rename are reported by the
    // replace itself, which leaves the old file in place.
    return ReplaceFileViaTemp(ctx, target, content);
}

}  // namespace tolvane::settings
