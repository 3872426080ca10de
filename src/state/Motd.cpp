#include "state/Motd.h"

#include "state/FileUtils.h"

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
    motdText.setText(content);
}

bool WriteMOTD(const Context& ctx, const form::TextBox& motdText) {
    if (!ctx.state.bMOTDChanged) return true;
    if (!DirExistsConst(ctx.fs, ctx.state.strModDir)) return true;
    const std::string path = ctx.state.strModDir + "\\" + ctx.state.strMOTDFileName;
    std::string content = motdText.text();
    // One line end after the text, unless it already ends with one: loading and saving again
    // must not grow the file by an empty line each time.
    if (content.empty() || (content.back() != '\n' && content.back() != '\r')) content += "\r\n";
    return WriteFileWithBackup(ctx, path, content);
}

}  // namespace tolvane
