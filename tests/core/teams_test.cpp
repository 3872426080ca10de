// The "Team 2" tab: skins that follow the model, the viewer mode found at start-up, the files the
// MD2View button shows, and the command lines both viewers are started with.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"
#include "teams/TeamHandlers.h"

namespace tolvane::app {
namespace {

struct TeamsFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void Start() {
        dir.mkdir("action");
        dir.write("action/action.ini", "[maplist]\r\n###\r\n");
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
};

TEST_F(TeamsFixture, SkinsFollowTheModelFromBothPlayersDirectories) {
    for (const char* f : {"male/grunt.pcx", "male/grunt_i.pcx", "male/weapon.pcx", "male/Viper.PCX", "male/tris.md2"})
        dir.write(std::string("baseq2/players/") + f, "x");
    dir.write("action/players/male/grunt.pcx", "x");
    dir.mkdir("action/players/empty");
    Start();
    EXPECT_EQ(e->teams.Team1Model.items(), (std::vector<std::string>{"empty", "male", "male"}));
    e->state.bActionIniChanged = false;
    e->teams.Team2Model.selectText("male");
    // A skin in both directories is listed twice.
    EXPECT_EQ(e->teams.Team2Skin.items(), (std::vector<std::string>{"grunt", "grunt", "viper"}));
    EXPECT_EQ(e->teams.Team2Skin.text(), "grunt");
    EXPECT_TRUE(e->state.bActionIniChanged);

    e->state.bActionIniChanged = false;
    e->teams.Team2Model.selectText("empty");
    EXPECT_EQ(e->teams.Team2Skin.count(), 0);
    EXPECT_EQ(e->teams.Team2Skin.selectedIndex(), -1);
    EXPECT_TRUE(e->state.bActionIniChanged);

    e->state.bActionIniChanged = false;
    e->teams.Team3Name.setText("Greens");
    EXPECT_TRUE(e->state.bActionIniChanged);
}

TEST_F(TeamsFixture, AQSkinViewModeStartsQuakeWithTheSkinAndReportsAFailure) {
    dir.mkdir("aqskinview");
    dir.write("baseq2/players/male/grunt.pcx", "x");
    Start();
    EXPECT_EQ(e->teams.Team1Viewer.caption(), "AQSkinView");
    EXPECT_FALSE(e->teams.SkinViewHelp.visible());
    e->teams.Team1Model.selectText("male");
    e->teams.Team1Viewer.click();
    ASSERT_EQ(launcher.commandLines.size(), 1u);
    EXPECT_EQ(launcher.commandLines[0], "quake2 +set game aqskinview +skin \"male/grunt\" +exec skinview.cfg");
    EXPECT_TRUE(dialogs.messages.empty());

    launcher.fail = true;
    e->teams.Team1Viewer.click();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Cannot start quake2: not found"});
}

TEST_F(TeamsFixture, MD2ViewModeFindsTheSkinAndTheModelFiles) {
    dir.write("md2view.exe", "x");
    dir.write("baseq2/players/male/grunt.pcx", "x");
    dir.write("baseq2/players/male/tris.md2", "x");
    dir.write("action/players/male/grunt.pcx", "x");
    dir.write("action/players/modonly/sas.pcx", "x");
    Start();
    EXPECT_EQ(e->teams.Team2Viewer.caption(), "MD2View");
    e->teams.Team2Model.selectText("male");
    e->teams.Team2Viewer.click();
    // The mod's skin wins; the model is the game's.
    EXPECT_EQ(launcher.commandLines.back(), "md2view.exe baseq2\\players\\male\\tris.md2 action\\players\\male\\grunt.pcx");
    EXPECT_TRUE(e->teams.Team2Viewer.enabled());

    // A model only the mod has: its skins are listed, but without a tris.md2 in the game's
    // directory there is nothing to view.
    e->teams.Team2Model.selectText("modonly");
    EXPECT_EQ(e->teams.Team2Skin.text(), "sas");
    EXPECT_FALSE(e->teams.Team2Viewer.enabled());
}

TEST_F(TeamsFixture, WithoutAViewerTheButtonsAreOffAndTheHelpSaysWhy) {
    Start();
    for (form::Button* b : e->teams.viewerButtons()) EXPECT_FALSE(b->enabled());
    EXPECT_TRUE(e->teams.SkinViewHelp.visible());
    EXPECT_EQ(e->teams.SkinViewHelp.caption(),
              "Support for AQSkinView or MD2View are both available here with the buttons below each team.  To "
              "enable the buttons, download AQSkinView and install it as a Mod, or download MD2View and copy the "
              "md2view.exe and glide.dll to your Quake2 directory.");
    EXPECT_EQ(e->teams.Team3Name.toolTip(), "Name of third team ");
    EXPECT_EQ(e->teams.Team2Skin.toolTip(), "Player model skin to use for second team");
}

TEST_F(TeamsFixture, TeamsAreEditedFromTheCommandLine) {
    dir.write("md2view.exe", "x");
    dir.write("baseq2/players/male/grunt.pcx", "x");
    dir.write("baseq2/players/female/medic.pcx", "x");
    dir.write("baseq2/players/female/pilot.pcx", "x");
    dir.write("action/action.ini", "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
    const std::string before = dir.read("action/action.ini");
    std::vector<std::string> args = {"--save", dir.path().string(), "--set", "Team1Name=Red, White", "--pick",
                                      "Team1Model=female", "--pick", "Team1Skin=pilot"};
    // No tris.md2 for the model: its viewer button is off, so pressing it is an error that
    // saves nothing.
    auto withClick = args;
    withClick.insert(withClick.end(), {"--click", "Team1Viewer"});
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(ParseCommandLine(withClick), out, err), 2);
    EXPECT_EQ(dir.read("action/action.ini"), before);

    std::ostringstream out2, err2;
    EXPECT_EQ(RunHeadless(ParseCommandLine(args), out2, err2), 0) << err2.str();
    EXPECT_EQ(dir.read("action/action.ini"), "[team1]\r\nRed, White\r\nfemale/pilot\r\n###\r\n[maplist]\r\n###\r\n");
}

}  // namespace
}  // namespace tolvane::app
