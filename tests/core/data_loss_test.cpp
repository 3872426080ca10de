// Inputs that used to lose an operator's settings: an empty last field in tolvane.ini, names
// differing only in case, game flags without a box, numbers of thousands of digits and double
// quotes in quoted texts. Each runs through the real files of a temporary mod directory.
#include "registry/ConfigRegistry.h"
#include "settings/QuotedText.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

struct DataLoss : test::CoreFixture {
    form::ComboList list{"ConfigNameList"};
    form::TextBox commandLine{"CommandLine"};
    settings::ServerFields f;
    form::Grid scripts{"ScriptList"};
    form::Grid maps{"MapIni"};

    void SetUp() override {
        dir.mkdir("action");
        list.addItem("default");
        list.selectText("default");
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
        settings::ConnectServerFields(ctx, f);
    }
    void ReadRegistry() {
        std::string name;
        registry::ReadConfigRegistry(ctx, list, commandLine, name);
    }
    std::string SaveAndReload() {
        EXPECT_TRUE(settings::WriteServerCfg(ctx, f, scripts, maps));
        settings::ReadServerCfg(ctx, f, scripts, "server.cfg");
        return dir.read("action/server.cfg");
    }
};

TEST_F(DataLoss, EmptyLastFieldOfARecordIsAField) {
    // Hand-edited records without quotes, one with blanks after its last comma.
    dir.write("action/tolvane.ini",
              "\"tdm\"\r\nctf,ctf.cfg,ctf.ini,\r\nduel,duel.cfg,duel.ini,   \n\"tdm\",\"tdm.cfg\",\"tdm.ini\",\"-y\"");
    ReadRegistry();
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default", "ctf", "duel", "tdm"}));
    EXPECT_EQ(state.strConfigName, "tdm");
    EXPECT_EQ(state.strServerCfgFileName, "tdm.cfg");
    EXPECT_EQ(commandLine.text(), "-y");

    ASSERT_TRUE(registry::SaveConfig(ctx, commandLine));
    EXPECT_EQ(dir.read("action/tolvane.ini"),
              "\"tdm\"\r\n\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n\"duel\",\"duel.cfg\",\"duel.ini\",\"\"\r\n"
              "\"tdm\",\"tdm.cfg\",\"tdm.ini\",\"-y\"\r\n");
}

TEST_F(DataLoss, NamesDifferingOnlyInCaseAreListedOnce) {
    dir.write("action/tolvane.ini", "\"ctf\"\r\n\"Ctf\",\"a.cfg\",\"a.ini\",\"\"\r\n\"CTF\",\"b.cfg\",\"b.ini\",\"\"\r\n");
    ReadRegistry();
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default", "Ctf"}));
    EXPECT_EQ(list.text(), "Ctf");
    EXPECT_EQ(state.strServerCfgFileName, "a.cfg");  // the first record of the name
    EXPECT_EQ(registry::ListedConfigName(list, "cTF"), "Ctf");
    EXPECT_FALSE(registry::ListedConfigName(list, "ctf2"));
}

TEST_F(DataLoss, GameFlagsWithoutABoxSurviveASave) {
    dir.write("action/server.cfg", "set dmflags 520093696\r\n");  // no health, no armour ...
    settings::ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_NE(SaveAndReload().find("set dmflags 520093696\r\n"), std::string::npos);
    f.SameMap.setValue(1);  // the boxes still work as before
    f.FriendlyFire.setValue(0);
    EXPECT_NE(SaveAndReload().find("set dmflags 520093984\r\n"), std::string::npos);
    EXPECT_EQ(f.SameMap.value(), 1);
    EXPECT_EQ(f.FriendlyFire.value(), 0);
}

TEST_F(DataLoss, NumberOfFortyThousandDigitsIsTrimmedOnce) {
    dir.write("action/server.cfg", "set fraglimit " + std::string(40000, '9') + "\r\nset timelimit 20\r\n");
    settings::ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(f.FragLimit.text(), "32767");
    EXPECT_EQ(f.TimeLimit.text(), "20");  // reading went on
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{"You cannot enter a number that large!", "The maximum value is 32767"}));

    // Leading zeros and a fraction are not a large number; a sign keeps its place.
    dialogs.messages.clear();
    f.FragLimit.setText(std::string(5000, '0') + "12.5");
    EXPECT_EQ(f.FragLimit.scroll.value(), 12);
    f.TimeLimit.setText("-" + std::string(30, '8'));
    EXPECT_EQ(f.TimeLimit.text(), "-888888888");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(DataLoss, DoubleQuotesInQuotedTextsAreRefused) {
    f.HostName.setText("Night Crew");
    f.HostName.setText("Night \"Crew\"");
    EXPECT_EQ(f.HostName.text(), "Night Crew");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{settings::DoubleQuoteRefusal("Host Name")});
    for (form::TextBox* box : {&f.Password, &f.AdminName, &f.WebSite, &f.Location, &f.Email}) {
        box->setText("a\"b");
        EXPECT_EQ(box->text(), "") << box->name();
    }
    EXPECT_EQ(dialogs.messages.size(), 6u);
    f.MasterServer1.setText("a\"b");  // written bare: no refusal
    EXPECT_EQ(f.MasterServer1.text(), "a\"b");
}

TEST_F(DataLoss, QuotedValuesFromTheFileReadBackWhole) {
    dir.write("action/server.cfg", "set Admin \"Crew\"\r\nrcon_password \"s3cret\"\r\nset location \"Oslo\" s\r\n");
    settings::ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(f.AdminName.text(), "Crew");
    EXPECT_EQ(f.Password.text(), "s3cret");
    const std::string saved = SaveAndReload();
    EXPECT_NE(saved.find("set Admin \"Crew\" s\r\n"), std::string::npos);
    EXPECT_NE(saved.find("rcon_password s3cret\r\n"), std::string::npos);
    EXPECT_EQ(f.AdminName.text(), "Crew");
    EXPECT_EQ(f.Password.text(), "s3cret");
    EXPECT_EQ(f.Location.text(), "Oslo");
    EXPECT_TRUE(dialogs.messages.empty());
}

// Lines whose first save changed again on the second: every one must now read back as written.
TEST_F(DataLoss, AwkwardLinesSaveTheSameTwice) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"rcon_password s", "rcon_password s"},                // ends like a flagged line
        {"rcon_password \"two words\"", "rcon_password \"two words\""},  // the game needs the quotes
        {"rcon_password \"none\"", "rcon_password \"none\""},  // bare, "none" means no change
        {"setmaster  a b", "setmaster a b  "},                  // an empty first server
        {"setmaster \"a b // c d", "setmaster a b  "},           // a comment hidden by a quote
        {"setmaster a \"b c s", "setmaster b c s "},             // flagged: the text after the quote
        {"setmaster a \"b", "setmaster a b  "},                  // a quote would hide a comment
        {"set maxclients \"16 \"", "set maxclients 16"},
        {"set Admin \" dmflags\"", "set Admin \"dmflags\" s"},
        {"set exec  ctf.cfg", "exec ctf.cfg"},  // a script named in the "set" form
        {"set exec  \"\"", "exec \"\""},
        {"exec x \"ctf.cfg //old\" s", "exec ctf.cfg"},  // a comment hidden by the quotes (fuzz)
    };
    for (const auto& [line, written] : cases) {
        SCOPED_TRACE(line);
        settings::ServerFields fresh;
        settings::ConnectServerFields(ctx, fresh);
        dir.write("action/server.cfg", line + "\r\n");
        // Read as start-up reads, so that the save writes over the file it read.
        const platform::FileSystem::LoadingScope loading(fs);
        settings::ReadServerCfg(ctx, fresh, scripts, "server.cfg");
        ASSERT_TRUE(settings::WriteServerCfg(ctx, fresh, scripts, maps));
        const std::string first = dir.read("action/server.cfg");
        EXPECT_EQ(first.substr(0, first.find("\r\n")), written);
        settings::ReadServerCfg(ctx, fresh, scripts, "server.cfg");
        ASSERT_TRUE(settings::WriteServerCfg(ctx, fresh, scripts, maps));
        EXPECT_EQ(dir.read("action/server.cfg"), first);
    }
}

}  // namespace
}  // namespace tolvane
