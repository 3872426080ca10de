// Team names the mod would misread are refused where they are typed or set, with the reason;
// names a file already holds are kept and written back as they stood.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"
#include "teams/TeamHandlers.h"

namespace tolvane::app {
namespace {

struct TeamNames : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void Begin(const std::string& ini) {
        dir.write("baseq2/players/male/grunt.pcx", "x");
        dir.write("action/maps/city.bsp", "x");
        dir.write("action/action.ini", ini);
        e = Start();
        e->mainWindowVisible = true;
    }
    bool Save() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
        return e->ButtonSave_Click();
    }
};

TEST_F(TeamNames, NamesTheModWouldMisreadAreRefusedWhereTyped) {
    Begin("[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
    for (const std::string bad : {"[Clan]", "//Red", "###", "", " Red", "\tRed", "\"Q\"", "Red \"Q\"", "Re\nd"}) {
        SCOPED_TRACE(bad);
        dialogs.messages.clear();
        e->state.bActionIniChanged = false;
        e->teams.Team1Name.setText(bad);
        EXPECT_EQ(e->teams.Team1Name.text(), "Red");
        ASSERT_EQ(dialogs.texts().size(), 1u);
        EXPECT_EQ(dialogs.texts()[0], teams::TeamNameRefusal("Red", bad));
        EXPECT_NE(dialogs.texts()[0].find('\r'), std::string::npos);  // the name and the reason
        EXPECT_FALSE(e->state.bActionIniChanged);
    }
    // Brackets, slashes and hashes further in, and blanks inside or typed at the end, are fine.
    dialogs.messages.clear();
    for (const std::string good : {"Red [A]", "R//#", "Red ", "Red Team"}) {
        e->teams.Team1Name.setText(good);
        EXPECT_EQ(e->teams.Team1Name.text(), good);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    e->teams.Team1Name.setText("Red ");
    ASSERT_TRUE(Save());
    // Written without the trailing blank, as both the mod and the editor then read it.
    EXPECT_EQ(dir.read("action/action.ini"), "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
}

TEST_F(TeamNames, NamesAFileHoldsAreKeptAndWrittenBackAsTheyStood) {
    const std::string file = "[team1]\r\nRed \"Q\"\r\nmale/grunt\r\n###\r\n[team2]\r\n\" Lead\"\r\nmale/grunt\r\n###\r\n"
                             "[maplist]\r\n###\r\n";
    Begin(file);
    EXPECT_EQ(e->teams.Team1Name.text(), "Red \"Q\"");
    EXPECT_EQ(e->teams.Team2Name.text(), " Lead");
    EXPECT_TRUE(dialogs.messages.empty());
    // Such a name can be edited, as long as no double quote is added.
    e->teams.Team1Name.setText("Red \"Q\" 2");
    e->teams.Team1Name.setText("Red \"Q\"");
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(e->form.selectRow("MapDir", "0"), "");
    ASSERT_EQ(e->form.click("ButtonAdd"), "");
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), file.substr(0, file.size() - 5) + "city\r\n###\r\n");
}

TEST_F(TeamNames, ASetFromTheCommandLineIsRefusedAsTypingIs) {
    Begin("[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
    const std::string before = dir.read("action/action.ini");
    std::ostringstream out, err;
    // Refused with the reason, nothing saved.
    EXPECT_EQ(RunHeadless(ParseCommandLine({"--save", dir.path().string(), "--set", "Team1Name=[Clan] Red"}), out, err), 2);
    EXPECT_NE(err.str().find("Team1Name"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("as the start of a section"), std::string::npos) << err.str();
    EXPECT_EQ(dir.read("action/action.ini"), before);
    std::ostringstream out2, err2;
    EXPECT_EQ(RunHeadless(ParseCommandLine({"--save", dir.path().string(), "--set", "Team1Name=Red Crew "}), out2, err2), 0)
        << err2.str();
    EXPECT_EQ(dir.read("action/action.ini"), "[team1]\r\nRed Crew\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
}

TEST_F(TeamNames, ATeamWithoutANameIsNotWrittenWithANewModel) {
    const std::string file = "[team1]\r\n###\r\n[maplist]\r\n###\r\n";
    Begin(file);
    EXPECT_EQ(e->teams.Team1Name.text(), "");
    e->teams.Team1Model.selectText("male");
    EXPECT_FALSE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), file);
    const auto texts = dialogs.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts.back().find(test::HostPath("action\\action.ini: team 1 has no name")), std::string::npos) << texts.back();
    // Left as the file has it, the nameless team does not stop a save.
    e->teams.Team1Model.setSelectedIndex(-1);
    ASSERT_TRUE(Save());
}

}  // namespace
}  // namespace tolvane::app
