#include "scripts/Scripts.h"

#include <vector>

#include "form/Lists.h"
#include "state/FileUtils.h"
#include "state/ShownPath.h"
#include "state/TextReaders.h"

namespace tolvane::scripts {

namespace {

constexpr const char* kEditorCommand = "notepad.exe ";

// The row the user last clicked, when there is one.
bool HasCurrentRow(const form::Grid& grid) { return grid.currentRow() >= 0 && grid.currentRow() < grid.rowCount(); }

void SwapRows(form::Grid& grid, int a, int b) {
    std::vector<form::GridRow> rows = grid.rows();
    std::swap(rows[static_cast<std::size_t>(a)].text, rows[static_cast<std::size_t>(b)].text);
    grid.setRows(std::move(rows));
    grid.setCurrentRow(b);
}


// Shared by the MOTD and stuff buttons: the file name in box, or the message when it is empty.
void EditPluginFile(const Context& ctx, platform::ProcessLauncher& launcher, const form::TextBox& box,
                    const char* emptyMessage) {
    const std::string& fileName = box.text();
    if (fileName.empty()) {
        ctx.message(emptyMessage);
        return;
    }
    StartTextEditor(ctx, launcher, PluginFileEditCommand(ctx, fileName));
}

}  // namespace

bool IsScriptListed(const form::Grid& scriptList, const std::string& name) {
    for (const auto& row : scriptList.rows())
        if (row.text == name) return true;
    return false;
}

void FindScripts(const Context& ctx, ScriptFields& fields) {
    ctx.progress.show("Finding scripts...");
    fields.ScriptDir.clear();
    if (DirExistsConst(ctx.fs, ctx.state.strModDir)) {
        std::vector<form::GridRow> rows;
        // The configuration's own settings file is never offered, however its name is spelt:
        // executed from within itself it would run itself again.
        const std::string own = LowerCase(ctx.state.strServerCfgFileName);
        for (const auto& file : ctx.fs.list(ctx.state.strModDir + "\\*.cfg", false)) {
            std::string name = LowerCase(file);
            if (name == own || name == "bw-admin.cfg") continue;
            if (!IsScriptListed(fields.ScriptList, name)) rows.push_back({std::move(name), 0});
        }
        fields.ScriptDir.setRows(std::move(rows));
    }
    ctx.progress.hide();
}

void ButtonScriptAdd_Click(ScriptFields& f) {
    if (!HasCurrentRow(f.ScriptDir)) return;
    const int row = f.ScriptDir.currentRow();
    f.ScriptList.append(f.ScriptDir.text(row));
    f.ScriptDir.remove(row);
    f.ScriptList.setCurrentRow(f.ScriptList.rowCount() - 1);
}

void ButtonScriptRemove_Click(ScriptFields& f) {
    if (!HasCurrentRow(f.ScriptList)) return;
    const int row = f.ScriptList.currentRow();
    const std::string moved = f.ScriptList.text(row);
    f.ScriptDir.append(moved);
    f.ScriptList.remove(row);
    form::SortGrid(f.ScriptDir);
    for (int i = 0; i < f.ScriptDir.rowCount(); ++i) {
        if (f.ScriptDir.text(i) == moved) {
            f.ScriptDir.setCurrentRow(i);
            break;
        }
    }
}

void ButtonScriptUp_Click(ScriptFields& f) {
    const int row = f.ScriptList.currentRow();
    if (row < 1 || row >= f.ScriptList.rowCount()) return;
    SwapRows(f.ScriptList, row, row - 1);
}

void ButtonScriptDown_Click(ScriptFields& f) {
    const int row = f.ScriptList.currentRow();
    if (row < 0 || row >= f.ScriptList.rowCount() - 1) return;
    SwapRows(f.ScriptList, row, row + 1);
}

std::string ScriptEditCommand(const std::string& script) { return std::string(kEditorCommand) + "action\\" + script; }

std::string PluginFileEditCommand(const Context& ctx, const std::string& fileName) {
    const std::string inModDir = ctx.state.strModDir + "\\" + fileName;
    if (FileExists(ctx.fs, inModDir)) return kEditorCommand + inModDir;
    if (FileExists(ctx.fs, "baseq2\\" + fileName)) return std::string(kEditorCommand) + "baseq2\\" + fileName;
    return kEditorCommand + inModDir;
}

bool StartTextEditor(const Context& ctx, platform::ProcessLauncher& launcher, const std::string& commandLine) {
    std::string error;
    if (launcher.start(commandLine, platform::WindowMode::Normal, error)) return true;
    // The editor takes the rest of its command line as one file name, blanks included.
    const std::string file = commandLine.substr(commandLine.find(' ') + 1);
#ifdef _WIN32
    const std::string program = commandLine.substr(0, commandLine.find(' '));
    ctx.message("Cannot start the text editor " + program + " on " + ShownPath(file) + ": " + error);
#else
    // Here the file opens in the desktop's own editor, which the reason names; Notepad, named
    // by the command line, is not what ran.
    ctx.message("Cannot open " + ShownPath(file) + " in a text editor: " + error);
#endif
    return false;
}

void ButtonScriptEdit_Click(const Context& ctx, platform::ProcessLauncher& launcher, ScriptFields& f) {
    if (!HasCurrentRow(f.ScriptList)) return;
    StartTextEditor(ctx, launcher, ScriptEditCommand(f.ScriptList.text(f.ScriptList.currentRow())));
}

void ButtonEditMOTD_Click(const Context& ctx, platform::ProcessLauncher& launcher, const plugin::PluginFields& p) {
    EditPluginFile(ctx, launcher, p.MOTD, "Please enter a MOTD filename first!");
}

void ButtonEditStuff_Click(const Context& ctx, platform::ProcessLauncher& launcher, const plugin::PluginFields& p) {
    EditPluginFile(ctx, launcher, p.Stuff, "Please enter a stuff config filename first!");
}

void ConnectScriptButtons(const Context& ctx, platform::ProcessLauncher& launcher, ScriptFields& f,
                          const plugin::PluginFields& plugin) {
    f.ButtonScriptAdd.clicked.attach([&f] { ButtonScriptAdd_Click(f); });
    f.ButtonScriptRemove.clicked.attach([&f] { ButtonScriptRemove_Click(f); });
    f.ButtonScriptUp.clicked.attach([&f] { ButtonScriptUp_Click(f); });
    f.ButtonScriptDown.clicked.attach([&f] { ButtonScriptDown_Click(f); });
    // The context is copied: it holds only references to what the editor owns.
    f.ButtonScriptEdit.clicked.attach([ctx, &launcher, &f] { ButtonScriptEdit_Click(ctx, launcher, f); });
    f.ButtonEditMOTD.clicked.attach([ctx, &launcher, &plugin] { ButtonEditMOTD_Click(ctx, launcher, plugin); });
    f.ButtonEditStuff.clicked.attach([ctx, &launcher, &plugin] { ButtonEditStuff_Click(ctx, launcher, plugin); });
}

}  // namespace tolvane::scripts
