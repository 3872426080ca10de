#include "state/Motd.h"

#include "state/FileUtils.h"
#include "state/MotdFormat.h"

namespace tolvane {

void ReadMOTD(const Context& ctx, form::TextBox& motdText, const std::string& name) {
    ctx.state.bMOTDChanged = false;
    motdText.setText("");
    if (!DirExistsConst(ctx.fs, ctx.state.strModDir)) return;
    const std::string path = ctx.state.strModDir + "\\" + name;
    if (!FileExists(ctx.fs, path)) return;
    std::string content;
    std::string error;
    // A file that cannot be read leaves the box empty; start-up reports nothing.
    if (!ctx.fs.readFile(path, content, error)) return;
    motdText.setText(ParseMotd(content));
}

bool WriteMOTD(const Context& ctx, const form::TextBox& motdText) {
    if (!ctx.state.bMOTDChanged) return true;
    if (!DirExistsConst(ctx.fs, ctx.state.strModDir)) return true;
    const std::string path = ctx.state.strModDir + "\\" + ctx.state.strMOTDFileName;
    return WriteFileWithBackup(ctx, path, BuildMotd(motdText.text()));
}

}  // namespace tolvane
