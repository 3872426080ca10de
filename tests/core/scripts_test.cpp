// The scripts of the "Scripts" tab: which scripts are offered, the buttons that move and
// reorder them, and the command lines that open a script, the MOTD file or the stuff file in
// the text editor.
#include "app/Editor.h"
#include "scripts/Scripts.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::scripts {
namespace {

using Rows = std::vector<std::string>;

Rows Texts(const form::Grid& grid) {
    Rows out;
    for (const auto& row : grid.rows()) out.push_back(row.text);
    return out;
}

void Fill(form::Grid& grid, const Rows& texts) {
    grid.clear();
    for (const auto& t : texts) grid.append(t);
}

struct ScriptsFixture : test::CoreFixture {
    ScriptFields fields;
    plugin::PluginFields plugin;
    test::RecordingLauncher launcher;
    void SetUp() override {
        state.strServerCfgFileName = "server.cfg";
        state.strModDir = "action";
    }
};

TEST_F(ScriptsFixture, AvailableScriptsAreLowerCasedWithoutTheSettingsFilesOrListedOnes) {
    for (const char* name : {"Server.CFG", "BW-Admin.cfg", "CTF.cfg", "zed.cfg", "Maps.Cfg", "motd.txt", "dm.cfg.bak"})
        dir.write(std::string("action/") + name, "x");
    dir.mkdir("action/folder.cfg");
    // The comparison with the execution list counts letter case: "Maps.cfg" there does not hide
    // the lower-cased "maps.cfg" of the directory, "zed.cfg" does.
    Fill(fields.ScriptList, {"zed.cfg", "Maps.cfg", "gone.cfg"});
    fields.ScriptDir.append("stale.cfg");
    FindScripts(ctx, fields);
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"ctf.cfg", "maps.cfg"}));
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"zed.cfg", "Maps.cfg", "gone.cfg"}));  // untouched
    EXPECT_EQ(progress.shown, (Rows{"Finding scripts..."}));
    EXPECT_FALSE(progress.visible);

    // Another configuration's settings file is left out instead, and server.cfg becomes a script.
    state.strServerCfgFileName = "ctf.cfg";
    fields.ScriptList.clear();
    FindScripts(ctx, fields);
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"maps.cfg", "server.cfg", "zed.cfg"}));

    // Named with capitals, the configuration's own file is still never offered: added, it
    // would make the file execute itself.
    state.strServerCfgFileName = "CTF.cfg";
    FindScripts(ctx, fields);
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"maps.cfg", "server.cfg", "zed.cfg"}));

    // Without the mod directory the list is empty.
    state.strModDir = "missing";
    FindScripts(ctx, fields);
    EXPECT_EQ(fields.ScriptDir.rowCount(), 0);
}

TEST_F(ScriptsFixture, MovingScriptsBetweenTheListsKeepsTheRightRowCurrent) {
    ButtonScriptAdd_Click(fields);  // nothing to move: nothing happens
    EXPECT_EQ(fields.ScriptList.rowCount(), 0);
    Fill(fields.ScriptDir, {"b.cfg", "d.cfg", "a.cfg"});
    fields.ScriptDir.setCurrentRow(1);
    ButtonScriptAdd_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"d.cfg"}));
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"b.cfg", "a.cfg"}));
    fields.ScriptDir.setCurrentRow(0);
    ButtonScriptAdd_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"d.cfg", "b.cfg"}));
    EXPECT_EQ(fields.ScriptList.currentRow(), 1);  // the new last row

    // Moving back sorts the available list and selects the moved script where it sorts, the
    // alphabetically last one included.
    fields.ScriptList.setCurrentRow(0);
    ButtonScriptRemove_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"a.cfg", "d.cfg"}));
    EXPECT_EQ(fields.ScriptDir.currentRow(), 1);
    ButtonScriptRemove_Click(fields);  // the only row left
    EXPECT_EQ(fields.ScriptList.rowCount(), 0);
    EXPECT_EQ(Texts(fields.ScriptDir), (Rows{"a.cfg", "b.cfg", "d.cfg"}));
    EXPECT_EQ(fields.ScriptDir.currentRow(), 1);
    ButtonScriptRemove_Click(fields);  // empty list: nothing happens
    EXPECT_EQ(fields.ScriptDir.rowCount(), 3);
    EXPECT_FALSE(state.bActionIniChanged);
}

TEST_F(ScriptsFixture, UpAndDownStopAtTheEnds) {
    Fill(fields.ScriptList, {"a.cfg", "b.cfg", "c.cfg"});
    fields.ScriptList.setCurrentRow(0);
    ButtonScriptUp_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"a.cfg", "b.cfg", "c.cfg"}));
    EXPECT_EQ(fields.ScriptList.currentRow(), 0);
    ButtonScriptDown_Click(fields);
    ButtonScriptDown_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"b.cfg", "c.cfg", "a.cfg"}));
    EXPECT_EQ(fields.ScriptList.currentRow(), 2);
    ButtonScriptDown_Click(fields);  // already last
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"b.cfg", "c.cfg", "a.cfg"}));
    ButtonScriptUp_Click(fields);
    EXPECT_EQ(Texts(fields.ScriptList), (Rows{"b.cfg", "a.cfg", "c.cfg"}));
    EXPECT_EQ(fields.ScriptList.currentRow(), 1);
}

TEST_F(ScriptsFixture, EditorCommandLinesFollowTheSearchOrder) {
    // A script is always opened from "action", whatever the mod directory is called.
    state.strModDir = "other";
    ButtonScriptEdit_Click(ctx, launcher, fields);  // no script chosen
    EXPECT_TRUE(launcher.commandLines.empty());
    Fill(fields.ScriptList, {"ctf.cfg", "my maps.cfg"});
    fields.ScriptList.setCurrentRow(1);
    ButtonScriptEdit_Click(ctx, launcher, fields);
    EXPECT_EQ(launcher.commandLines, (Rows{"notepad.exe action\\my maps.cfg"}));
    state.strModDir = "action";

    // The MOTD file: the mod directory's copy, else the base game's, else a new one in the mod
    // directory. The stuff file is looked for the same way.
    launcher.commandLines.clear();
    plugin.MOTD.setText("motd.txt");
    ButtonEditMOTD_Click(ctx, launcher, plugin);
    dir.write("baseq2/motd.txt", "base");
    ButtonEditMOTD_Click(ctx, launcher, plugin);
    dir.write("action/MOTD.TXT", "mod");  // found ignoring case, named as typed
    ButtonEditMOTD_Click(ctx, launcher, plugin);
    plugin.Stuff.setText("client stuff.cfg");
    dir.write("baseq2/client stuff.cfg", "");
    ButtonEditStuff_Click(ctx, launcher, plugin);
    EXPECT_EQ(launcher.commandLines, (Rows{"notepad.exe action\\motd.txt", "notepad.exe baseq2\\motd.txt",
                                           "notepad.exe action\\motd.txt", "notepad.exe baseq2\\client stuff.cfg"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ScriptsFixture, EmptyFileNamesAndFailedStartsAreReported) {
    ButtonEditMOTD_Click(ctx, launcher, plugin);
    ButtonEditStuff_Click(ctx, launcher, plugin);
    EXPECT_TRUE(launcher.commandLines.empty());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Please enter a MOTD filename first!");
    EXPECT_EQ(dialogs.messages[0].title, "Tolvane");
    EXPECT_EQ(dialogs.messages[1].text, "Please enter a stuff config filename first!");

    dialogs.messages.clear();
    launcher.fail = true;
    plugin.Stuff.setText("stuff.cfg");
    ButtonEditStuff_Click(ctx, launcher, plugin);
#ifdef _WIN32
    EXPECT_EQ(dialogs.texts(), (Rows{"Cannot start the text editor notepad.exe on action\\stuff.cfg: not found"}));
#else
    EXPECT_EQ(dialogs.texts(), (Rows{"Cannot open action/stuff.cfg in a text editor: not found"}));
#endif
}

// Through the editor: start-up and NEW CONFIG fill both lists, the buttons are wired, and the
// execution list goes into server.cfg on save.
struct EditorScripts : ::testing::Test, test::EditorHarness {
};

TEST_F(EditorScripts, LoadingFillsBothListsAndSavingWritesTheExecLines) {
    dir.write("action/server.cfg", "exec Missing.cfg\r\nexec ctf.cfg\r\nset fraglimit 5\r\n");
    dir.write("action/ctf.cfg", "");
    dir.write("action/dm.cfg", "");
    dir.write("action/bw-admin.cfg", "");
    dir.write("action/other.cfg", "exec dm.cfg\r\n");
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();
    // A script named in server.cfg but missing on disk stays in the execution list.
    EXPECT_EQ(Texts(e.scripts.ScriptList), (Rows{"Missing.cfg", "ctf.cfg"}));
    EXPECT_EQ(Texts(e.scripts.ScriptDir), (Rows{"dm.cfg", "other.cfg"}));

    ASSERT_EQ(e.form.selectRow("ScriptDir", "0"), "");
    ASSERT_EQ(e.form.click("ButtonScriptAdd"), "");
    ASSERT_EQ(e.form.click("ButtonScriptUp"), "");
    ASSERT_EQ(e.form.click("ButtonScriptEdit"), "");
    EXPECT_EQ(launcher.commandLines, (Rows{"notepad.exe action\\dm.cfg"}));
    ASSERT_TRUE(e.SaveSequence());
    const std::string head = "exec Missing.cfg\r\nexec dm.cfg\r\nexec ctf.cfg\r\nset fraglimit";
    EXPECT_EQ(dir.read("action/server.cfg").substr(0, head.size()), head);

    // NEW CONFIG on other.cfg: its exec line fills the execution list and the available list
    // follows, so no script is offered in both or lost from both.
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) {
        auto& d = dynamic_cast<registry::LoadDialog&>(m);
        d.ConfigName.setText("other");
        d.ServerCfg.setText("other.cfg");
        d.ButtonLoad.click();
    });
    // The save sequence above wrote the edits but marks nothing saved (SAVE SETTINGS does): the
    // question before the new configuration is answered "Discard".
    dialogs.askAnswers.push_back(1);
    EXPECT_TRUE(e.ButtonLoad_Click());
    ASSERT_EQ(e.state.strServerCfgFileName, "other.cfg");
    EXPECT_EQ(Texts(e.scripts.ScriptList), (Rows{"dm.cfg"}));
    EXPECT_EQ(Texts(e.scripts.ScriptDir), (Rows{"ctf.cfg", "server.cfg"}));
}

}  // namespace
}  // namespace tolvane::scripts
