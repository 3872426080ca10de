// The check before start on what the server runs rather than what the window shows: the whole
// server information, "+set" words of the command line, an exec of the settings file itself, and
// the teams of an action.ini that the save leaves as it is.
#include "app/Editor.h"
#include "check/Check.h"
#include "support/CheckFindings.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::check {
namespace {

struct StartCheck : ::testing::Test, test::EditorHarness {
    std::unique_ptr<app::Editor> e;

    void SetUp() override {
        dir.write("quake2.exe", "");
        dir.write("action/server.cfg", "exec warmup.cfg\r\nhostname \"Test\"\r\n");
        dir.write("action/warmup.cfg", "set fraglimit 5\r\n");
        dir.write("baseq2/maps/q2dm1.bsp", "IBSP");
        dir.write("baseq2/players/male/grunt.pcx", "");
        dir.write("action/action.ini", "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n"
                                       "[team2]\r\nBlue\r\nmale/grunt\r\n###\r\n[maplist]\r\nq2dm1\r\n###\r\n");
        Start();
    }
    void Start() {
        e = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
};

TEST_F(StartCheck, TheFixtureIsSound) { EXPECT_EQ(Dump(e->Check()), ""); }

TEST(ServerInfoTotal, KeysPastFiveHundredTwelveBytesAreDropped) {
    // Eight pairs of 64 bytes ("\kN\" and 60 characters) reach 512: the last one is dropped.
    ServerInfo info;
    for (int i = 0; i < 7; ++i) info["k" + std::to_string(i)] = std::string(60, 'v');
    info["k7"] = std::string(59, 'v');
    Findings f;
    CheckServerInfoTotal(f, "action\\server.cfg", info);
    EXPECT_EQ(Dump(f), "");  // 511 bytes

    info["k7"] = std::string(60, 'v');
    info["z"] = "1";  // after the dropped pair, a short one still fits, as in the engines
    CheckServerInfoTotal(f, "action\\server.cfg", info);
    ASSERT_EQ(f.size(), 1u) << Dump(f);
    EXPECT_EQ(f[0].field, "server information");
    EXPECT_NE(f[0].message.find("comes to 516 bytes"), std::string::npos) << f[0].message;
    EXPECT_NE(f[0].message.find("drop k7."), std::string::npos) << f[0].message;
}

TEST(ServerInfoTotal, ScriptLinesAsTheConsoleAppliesThem) {
    ServerInfo info;
    std::set<std::string> flagged;
    ApplyScriptServerInfo(info, flagged,
                          "hostname \"Two Words\"\r\n"      // the engine's own, bare form
                          "set Admin \"Sam\" s\r\n"         // flagged
                          "set Admin \"Kim\"\r\n"           // still server information
                          "set sv_gravity 800\r\n"          // not server information
                          "set note \"a;b\" s\r\n"          // refused
                          "set gone x s; set gone \"\"\r\n" // emptied: left out
                          "set teamplay 1 x\r\n"            // not a set at all
                          "Fraglimit 9\r\n"                 // no such variable
                          "timelimit 20 // minutes\r\n"
                          "map q2dm1\r\n");
    EXPECT_EQ(info, (ServerInfo{{"Admin", "Kim"}, {"hostname", "Two Words"}, {"mapname", "q2dm1"},
                                {"timelimit", "20"}}));
}

TEST_F(StartCheck, ServerInformationOverTheLimitNamesTheKeysDropped) {
    // Four long values in server.cfg, one more from a script it executes, and the host name.
    std::string cfg = "exec warmup.cfg\r\n";
    for (int i = 0; i < 4; ++i) cfg += "set info" + std::to_string(i) + " \"" + std::string(60, 'i') + "\" s\r\n";
    dir.write("action/server.cfg", cfg);
    Start();
    e->server.HostName.setText(std::string(60, 'h'));
    EXPECT_EQ(Count(e->Check(), "server information"), 0) << Dump(e->Check());

    dir.write("action/warmup.cfg", "set motd \"" + std::string(60, 'm') + "\" s\r\n");
    const Findings f = e->Check();
    ASSERT_EQ(Count(f, "server information", "Info string length exceeded"), 1) << Dump(f);
    // Built in name order: "timelimit" and "weapons" come after the long ones and no longer fit.
    EXPECT_EQ(Count(f, "server information", "drop teamplay, tgren, timelimit, weapons."), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);
}

TEST_F(StartCheck, CommandLineSetWithABlankInItsValue) {
    e->main.CommandLine.setText("+set maxclients 8 +set sv_note \"one\" +set deathmatch 1");
    EXPECT_EQ(Dump(e->Check()), "");

    e->main.CommandLine.setText("+set maxclients 8 +set hostname \"My Server\"");
    const Findings f = e->Check();
    ASSERT_EQ(f.size(), 1u) << Dump(f);
    EXPECT_EQ(f[0].file, "action\\tolvane.ini");
    EXPECT_EQ(f[0].field, "Command Line Options");
    EXPECT_EQ(f[0].control, "CommandLine");
    EXPECT_NE(f[0].message.find("never sets hostname"), std::string::npos) << f[0].message;
    EXPECT_NE(f[0].message.find("Set it in server.cfg instead"), std::string::npos) << f[0].message;
}

TEST_F(StartCheck, ExecOfTheSettingsFileItself) {
    // The writer leaves out the row spelt exactly as the file: nothing runs, nothing to report.
    e->scripts.ScriptList.setRows({{"server.cfg", 0}, {"warmup.cfg", 0}});
    EXPECT_EQ(Dump(e->Check()), "");

    e->scripts.ScriptList.setRows({{"Server.CFG", 0}, {"warmup.cfg", 0}});
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "exec Server.CFG", "server settings file itself"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);
    EXPECT_EQ(f[0].control, "ScriptList");
}

TEST_F(StartCheck, TeamsComeFromTheFileWhenTheSaveLeavesItAlone) {
    ASSERT_FALSE(e->state.bActionIniChanged);
    // Another program rewrites action.ini after start-up; the editor's teams are unchanged, so a
    // save does not write the file and the server reads these teams.
    dir.write("action/action.ini", "[team1]\r\n" + std::string(24, 'r') + "\r\nfemale/jezebel\r\n###\r\n"
                                   "[maplist]\r\nq2dm1\r\n###\r\n");
    Findings f = e->Check();
    EXPECT_EQ(Count(f, "Team1Name", "cuts it to"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Team1Skin", "\"female\""), 1) << Dump(f);
    EXPECT_EQ(f.size(), 2u) << Dump(f);
    EXPECT_EQ(f[0].file, "action\\action.ini");

    // Once a team is edited the save writes the window's teams, and those are checked.
    e->teams.Team2Name.setText("Green");
    ASSERT_TRUE(e->state.bActionIniChanged);
    EXPECT_EQ(Dump(e->Check()), "");
}

}  // namespace
}  // namespace tolvane::check
