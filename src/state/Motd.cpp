#include "state/Motd.h"

#include "state/FileUtils.h"

namespace tolvane {

void ReadMOTD(const Context& ctx, form::TextBox& motdText, const std::string& name) {
    ctx.state.bMOTDChanged = false;
    motdText.setText("");
    std::string modDir = ctx.state.strModDir;
    if (!DirExists(ctx.fs, modDir)) return;
    const std::string path = modDir + "\\" + name;
    if (!FileExists(ctx.fs, path)) return;
    std::string content;
    std::string error;
    // A file that cannot be read leaves the box empty; start-up reports nothing.
    if (!ctx.fs.readFile(path, content, error)) return;
    motdText.setText(content);
}

bool WriteMOTD(const Context& ctx, const form::TextBox& motdText) {
    if (!ctx.state.bMOTDChanged) return true;
    std::string modDir = ctx.state.strModDir;
    if (!DirExists(ctx.fs, modDir)) return true;
    const std::string path = modDir + "\\" + ctx.state.strMOTDFileName;
    std::string content = motdText.text();
    // One line end after the text, unless it already ends with one: loading and saving again
    // must not grow the file by an empty line each time.
    if (content.empty() || (content.back() != '\n' && content.back() != '\r')) content += "\r\n";
    return WriteFileWithBackup(ctx, path, content);
}

}  // namespace tolvane
