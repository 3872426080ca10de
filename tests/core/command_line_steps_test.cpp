// The headless steps: what --set may put into a field, the check of every option before
// anything runs, runs that only look, and NEW CONFIG from the command line.
#include <set>
#include <sstream>

#include "app/CommandLine.h"
#include "form/Form.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

struct Headless : ::testing::Test {
    test::TempDir dir;
    std::ostringstream out, err;

    void SetUp() override {
        dir.write("action/tolvane.ini",
                  "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
                  "\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n");
        dir.write("action/server.cfg", "set fraglimit 5\r\n");
        dir.write("action/ctf.cfg", "set fraglimit 30\r\n");
        dir.write("action/bw-admin.cfg", "admin = boss\r\n");
    }
    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        args.insert(args.begin() + 1, dir.path().string());
        const Options o = ParseCommandLine(args);
        EXPECT_EQ(o.error, "");
        return RunHeadless(o, out, err);
    }
    // Every file of the mod directory with its bytes, to tell that nothing was written. The
    // save lock is left out: it holds nothing.
    std::string Snapshot() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "action"))
            if (entry.path().filename() != "tolvane.lock") names.insert(entry.path().filename().string());
        std::string s;
        for (const std::string& name : names) s += name + "=" + dir.read("action/" + name) + "\n";
        return s;
    }
};

TEST(CommandLineModes, OnlyOneModeARun) {
    EXPECT_NE(ParseCommandLine({"--save", "--dump"}).error, "");
    EXPECT_NE(ParseCommandLine({"--check", "--start", "/q2"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--save", "--save"}).mode, Options::Mode::Save);
    EXPECT_EQ(ParseCommandLine({"--dump", "--help"}).mode, Options::Mode::Help);
    EXPECT_EQ(ParseCommandLine({"--help", "--dump"}).mode, Options::Mode::Help);
}

TEST(FormSet, OneLineFieldsRefuseLineBreaks) {
    form::Form form;
    form::TextBox one{"One"};
    form::TextBox many{"Many", true};
    form::NumericField number{"Number", "1", 100};
    form.add(one);
    form.add(many);
    form.add(number);
    for (const char* text : {"x\r\nsuper = injected", "x\ny", "x\r"}) {
        EXPECT_NE(form.set("One", text), "") << text;
        EXPECT_NE(form.set("Number", text), "") << text;
    }
    EXPECT_EQ(one.text(), "");
    EXPECT_EQ(number.text(), "1");
    EXPECT_EQ(form.set("Many", "line 1\r\nline 2"), "");
    EXPECT_EQ(many.text(), "line 1\r\nline 2");
    EXPECT_EQ(form.checkSet("One", "fine"), "");
    EXPECT_EQ(one.text(), "");  // checking sets nothing
}

TEST_F(Headless, LineBreaksCannotInjectLines) {
    const std::string before = Snapshot();
    EXPECT_EQ(Run({"--save", "--set", "Admin=x\r\nsuper = injected"}), 2);
    EXPECT_EQ(Run({"--save", "--set", "frmBans.IP=10.0.0.1\r\nName: injected", "--click", "ButtonIPNew"}), 2);
    EXPECT_EQ(Run({"--save", "--set", "HostName=a\nset rcon_password x"}), 2);
    EXPECT_NE(err.str().find("HostName: a one-line field cannot hold a line break"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"--save", "--answer", "Bob\r\nName: injected", "--click", "ButtonNameNew"}), 2);
    EXPECT_EQ(Snapshot(), before);

    // The message of the day keeps its lines.
    EXPECT_EQ(Run({"--save", "--set", "MOTDText=Welcome\r\nHave fun\r\n"}), 0) << err.str();
    EXPECT_EQ(dir.read("action/motd.txt"), "Welcome\r\nHave fun\r\n");
}

TEST_F(Headless, EveryNameIsCheckedBeforeAnythingRuns) {
    const std::string before = Snapshot();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--save", "--click", "ButtonSave", "--click", "ButtonNoSuch"},
             {"--save", "--click", "ButtonSave", "--set", "NoSuch=1"},
             {"--save", "--click", "ButtonSave", "--row", "NoGrid=0"},
             {"--save", "--click", "ButtonSave", "--row", "MapIni=first"},
             {"--save", "--click", "ButtonSave", "--pick", "NoList=x"},
             {"--save", "--click", "ButtonSave", "--set", "TeamPlay=3"},
             {"--save", "--click", "ButtonSave", "--set", "frmLoad.NoField=x"},
             {"--start", "--click", "ButtonSave", "--set", "AdminName=Sam \"X\""},
             {"--save", "--click", "ButtonSave", "--set", "MaxClients=300"},
         }) {
        EXPECT_EQ(Run(args), 2) << args[2] << " " << args.back();
        EXPECT_EQ(Snapshot(), before) << args.back();
    }
    // A refused value says why, on one line.
    EXPECT_EQ(Run({"--save", "--set", "AdminName=Sam \"X\""}), 2);
    EXPECT_NE(err.str().find("AdminName: You cannot enter a double quote (\") in Administrator Name! The server"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(Headless, LookingNeverWrites) {
    const std::string before = Snapshot();
    // A pick of another configuration, a save button and a changed setting on the way.
    EXPECT_EQ(Run({"--dump", "--set", "FragLimit=9", "--pick", "ConfigNameList=Ctf"}), 0) << err.str();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run({"--dump", "--click", "ButtonSave"}), 0) << err.str();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run({"--check", "--set", "FragLimit=9", "--click", "ButtonSave"}), 0) << err.str();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Run({"--check", "--pick", "ConfigNameList=Ctf"}), 0) << err.str();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(Headless, ConfigIsMatchedIgnoringCase) {
    EXPECT_EQ(Run({"--dump", "--config", "CTF"}), 0) << err.str();
    EXPECT_NE(out.str().find("strServerCfgFileName=ctf.cfg\n"), std::string::npos);
    EXPECT_NE(out.str().find("FragLimit=30\n"), std::string::npos);
    EXPECT_EQ(Run({"--dump", "--config", "nosuch"}), 2);
}

TEST_F(Headless, NewConfigurationFromTheCommandLine) {
    dir.write("action/duel.cfg", "set fraglimit 11\r\n");
    EXPECT_EQ(Run({"--save", "--set", "frmLoad.ConfigName=Duel", "--set", "frmLoad.ServerCfg=duel.cfg", "--set",
                   "frmLoad.ActionIni=duel.ini", "--click", "ButtonLoad", "--set", "TimeLimit=7"}),
              0)
        << err.str();
    const std::string ini = dir.read("action/tolvane.ini");
    EXPECT_EQ(ini.substr(0, 8), "\"Duel\"\r\n") << ini;
    EXPECT_NE(ini.find("\"Duel\",\"duel.cfg\",\"duel.ini\",\"\"\r\n"), std::string::npos) << ini;
    const std::string cfg = dir.read("action/duel.cfg");
    EXPECT_NE(cfg.find("set fraglimit 11\r\n"), std::string::npos) << cfg;  // the new file was read
    EXPECT_NE(cfg.find("set timelimit 7\r\n"), std::string::npos) << cfg;
    EXPECT_EQ(dir.read("action/server.cfg"), "set fraglimit 5\r\n");

    // Refused by the dialog (a name already listed, a file outside): exit 1, nothing saved.
    const std::string before = Snapshot();
    EXPECT_EQ(Run({"--save", "--set", "frmLoad.ConfigName=ctf", "--click", "ButtonLoad", "--set", "FragLimit=1"}), 1);
    EXPECT_NE(err.str().find("message: There is already a configuration named that!"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"--save", "--set", "frmLoad.ConfigName=away", "--set", "frmLoad.ServerCfg=../away.cfg", "--click",
                   "ButtonLoad"}),
              1);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "away.cfg"));
}

TEST_F(Headless, SaveDialogFieldsFromTheCommandLine) {
    EXPECT_EQ(Run({"--save", "--set", "frmSave.ServerCfg=other.cfg", "--set", "FragLimit=8"}), 0) << err.str();
    EXPECT_NE(dir.read("action/other.cfg").find("set fraglimit 8\r\n"), std::string::npos);
    EXPECT_NE(dir.read("action/tolvane.ini").find("\"default\",\"other.cfg\",\"action.ini\",\"\"\r\n"), std::string::npos);
    EXPECT_EQ(dir.read("action/server.cfg"), "set fraglimit 5\r\n");
    // A file outside the mod directory: the dialog refuses it and the save is cancelled.
    EXPECT_EQ(Run({"--save", "--set", "frmSave.ServerCfg=../other.cfg"}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "other.cfg"));
}

}  // namespace
}  // namespace tolvane::app
