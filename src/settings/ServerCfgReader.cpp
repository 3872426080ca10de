#include "settings/ServerCfgReader.h"

#include "state/FileUtils.h"

namespace tolvane::settings {

void ReadServerCfg(const Context& ctx, ServerFields& fields, form::Grid& scriptList, const std::string& fileName) {
    const std::string path = ctx.state.strModDir + "\\" + fileName;
    ctx.progress.show("Processing " + path + "...");
    // The grid's column width and alignment are the window's business; the model only empties it.
    scriptList.clear();

    std::string content;
    std::string error;
    if (DirExistsConst(ctx.fs, ctx.state.strModDir) && FileExists(ctx.fs, path) && ctx.fs.readFile(path, content, error))
        ParseServerCfg(content, fields, scriptList);
    ctx.progress.hide();
}

}  // namespace tolvane::settings
