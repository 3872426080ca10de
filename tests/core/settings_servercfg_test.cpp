// The server configuration script: splitting lines, applying settings, reading a file into the
// fields, and the merging writer.
#include <algorithm>

#include "settings/Dmflags.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "state/TextReaders.h"
#include "support/TestSupport.h"

namespace tolvane::settings {
namespace {

struct ServerCfg : test::CoreFixture {
    ServerFields f;
    form::Grid scripts{"ScriptList"};
    form::Grid maps{"MapIni"};

    ServerCfg() {
        ConnectServerFields(ctx, f);
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
        dir.mkdir("action");
    }
    void Apply(const std::string& line) {
        if (const auto s = SplitCfgLine(line)) ApplyServerSetting(f, scripts, s->name, s->value);
    }
    void Load(const std::string& content) {
        dir.write("action/server.cfg", content);
        ReadServerCfg(ctx, f, scripts, "server.cfg");
    }
    std::string Save() {
        EXPECT_TRUE(WriteServerCfg(ctx, f, scripts, maps));
        return dir.read("action/server.cfg");
    }
    static std::string Crlf(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines) s += l + "\r\n";
        return s;
    }
};

}  // namespace

void PrintTo(const CfgSetting& s, std::ostream* os) { *os << '[' << s.name << "] [" << s.value << ']'; }

namespace {

CfgSetting S(std::string name, std::string value) { return {std::move(name), std::move(value)}; }

TEST(ServerCfgSplit, LineForms) {
    EXPECT_EQ(SplitCfgLine("fraglimit 20"), S("fraglimit", "20"));
    EXPECT_EQ(SplitCfgLine("FRAGLIMIT  20  "), S("fraglimit", "20"));
    EXPECT_EQ(SplitCfgLine("set FragLimit 20"), S("FragLimit", "20"));    // case kept after "set"
    EXPECT_EQ(SplitCfgLine("set fraglimit  20"), S("fraglimit", " 20"));  // leading blanks stay
    EXPECT_EQ(SplitCfgLine("set Admin \"Night Crew\" s"), S("Admin", "Night Crew"));
    EXPECT_EQ(SplitCfgLine("hostname \"My Server\" s"), S("hostname", "My Server"));
    EXPECT_EQ(SplitCfgLine("set Admin \"Crew\""), S("Admin", "\"Crew\""));
    EXPECT_EQ(SplitCfgLine("set sv_x abc s"), S("sv_x", "abc s"));  // no quotes: not flagged
    EXPECT_EQ(SplitCfgLine("rcon_password s"), S("rcon_password", "s"));
    EXPECT_EQ(SplitCfgLine("set Admin \"Crew s"), S("Admin", "Crew s"));     // no closing quote
    EXPECT_EQ(SplitCfgLine("set onlyname"), S("set", "onlyname"));
    EXPECT_EQ(SplitCfgLine("// fraglimit 20"), S("//", "fraglimit 20"));
    EXPECT_EQ(SplitCfgLine("  set fraglimit 20"), S("", "set fraglimit 20"));
    EXPECT_EQ(SplitCfgLine("seta fraglimit 20"), S("seta", "fraglimit 20"));
    EXPECT_FALSE(SplitCfgLine("").has_value());
    EXPECT_FALSE(SplitCfgLine("//").has_value());
    EXPECT_FALSE(SplitCfgLine("set\tfraglimit\t20").has_value());  // a tab is no separator
}

TEST(ServerCfgSplit, TrailingCommentIsNotPartOfTheValue) {
    EXPECT_EQ(SplitCfgLine("set maxclients 17 // 16 players + 1 mvd"), S("maxclients", "17"));
    EXPECT_EQ(SplitCfgLine("set dmflags 25108   // weapon stay"), S("dmflags", "25108"));
    EXPECT_EQ(SplitCfgLine("hostname \"A // B\" // name"), S("hostname", "\"A // B\""));
    EXPECT_EQ(SplitCfgLine("set Admin \"Crew\" s // who"), S("Admin", "Crew"));
    EXPECT_EQ(SplitCfgLine("set sv_url http://x.org/a"), S("sv_url", "http://x.org/a"));
    EXPECT_EQ(SplitCfgLine("map //x"), S("map", "//x"));  // a comment never takes the whole value
}

TEST_F(ServerCfg, NamesAreMatchedExactly) {
    for (const char* line : {"fraglimit 20", "set fraglimit 21", "FRAGLIMIT 22"}) Apply(line);
    EXPECT_EQ(f.FragLimit.text(), "22");
    for (const char* line : {"set FragLimit 1", "set admin \"Crew\" s", "  set fraglimit 2",
                             "set\tfraglimit\t3", "seta fraglimit 4", "// fraglimit 5", "//"})
        Apply(line);
    EXPECT_EQ(f.FragLimit.text(), "22");
    EXPECT_EQ(f.AdminName.text(), "");
}

TEST_F(ServerCfg, TextFieldsTakeTheirValues) {
    Apply("set Admin \"Night Crew\" s");
    EXPECT_EQ(f.AdminName.text(), "Night Crew");
    Apply("set Admin \"Crew\"");
    EXPECT_EQ(f.AdminName.text(), "Crew");  // the console's quotes, not part of the text
    Apply("set WebSite \"http://aq.example/\" s");
    Apply("set e-mail \"op@aq.example\" s");
    Apply("set location \"Oslo\" s");
    EXPECT_EQ(f.WebSite.text(), "http://aq.example/");
    EXPECT_EQ(f.Email.text(), "op@aq.example");
    EXPECT_EQ(f.Location.text(), "Oslo");
}

TEST_F(ServerCfg, HostNameLosesOnlyEnclosingQuotes) {
    Apply("hostname \"My Server\"");
    EXPECT_EQ(f.HostName.text(), "My Server");
    Apply("set hostname \"Flagged One\" s");
    EXPECT_EQ(f.HostName.text(), "Flagged One");
    Apply("hostname \"Other\" s");
    EXPECT_EQ(f.HostName.text(), "Other");
    Apply("hostname Plain");
    EXPECT_EQ(f.HostName.text(), "Plain");
    Apply("hostname X");  // fewer than two characters
    EXPECT_EQ(f.HostName.text(), "Plain");
}

TEST_F(ServerCfg, RemoteConsolePassword) {
    Apply("rcon_password secret");
    EXPECT_EQ(f.Password.text(), "secret");
    Apply("rcon_password none");
    EXPECT_EQ(f.Password.text(), "secret");
    Apply("rcon_password \"\"");
    EXPECT_EQ(f.Password.text(), "");
}

TEST_F(ServerCfg, MasterServers) {
    f.MasterServer4.setText("keep");
    Apply("setmaster a b c");
    EXPECT_EQ(f.MasterServer1.text(), "a");
    EXPECT_EQ(f.MasterServer2.text(), "b");
    EXPECT_EQ(f.MasterServer3.text(), "c");
    EXPECT_EQ(f.MasterServer4.text(), "keep");
    Apply("setmaster a b c d e");
    EXPECT_EQ(f.MasterServer4.text(), "d e");
    Apply("setmaster x  y");
    EXPECT_EQ(f.MasterServer1.text(), "x");
    EXPECT_EQ(f.MasterServer2.text(), "");  // two blanks: an empty server
    EXPECT_EQ(f.MasterServer3.text(), "y");
}

TEST_F(ServerCfg, NumericValuesGoThroughTheCoupling) {
    Apply("maxclients 300");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"The maximum value is 255"});
    EXPECT_EQ(f.MaxClients.text(), "255");
    Apply("timeout abc");
    EXPECT_EQ(f.TimeOut.text(), "abc");  // a numeric field always takes the text
    EXPECT_EQ(f.TimeOut.scroll.value(), 60);
    Apply("port 44444");
    EXPECT_EQ(f.Port.text(), "44444");
    EXPECT_EQ(f.Port.scroll.value(), 44444);
    Apply("set maxclients \"16\"");  // quoted as the console allows
    EXPECT_EQ(f.MaxClients.text(), "16");
    Apply("set fraglimit 20 // per map");
    EXPECT_EQ(f.FragLimit.text(), "20");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(ServerCfg, SwitchesAcceptOnlyTheirRange) {
    Apply("teamplay 2");
    EXPECT_EQ(f.TeamPlay.value(), 2);
    Apply("teamplay 3");
    Apply("teamplay yes");
    EXPECT_EQ(f.TeamPlay.value(), 2);
    Apply("shelloff 1");
    EXPECT_EQ(f.Shells.value(), 0);
    Apply("noscore 0");
    EXPECT_EQ(f.Scores.value(), 1);
    Apply("nohud 2");  // would give -1
    EXPECT_EQ(f.ShowHUD.value(), 1);
    Apply("public 5");
    EXPECT_EQ(f.PublicServer.value(), 1);
    Apply("public -1");
    EXPECT_EQ(f.PublicServer.value(), 0);
    Apply("public x");
    EXPECT_EQ(f.PublicServer.value(), 0);
    Apply("set allow_download_maps 0.4");
    EXPECT_EQ(f.AllowDownloadMaps.value(), 0);
    Apply("set dmflags \"768\"");
    EXPECT_EQ(f.FriendlyFire.value(), 0);
    EXPECT_EQ(f.SpawnFarthest.value(), 1);
    Apply("dmflags 99999999999");  // does not fit: nothing changes
    EXPECT_EQ(EncodeDmflags(f), 768);
}

TEST_F(ServerCfg, ReaderFillsFieldsAndScriptList) {
    scripts.append("stale.cfg");
    Load("exec ctf.cfg\nset fraglimit 20\r\nexec dm.cfg\rset timelimit 10\n// end");
    ASSERT_EQ(scripts.rowCount(), 2);
    EXPECT_EQ(scripts.text(0), "ctf.cfg");
    EXPECT_EQ(scripts.text(1), "dm.cfg");
    EXPECT_EQ(f.FragLimit.text(), "20");
    EXPECT_EQ(f.TimeLimit.text(), "10");  // lone LF and lone CR both end a line
    EXPECT_EQ(progress.shown, std::vector<std::string>{"Processing action\\server.cfg..."});
    EXPECT_EQ(progress.hides, 1);
    EXPECT_FALSE(progress.visible);
}

TEST_F(ServerCfg, MissingFileOnlyEmptiesTheScriptList) {
    scripts.append("stale.cfg");
    f.FragLimit.setText("7");
    ReadServerCfg(ctx, f, scripts, "absent.cfg");
    EXPECT_EQ(scripts.rowCount(), 0);
    EXPECT_EQ(f.FragLimit.text(), "7");
    EXPECT_EQ(progress.hides, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServerCfg, NoOldFileGivesTheWholeDefaultFile) {
    maps.append("q2dm1*");
    EXPECT_EQ(Save(), Crlf({"hostname \"Action Quake Server\"",
                            "rcon_password \"\"",
                            "set fraglimit 0",
                            "set timelimit 0",
                            "set maxclients 10",
                            "set public 0",
                            "set actionmaps 1",
                            "set timeout 60",
                            "set motd_time 2",
                            "set skipmotd 0",
                            "set weapons 1",
                            "set items 1",
                            "set ir 1",
                            "set radiolog 0",
                            "set splatlimit 0",
                            "set bholelimit 0",
                            "set shelloff 1",
                            "set knifelimit 40",
                            "set teamplay 0",
                            "set roundlimit 0",
                            "set roundtimelimit 0",
                            "set tgren 1",
                            "set noscore 0",
                            "set nohud 0",
                            "set port 27910",
                            "set net_port 27910",
                            "set dedicated 0",
                            "set dmflags 256",
                            "set allow_download 1",
                            "set allow_download_maps 1",
                            "set allow_download_players 1",
                            "set allow_download_models 1",
                            "set allow_download_sounds 1",
                            "set deathmatch 1",
                            "set ininame action.ini",
                            "map q2dm1"}));
    EXPECT_FALSE(dir.exists("action/server.tmp"));
    EXPECT_FALSE(dir.exists("action/server.bak"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServerCfg, CarriedBlockKeepsForeignLinesAndReplacesOwnedOnes) {
    dir.write("action/server.cfg", "// my server\nexec old.cfg\nset fraglimit 20\nset sv_gravity 800\n"
                                   "set Admin \"Crew\" s\nmap q2dm2\n");
    f.FragLimit.setText("35");
    scripts.append("first.cfg");
    scripts.append("server.cfg");  // the file itself is never executed from within
    scripts.append("Server.cfg");
    const std::string out = Save();
    const auto lines = SplitLines(out);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "exec first.cfg");
    EXPECT_EQ(lines[1], "exec Server.cfg");
    EXPECT_EQ(lines[2], "// my server");
    EXPECT_EQ(lines[3], "set fraglimit 35");
    EXPECT_EQ(lines[4], "set sv_gravity 800");
    EXPECT_EQ(lines[5], "hostname \"Action Quake Server\"");  // appended block starts
    EXPECT_EQ(out.find("Admin"), std::string::npos);
    EXPECT_EQ(lines.back(), "map q2dm2");  // the rotation is empty: the old start map stays
    EXPECT_EQ(out.find("old.cfg"), std::string::npos);
    EXPECT_EQ(dir.read("action/server.bak"), "// my server\nexec old.cfg\nset fraglimit 20\nset sv_gravity 800\n"
                                             "set Admin \"Crew\" s\nmap q2dm2\n");
}

// Both engines listen on the Port field's value: yquake2 reads port, q2pro net_port.
TEST_F(ServerCfg, PortIsWrittenForBothEngines) {
    // Missing: right after the port line, wherever that stands.
    Load("set port 27910\r\n// tail\r\n");
    f.Port.setText("27920");
    const std::vector<std::string> lines = SplitLines(Save());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "set port 27920");
    EXPECT_EQ(lines[1], "set net_port 27920");
    EXPECT_EQ(lines[2], "// tail");
}

TEST_F(ServerCfg, NetPortPresentIsReplacedInPlace) {
    // Replaced where it stands, in step with port, and written once.
    Load("net_port 1\r\n// mid\r\nset port 27910\r\nport 5\r\n");
    f.Port.setText("27920");
    const std::vector<std::string> lines = SplitLines(Save());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "set net_port 27920");
    EXPECT_EQ(lines[1], "// mid");
    EXPECT_EQ(lines[2], "set port 27920");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set net_port 27920"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set port 27920"), 2);
}

TEST_F(ServerCfg, NetPortAloneIsReadIntoThePortField) {
    // A file written for q2pro, which sets only net_port.
    Load("set net_port 27999\r\n");
    EXPECT_EQ(f.Port.text(), "27999");
    const std::vector<std::string> lines = SplitLines(Save());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "set net_port 27999");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set port 27999"), 1);
}

TEST_F(ServerCfg, EachOwnedVariableIsWrittenOnce) {
    dir.write("action/server.cfg", "fraglimit 10\r\nset e-mail \"a@b\" s\r\nset fraglimit 20\r\nsetmaster a b\r\n"
                                   "set FragLimit 5\r\n");
    f.Email.setText("a@b");
    f.Location.setText("Here");
    const auto lines = SplitLines(Save());
    EXPECT_EQ(lines[0], "set fraglimit 0");
    EXPECT_EQ(lines[1], "set e-mail \"a@b\" s");
    EXPECT_EQ(lines[2], "set fraglimit 0");
    EXPECT_EQ(lines[3], "set FragLimit 5");  // not an owned name: kept as it stands
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set fraglimit 0"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set location \"Here\" s"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "set e-mail \"a@b\" s"), 1);
    for (const auto& l : lines) EXPECT_NE(l.rfind("setmaster", 0), 0u) << l;  // emptied: dropped, not appended
}

TEST_F(ServerCfg, ValuesAreWrittenByTheNumberRule) {
    f.FragLimit.setText("abc");
    f.TimeLimit.setText("-5");
    f.Shells.setValue(1);
    f.TeamPlay.setValue(2);
    f.ShowHUD.setValue(2);
    f.MasterServer1.setText("a");
    f.Password.setText("pw");
    f.AdminName.setText("Crew");
    const std::string out = Save();
    for (const char* line : {"set fraglimit 0\r\n", "set timelimit -5\r\n", "set shelloff 0\r\n",
                             "set teamplay 2\r\n", "set nohud -1\r\n", "setmaster a   \r\n", "rcon_password pw\r\n",
                             "set Admin \"Crew\" s\r\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
    EXPECT_EQ(f.FragLimit.text(), "abc");  // the field keeps its text
    EXPECT_EQ(out.find("map "), std::string::npos);  // no rotation, no map line

    CfgOutput o;
    WriteSetLine(o, "x", " 12.5 ");
    WriteSetLine(o, "y", "1e3");
    EXPECT_EQ(o.text, "set x  12.5 \r\nset y 0\r\n");
}

TEST_F(ServerCfg, LoadThenSaveKeepsForeignLinesByteForByte) {
    const std::string foreign1 = "alias go \"map q2dm1; wait\"  ";
    const std::string foreign2 = "set sv_name caf\xe9 \xff";
    const std::string foreign3 = "\tset fraglimit 9";
    Load(foreign1 + "\nhostname \"AQ\" // x\n" + foreign2 + "\r\nset dmflags 25108 // flags\r" + foreign3);
    EXPECT_EQ(f.HostName.text(), "AQ");
    EXPECT_EQ(EncodeDmflags(f), 516);  // 25108 holds the bits 4, 16, 512, 8192 and 16384
    const std::string first = Save();
    const auto lines = SplitLines(first);
    EXPECT_EQ(lines[0], foreign1);
    EXPECT_EQ(lines[1], "hostname \"AQ\"");
    EXPECT_EQ(lines[2], foreign2);
    EXPECT_EQ(lines[3], "set dmflags 25108");  // the bits no box shows are kept
    EXPECT_EQ(lines[4], foreign3);

    ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(Save(), first);  // saving again changes nothing
    // ...not even the backup, which still holds the file as it was before the first save.
    EXPECT_EQ(SplitLines(dir.read("action/server.bak"))[1], "hostname \"AQ\" // x");
}

TEST_F(ServerCfg, PasswordSurvivesARoundTrip) {
    f.Password.setText("");
    Save();
    f.Password.setText("stale");
    ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(f.Password.text(), "");
    f.Port.setText("44444");
    Save();
    f.Port.setText("1");
    ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(f.Port.text(), "44444");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServerCfg, MissingModDirectoryIsReportedAndNothingWritten) {
    state.strModDir = "nomod";
    EXPECT_FALSE(WriteServerCfg(ctx, f, scripts, maps));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "ERROR: action directory not found!\rCannot save server.cfg");
    EXPECT_EQ(dialogs.messages[0].title, "Tolvane");
    EXPECT_FALSE(dir.exists("nomod"));
}

TEST_F(ServerCfg, LeftoverTemporaryFileIsLeftAlone) {
    // A file of the old fixed temporary name is somebody else's: the save neither opens nor
    // removes it.
    dir.write("action/server.tmp", "junk");
    state.strServerCfgFileName = "ctf.cfg";
    Save();
    EXPECT_EQ(dir.read("action/server.tmp"), "junk");
    EXPECT_NE(dir.read("action/ctf.cfg").find("set deathmatch 1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::settings
