// Start-up: what the main window's loading leaves in the controls and the state, for a full
// Quake 2 directory and for directories missing their parts; and the --dump command line.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

struct StartUpFixture : ::testing::Test, test::EditorHarness {
};

TEST_F(StartUpFixture, EmptyDirectoryStartsAsDefaultWithoutMessages) {
    auto e = Start();
    EXPECT_EQ(e->state.strConfigName, "default");
    EXPECT_EQ(e->state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(e->state.strActionIniFileName, "action.ini");
    EXPECT_EQ(e->state.strMapsLstFileName, "maps.lst");
    EXPECT_EQ(e->state.strMOTDFileName, "motd.txt");
    EXPECT_EQ(e->main.ConfigNameList.items(), (std::vector<std::string>{"default"}));
    EXPECT_EQ(e->main.ConfigNameList.text(), "default");
    EXPECT_EQ(e->main.windowTitle, "Tolvane v1.3 - The Quickest Configuration Editor for Action Quake");
    EXPECT_FALSE(e->main.bwAdmin1TabEnabled);
    EXPECT_EQ(e->plugin.Strict.items(), (std::vector<std::string>{"Disable Checking", "Enable Checking",
                                                                "Enable Checking but allow NAT routers"}));
    EXPECT_EQ(e->plugin.Logging.items(), (std::vector<std::string>{"No logging", "Create new log on server initialization",
                                                                 "Append to existing log"}));
    EXPECT_EQ(e->teams.Team1Model.count(), 0);
    EXPECT_EQ(e->mapFields.MapDir.rowCount(), 0);
    EXPECT_EQ(e->mapFields.MapDir.currentRow(), -1);
    EXPECT_EQ(e->main.AboutBox.caption().substr(0, 14), "\rTolvane v1.3\r");
    EXPECT_TRUE(dialogs.messages.empty());
    // The progress line is gone when the main window appears.
    EXPECT_FALSE(progress.visible);
    EXPECT_FALSE(progress.shown.empty());
}

TEST_F(StartUpFixture, ViewerButtonsFollowTheViewerFound) {
    {
        auto e = Start();  // neither viewer
        EXPECT_FALSE(e->teams.Team1Viewer.enabled());
        EXPECT_FALSE(e->teams.Team3Viewer.enabled());
        EXPECT_TRUE(e->teams.SkinViewHelp.visible());
    }
    dir.write("MD2View.exe", "");
    {
        auto e = Start();
        EXPECT_EQ(e->teams.Team2Viewer.caption(), "MD2View");
        EXPECT_TRUE(e->teams.Team2Viewer.enabled());
        EXPECT_FALSE(e->teams.SkinViewHelp.visible());
    }
    dir.mkdir("aqskinview");
    {
        auto e = Start();  // both: the game directory wins
        EXPECT_EQ(e->teams.Team1Viewer.caption(), "AQSkinView");
        EXPECT_TRUE(e->teams.Team1Viewer.enabled());
    }
}

TEST_F(StartUpFixture, ModelsAreLowerCasedSortedAndListedPerDirectory) {
    dir.mkdir("baseq2/players/Male");
    dir.mkdir("baseq2/players/female");
    dir.mkdir("baseq2/players/Cyborg");
    dir.mkdir("action/players/male");
    dir.write("action/players/README", "");  // no attribute test: listed as well
    dir.write("action/players/notes.txt", "");  // has an extension: not a "*." match
    auto e = Start();
    const std::vector<std::string> want{"cyborg", "female", "male", "male", "readme"};
    EXPECT_EQ(e->teams.Team1Model.items(), want);
    EXPECT_EQ(e->teams.Team2Model.items(), want);
    EXPECT_EQ(e->teams.Team3Model.items(), want);
}

TEST_F(StartUpFixture, TooManyModelsAreLeftUnsortedWithAMessage) {
    for (int i = 0; i < 102; ++i) dir.mkdir("baseq2/players/m" + std::to_string(101 - i + 100));
    auto e = Start();
    EXPECT_EQ(e->teams.Team1Model.count(), 102);
    EXPECT_EQ(dialogs.messages.size(), 3u);  // one per model list
    EXPECT_EQ(dialogs.messages[0].text, "Team1Model too large to be sorted!");
}

TEST_F(StartUpFixture, CurrentConfigurationIsLoadedInLowerCase) {
    dir.write("action/tolvane.ini",
              "\"CTF\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n\"CTF\",\"ctf.cfg\",\"ctf.ini\",\"+set a 1\"\r\n");
    dir.write("action/motd.txt", "Hello\r\n");
    auto e = Start();
    EXPECT_EQ(e->state.strConfigName, "ctf");
    EXPECT_EQ(e->state.strServerCfgFileName, "ctf.cfg");
    EXPECT_EQ(e->state.strActionIniFileName, "ctf.ini");
    EXPECT_EQ(e->main.CommandLine.text(), "+set a 1");
    EXPECT_EQ(e->main.MOTDText.text(), "Hello\r\n");
    EXPECT_TRUE(e->state.bMOTDChanged);
}

TEST_F(StartUpFixture, DefaultAlwaysUsesTheStandardFileNames) {
    dir.write("action/tolvane.ini", "\"default\"\r\n\"default\",\"other.cfg\",\"other.ini\",\"\"\r\n");
    auto e = Start();
    EXPECT_EQ(e->state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(e->state.strActionIniFileName, "action.ini");
}

TEST_F(StartUpFixture, CancelEndsTheProgram) {
    auto e = Start();
    bool quit = false;
    e->onQuit = [&] { quit = true; };
    e->main.ButtonCancel.click();
    EXPECT_TRUE(quit);
    EXPECT_TRUE(e->quitRequested());
}

TEST(CommandLine, ParsesModesDirectoryAndSettings) {
    auto o = ParseCommandLine({"--dump", "/q2", "--set", "FragLimit=20", "--set=HostName=a=b"});
    EXPECT_EQ(o.mode, Options::Mode::Dump);
    EXPECT_EQ(o.directory, "/q2");
    ASSERT_EQ(o.sets.size(), 2u);
    EXPECT_EQ(o.sets[1], (std::pair<std::string, std::string>{"HostName", "a=b"}));
    EXPECT_EQ(ParseCommandLine({}).directory, ".");
    EXPECT_FALSE(ParseCommandLine({"--bogus"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--set"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--set", "=x"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"a", "b"}).error.empty());
}

TEST_F(StartUpFixture, DumpPrintsStateAndControlsOneALine) {
    dir.write("action/tolvane.ini", "\"duel\"\r\n\"duel\",\"duel.cfg\",\"duel.ini\",\"\"\r\n");
    dir.write("action/motd.txt", "a\\b\r\nc");
    Options o;
    o.mode = Options::Mode::Dump;
    o.directory = dir.path().string();
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 0);
    const std::string d = out.str();
    for (const char* line : {"strConfigName=duel\n", "strServerCfgFileName=duel.cfg\n", "bActionIniChanged=0\n",
                             "ConfigNameList=duel\n", "ConfigNameList.count=2\n", "ConfigNameList[1]=duel\n",
                             "MOTDText=a\\\\b\\r\\nc\n", "Team1Viewer.enabled=0\n", "SkinViewHelp.visible=1\n",
                             "Tab[8].enabled=0\n", "IPBans.count=0\n", "Strict.count=3\n"})
        EXPECT_NE(d.find(line), std::string::npos) << line << " missing from\n" << d;
    EXPECT_EQ(err.str(), "");
}

TEST_F(StartUpFixture, DumpReportsBadSettingsAndMissingDirectory) {
    Options o;
    o.mode = Options::Mode::Dump;
    o.directory = dir.path().string();
    o.sets = {{"NoSuchControl", "1"}, {"CommandLine", "+set x 1"}};
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 2);
    EXPECT_NE(err.str().find("NoSuchControl"), std::string::npos);
    EXPECT_NE(out.str().find("CommandLine=+set x 1\n"), std::string::npos);
    o.directory = (dir.path() / "absent").string();
    EXPECT_EQ(RunHeadless(o, out, err), 2);
}

}  // namespace
}  // namespace tolvane::app
