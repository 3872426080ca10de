// The load and save dialogs, the save sequence, starting the server and switching
// configuration, driven through the dialog models with scripted answers.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

using registry::LoadDialog;
using registry::SaveDialog;

struct ConfigFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void SetUp() override {
        dir.write("action/tolvane.ini",
                  "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
                  "\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set maxrate 9000\"\r\n");
        dir.write("action/server.cfg", "set fraglimit 5\r\n");
        dir.write("action/ctf.cfg", "set fraglimit 30\r\nset dedicated 1\r\nexec ctf-maps.cfg\r\n");
        dir.write("bw-admin-missing-marker", "");
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    // Queues a visit of the save dialog that runs `act` on it.
    void OnSave(std::function<void(SaveDialog&)> act) {
        dialogs.dialogSteps.push_back([act](platform::DialogModel& m) { act(dynamic_cast<SaveDialog&>(m)); });
    }
    void OnLoad(std::function<void(LoadDialog&)> act) {
        dialogs.dialogSteps.push_back([act](platform::DialogModel& m) { act(dynamic_cast<LoadDialog&>(m)); });
    }
    std::string Ini() const { return dir.read("action/tolvane.ini"); }
};

TEST(FileNameChecks, RunInOrderOnTheLastThreeCharacters) {
    using registry::CheckFileNames;
    EXPECT_EQ(CheckFileNames("x.txt", "tolvane.ini"), "Invalid Ini File Name!\rYou cannot name the Ini File 'tolvane.ini'!");
    EXPECT_EQ(CheckFileNames("x.txt", "teams.INI"), "Invalid Ini File Name!\rThe Ini File must end in '.ini'!");
    EXPECT_EQ(CheckFileNames("x.CFG", "teams.ini"), "Invalid Cfg File Name!\rThe Cfg File must end in '.cfg'!");
    EXPECT_EQ(CheckFileNames("servercfg", "Teams.ini"), "");  // case-sensitive, no dot needed
    // The file system finds the registry ignoring case: its name is refused in any case.
    EXPECT_EQ(CheckFileNames("x.cfg", "Tolvane.ini"), "Invalid Ini File Name!\rYou cannot name the Ini File 'tolvane.ini'!");
}

TEST(FileNameChecks, OnlyFilesOfTheModDirectoryAreTaken) {
    using registry::CheckFileNames;
    for (const char* name : {"../../outside/x.cfg", "sub\\x.cfg", "/tmp/x.cfg", "C:x.cfg", "..cfg"}) {
        const std::string problem = CheckFileNames(name, "action.ini");
        EXPECT_EQ(problem.rfind("Invalid Cfg File Name!\rThe Cfg File must be a file of the action directory: '" +
                                    std::string(name) + "'",
                                0),
                  0u)
            << problem;
    }
    EXPECT_EQ(CheckFileNames("server.cfg", "../teams.ini").rfind("Invalid Ini File Name!\rThe Ini File must be a file", 0), 0u);
}

TEST(FileNameChecks, NamesTheServerCommandLineWouldSplitAreRefused) {
    using registry::CheckFileNames;
    const std::string cfg = "Invalid Cfg File Name!\rThe Cfg File name cannot hold a blank, a semicolon or a double quote!";
    const std::string ini = "Invalid Ini File Name!\rThe Ini File name cannot hold a blank, a semicolon or a double quote!";
    for (const char* name : {"my server.cfg", "a;quit;.cfg", "x\".cfg", "tab\t.cfg"})
        EXPECT_EQ(CheckFileNames(name, "action.ini"), cfg) << name;
    EXPECT_EQ(CheckFileNames("server.cfg", "my teams.ini"), ini);
    EXPECT_EQ(CheckFileNames("ctf-2.cfg", "ctf_2.ini"), "");
}

TEST_F(ConfigFixture, NamesDifferingOnlyInCaseNameTheSameConfiguration) {
    const std::string before = Ini();
    OnSave([](SaveDialog& d) {
        d.ServerCfg.setText("my server.cfg");
        d.ButtonSave.click();  // refused: the server would run "my"
        EXPECT_TRUE(d.visible());
        d.ButtonCancel.click();
    });
    EXPECT_FALSE(e->ButtonSave_Click());
    OnLoad([](LoadDialog& d) {
        d.ConfigName.setText("CTF");
        d.ButtonLoad.click();  // would have replaced Ctf's record
        EXPECT_TRUE(d.visible());
        d.ButtonCancel.click();
    });
    e->ButtonLoad_Click();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages.back().text, "There is already a configuration named that!");
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(e->main.ConfigNameList.items(), (std::vector<std::string>{"default", "Ctf"}));
}

TEST_F(ConfigFixture, SaveDialogShowsCurrentNamesAndRecordsOnConfirm) {
    OnSave([](SaveDialog& d) {
        EXPECT_EQ(d.ConfigName.caption(), "default");
        EXPECT_EQ(d.ServerCfg.text(), "server.cfg");
        EXPECT_EQ(d.ActionIni.text(), "action.ini");
        d.ActionIni.setText("teams.INI");
        d.ButtonSave.click();  // refused: stays open
        EXPECT_TRUE(d.visible());
        d.ActionIni.setText("teams.ini");
        d.ButtonSave.click();
        EXPECT_FALSE(d.visible());
    });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Invalid Ini File Name!\rThe Ini File must end in '.ini'!"}));
    EXPECT_EQ(e->state.strActionIniFileName, "teams.ini");
    EXPECT_TRUE(e->state.bActionIniChanged);
    EXPECT_EQ(Ini(),
              "\"default\"\r\n\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set maxrate 9000\"\r\n"
              "\"default\",\"server.cfg\",\"teams.ini\",\"\"\r\n");
}

TEST_F(ConfigFixture, CancelOrWindowFrameSavesNothing) {
    const std::string before = Ini();
    OnSave([](SaveDialog& d) { d.ButtonCancel.click(); });
    EXPECT_FALSE(e->ButtonSave_Click());
    // A confirmed visit followed by one closed by its frame: the second answers cancel, not the
    // answer left from the first.
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_TRUE(e->ButtonSave_Click());
    const std::string afterSave = Ini();
    EXPECT_NE(afterSave, before);
    OnSave([](SaveDialog&) {});
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_TRUE(launcher.commandLines.empty());
    EXPECT_EQ(Ini(), afterSave);
}

TEST_F(ConfigFixture, RenameKeepsOldRecordAndRefusesExistingNames) {
    dialogs.inputAnswers = {std::string("CTF"), std::string(""), std::string("Duel")};
    OnSave([](SaveDialog& d) {
        d.ButtonRename.click();  // "ctf" names the listed "Ctf": refused
        EXPECT_EQ(d.ConfigName.caption(), "default");
        d.ButtonRename.click();  // empty answer: no change
        EXPECT_EQ(d.ConfigName.caption(), "default");
        d.ButtonRename.click();
        EXPECT_EQ(d.ConfigName.caption(), "duel");
        d.ButtonSave.click();
    });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dialogs.prompts[0], "Rename default to?");
    EXPECT_EQ(dialogs.prompts[2], "Rename default to?");
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0].text, "You can't rename it to that!  That configuration already exists!");
    EXPECT_EQ(e->state.strConfigName, "duel");
    EXPECT_EQ(e->main.ConfigNameList.items(), (std::vector<std::string>{"default", "Ctf", "duel"}));
    EXPECT_EQ(e->main.ConfigNameList.text(), "duel");
    EXPECT_EQ(Ini(),
              "\"duel\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
              "\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set maxrate 9000\"\r\n"
              "\"duel\",\"server.cfg\",\"action.ini\",\"\"\r\n");

    dialogs.inputAnswers = {std::string("DEFAULT")};
    OnSave([](SaveDialog& d) {
        d.ButtonRename.click();
        EXPECT_EQ(d.ConfigName.caption(), "duel");
        d.ButtonCancel.click();
    });
    e->ButtonSave_Click();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text, "You can't rename it to that!  That configuration already exists!");
    EXPECT_EQ(dialogs.messages.back().title, "Rename Configuration");
}

TEST_F(ConfigFixture, LoadDialogRefusesListedNameAndLoadsNewFiles) {
    OnLoad([](LoadDialog& d) {
        EXPECT_EQ(d.ConfigName.text(), "default");
        EXPECT_EQ(d.ConfigName.selLength(), 7);  // proposed selected: typing replaces it
        d.ButtonLoad.click();  // the pre-filled current name is taken
        EXPECT_TRUE(d.visible());
        EXPECT_EQ(d.ConfigName.selStart(), 0);  // and selected again after the refusal
        EXPECT_EQ(d.ConfigName.selLength(), 7);
        d.ConfigName.setText("Ctf2");
        d.ServerCfg.setText("ctf.cfg");
        d.ButtonLoad.click();
    });
    e->ButtonLoad_Click();
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"There is already a configuration named that!"}));
    EXPECT_EQ(e->state.strConfigName, "Ctf2");
    EXPECT_EQ(e->main.ConfigNameList.text(), "Ctf2");
    EXPECT_EQ(e->state.strServerCfgFileName, "ctf.cfg");
    EXPECT_FALSE(e->state.bActionIniChanged);  // same action.ini name
    EXPECT_EQ(Ini().substr(0, 8), "\"Ctf2\"\r\n");
    EXPECT_FALSE(dir.exists("action/server.bak"));  // nothing but the registry is written
    EXPECT_EQ(e->server.Dedicated.value(), 1);       // the new server settings file was read
}

TEST_F(ConfigFixture, SwitchingLoadsThePickedConfigurationNotTheSavedOne) {
    ASSERT_EQ(e->main.ConfigNameList.items(), (std::vector<std::string>{"default", "Ctf"}));
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });  // save "default" on the way out
    e->main.ConfigNameList.selectText("Ctf");
    EXPECT_EQ(e->state.strConfigName, "ctf");
    EXPECT_EQ(e->main.ConfigNameList.text(), "Ctf");
    EXPECT_EQ(e->state.strServerCfgFileName, "ctf.cfg");
    EXPECT_EQ(e->state.strActionIniFileName, "ctf.ini");
    EXPECT_EQ(e->main.CommandLine.text(), "+set maxrate 9000");
    EXPECT_EQ(e->server.Dedicated.value(), 1);
    EXPECT_TRUE(dir.exists("action/server.bak"));  // the configuration left was saved

    // Back to default with the dialog cancelled: nothing saved, and "default" always uses the
    // standard file names.
    OnSave([](SaveDialog& d) { d.ButtonCancel.click(); });
    e->main.ConfigNameList.selectText("default");
    EXPECT_EQ(e->state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(e->state.strActionIniFileName, "action.ini");
    EXPECT_FALSE(dir.exists("action/ctf.bak"));
}

TEST_F(ConfigFixture, ProgramSelectionsBeforeTheWindowShowsAreNotSwitches) {
    e->mainWindowVisible = false;
    e->main.ConfigNameList.selectText("Ctf");  // no dialog may open
    EXPECT_EQ(e->main.ConfigNameList.text(), "default");
    EXPECT_EQ(e->state.strConfigName, "default");
}

TEST_F(ConfigFixture, StartCommandLineAndLaunch) {
    EXPECT_EQ(e->ServerCommandLine(),
              "quake2.exe  +set game action +set ininame action.ini +set game action +set dedicated 0 +exec server.cfg");
    e->server.Dedicated.setValue(1);
    e->main.CommandLine.setText("+set maxrate 8000 +set hostname \"My Server\"");
    e->state.strActionIniFileName = "ctf.ini";
    e->state.strServerCfgFileName = "ctf.cfg";
    e->state.strModDir = "other";  // the game directory in the command line is fixed text
    EXPECT_EQ(e->ServerCommandLine(),
              "quake2.exe +set maxrate 8000 +set hostname \"My Server\" +set game action +set ininame ctf.ini "
              "+set game action +set dedicated 1 +exec ctf.cfg");

    e->state.strModDir = "action";
    dir.write("quake2.exe", "");  // the server program the Quake 2 directory holds
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_TRUE(e->ButtonStart_Click());
    ASSERT_EQ(launcher.commandLines.size(), 1u);
    EXPECT_EQ(launcher.commandLines[0].substr(0, 27), "quake2.exe +set maxrate 800");

    launcher.fail = true;
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_EQ(dialogs.messages.back().text.substr(0, 37), "Cannot start the server program quake");
    EXPECT_EQ(dialogs.messages.back().text.substr(dialogs.messages.back().text.size() - 11), ": not found");
}

TEST_F(ConfigFixture, NoBWAdminLeavesPluginFilesAlone) {
    // With the notice shown the plug-in files are not part of the save.
    e->plugin.NoBWAdmin[0].setVisible(true);
    dir.write("action/bw-admin.cfg", "untouched");
    dir.write("action/server_bans.txt", "untouched");
    // A bw-admin.cfg that start-up did not see is put to the operator, never dropped unsaid:
    // without an answer nothing is saved.
    dialogs.askAnswers.push_back(std::nullopt);
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_FALSE(e->ButtonSave_Click());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find("bw-admin.cfg"), std::string::npos);
    // "Save without it": the plug-in files stay as they are.
    dialogs.askAnswers.push_back(0);
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/bw-admin.cfg"), "untouched");
    EXPECT_EQ(dir.read("action/server_bans.txt"), "untouched");
    EXPECT_FALSE(dir.exists("action/bw-admin.bak"));
    EXPECT_FALSE(dir.exists("action/server_bans.bak"));
}

TEST_F(ConfigFixture, CommandLineSaveAndConfigSwitch) {
    Options o;
    o.directory = dir.path().string();
    o.mode = Options::Mode::Save;
    o.config = "Ctf";
    o.sets = {{"CommandLine", "+set a 1"}};
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 0) << err.str();
    // Switching did not save default's server.cfg; saving wrote ctf's files and the registry.
    EXPECT_FALSE(dir.exists("action/server.bak"));
    EXPECT_TRUE(dir.exists("action/ctf.bak"));
    EXPECT_EQ(Ini(),
              "\"ctf\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
              "\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set a 1\"\r\n");

    o.config = "nosuch";
    EXPECT_EQ(RunHeadless(o, out, err), 2);
}

TEST_F(ConfigFixture, DialogsRefuseFilesOutsideTheModDirectory) {
    const std::string before = Ini();
    OnLoad([](LoadDialog& d) {
        d.ConfigName.setText("away");
        d.ServerCfg.setText("../../outside/x.cfg");
        d.ButtonLoad.click();
        EXPECT_TRUE(d.visible());
        d.ButtonCancel.click();
    });
    EXPECT_FALSE(e->ButtonLoad_Click());
    OnSave([](SaveDialog& d) {
        d.ActionIni.setText("C:teams.ini");
        d.ButtonSave.click();
        EXPECT_TRUE(d.visible());
        d.ButtonCancel.click();
    });
    EXPECT_FALSE(e->ButtonSave_Click());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("'../../outside/x.cfg'"), std::string::npos);
    EXPECT_NE(dialogs.messages[1].text.find("'C:teams.ini'"), std::string::npos);
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(e->state.strServerCfgFileName, "server.cfg");
}

TEST(ConfigRegistryOutside, ARecordPointingOutsideIsNeitherUsedNorLost) {
    test::EditorHarness h;
    const std::string record = "\"away\",\"../../outside/x.cfg\",\"..\\..\\outside\\x.ini\",\"\"\r\n";
    h.dir.write("action/tolvane.ini", "\"away\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n" + record);
    h.dir.write("action/server.cfg", "set fraglimit 5\r\n");
    auto e = h.Start();
    e->mainWindowVisible = true;
    EXPECT_EQ(e->state.strConfigName, "default");
    EXPECT_EQ(e->state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(e->server.FragLimit.text(), "5");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_NE(h.dialogs.messages[0].text.find(test::HostPath("action\\tolvane.ini: the configuration away is not used")), std::string::npos);

    h.dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_FALSE(std::filesystem::exists(h.dir.path().parent_path() / "outside"));
    EXPECT_FALSE(std::filesystem::exists(h.dir.path() / "outside"));
    EXPECT_TRUE(h.dir.exists("action/server.bak"));
    EXPECT_NE(h.dir.read("action/tolvane.ini").find(record), std::string::npos);
}

}  // namespace
}  // namespace tolvane::app
