// The configuration registry tolvane.ini: reading, listing, saving and the name rules.
#include "registry/ConfigRegistry.h"
#include "support/TestSupport.h"

namespace tolvane::registry {
namespace {

struct RegistryFixture : test::CoreFixture {
    form::ComboList list{"ConfigNameList"};
    form::TextBox commandLine{"CommandLine"};

    void SetUp() override {
        dir.mkdir("action");
        list.addItem("default");
        list.selectText("default");
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
    }
    std::string Ini() const { return dir.read("action/tolvane.ini"); }
};

TEST_F(RegistryFixture, StartUpListsAllAndLoadsTheCurrentRecord) {
    dir.write("action/tolvane.ini",
              "\"ctf\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
              "\"Default\",\"x.cfg\",\"x.ini\",\"\"\r\n"
              "\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set maxrate 8000\"\r\n");
    state.bMapsLstChanged = true;
    std::string name;
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(name, "ctf");
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default", "ctf"}));
    EXPECT_EQ(list.text(), "ctf");
    EXPECT_EQ(state.strConfigName, "ctf");
    EXPECT_EQ(state.strServerCfgFileName, "ctf.cfg");
    EXPECT_EQ(state.strActionIniFileName, "ctf.ini");
    EXPECT_EQ(commandLine.text(), "+set maxrate 8000");
    EXPECT_FALSE(state.bMapsLstChanged);
}

TEST_F(RegistryFixture, MissingEmptyOrTruncatedRegistry) {
    std::string name;
    state.bMapsLstChanged = true;
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(state.strConfigName, "default");
    EXPECT_FALSE(state.bMapsLstChanged);

    dir.write("action/tolvane.ini", "");
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(list.count(), 1);

    // A record cut short: its missing fields are not applied.
    dir.write("action/tolvane.ini", "\"duel\"\r\n\"duel\",\"duel.cfg\"");
    name.clear();
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(state.strConfigName, "duel");
    EXPECT_EQ(state.strServerCfgFileName, "duel.cfg");
    EXPECT_EQ(state.strActionIniFileName, "action.ini");
}

TEST_F(RegistryFixture, NoModDirectoryChangesNothing) {
    std::filesystem::remove_all(dir.path() / "action");
    std::string name;
    state.bMapsLstChanged = true;
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_TRUE(state.bMapsLstChanged);
    EXPECT_TRUE(SaveConfig(ctx, commandLine));
    EXPECT_FALSE(dir.exists("action"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RegistryFixture, NamedReadMatchesIgnoringCaseWithoutListing) {
    dir.write("action/tolvane.ini",
              "\"default\"\r\n\"CTF\",\"ctf.cfg\",\"ctf.ini\",\"-x\"\r\n\"tdm\",\"tdm.cfg\",\"tdm.ini\",\"\"\r\n");
    std::string name = "ctf";
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(state.strConfigName, "ctf");
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default", "ctf"}));  // tdm not listed
    EXPECT_EQ(state.strServerCfgFileName, "ctf.cfg");
    EXPECT_EQ(commandLine.text(), "-x");

    // No record: only the list may change; names and files stay.
    std::string other = "nothere";
    ReadConfigRegistry(ctx, list, commandLine, other);
    EXPECT_EQ(state.strConfigName, "ctf");
    EXPECT_EQ(state.strServerCfgFileName, "ctf.cfg");
}

TEST_F(RegistryFixture, SaveReplacesMatchingRecordAndWritesItLast) {
    dir.write("action/tolvane.ini",
              "\"default\"\r\n\"ctf\",\"old.cfg\",\"old.ini\",\"\"\r\n\"tdm\",\"tdm.cfg\",\"tdm.ini\",\"\"\r\n\"cut\",\"x\"");
    state.strConfigName = "CTF";
    state.strServerCfgFileName = "ctf.cfg";
    state.strActionIniFileName = "ctf.ini";
    commandLine.setText("+set hostname \"x\"");
    ASSERT_TRUE(SaveConfig(ctx, commandLine));
    EXPECT_EQ(Ini(),
              "\"CTF\"\r\n"
              "\"tdm\",\"tdm.cfg\",\"tdm.ini\",\"\"\r\n"
              "\"CTF\",\"ctf.cfg\",\"ctf.ini\",\"+set hostname \"\"x\"\"\"\r\n");
    EXPECT_EQ(dir.read("action/tolvane.bak").substr(0, 11), "\"default\"\r\n");
    EXPECT_FALSE(dir.exists("action/tolvane.tmp"));

    // The next start-up selects the saved configuration, and the quoted command line reads back.
    form::ComboList fresh("ConfigNameList");
    fresh.addItem("default");
    AppState next;
    next.strConfigName = "default";
    Context ctx2{fs, dialogs, progress, next};
    form::TextBox cmd("CommandLine");
    std::string name;
    ReadConfigRegistry(ctx2, fresh, cmd, name);
    EXPECT_EQ(next.strConfigName, "CTF");
    EXPECT_EQ(cmd.text(), "+set hostname \"x\"");
    EXPECT_EQ(fresh.items(), (std::vector<std::string>{"default", "tdm", "CTF"}));
}

TEST_F(RegistryFixture, SavingDefaultIsNotListedTwice) {
    state.strConfigName = "default";
    ASSERT_TRUE(SaveConfig(ctx, commandLine));
    EXPECT_EQ(Ini(), "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n");
    std::string name;
    ReadConfigRegistry(ctx, list, commandLine, name);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default"}));
}

TEST(ConfigFileNames, OnlyPlainNamesOfTheModDirectory) {
    for (const char* name : {"server.cfg", "ctf-2.ini", "a b.cfg", ".hidden.cfg"})
        EXPECT_EQ(FileNameProblem(name), "") << name;
    for (const char* name : {"", "../../outside/x.cfg", "..\\x.cfg", "/etc/x.cfg", "sub/x.cfg", "C:x.cfg",
                             "C:\\q2\\x.cfg", "x.cfg:stream", "..", "a..cfg", "x\r.cfg", "x\n.cfg"})
        EXPECT_NE(FileNameProblem(name), "") << name;
}

TEST_F(RegistryFixture, RecordsNamingFilesOutsideTheModDirectoryAreNotUsed) {
    const std::string content =
        "\"evil\"\r\n"
        "\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
        "\"abs\",\"/etc/x.cfg\",\"x.ini\",\"\"\r\n"
        "\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n"
        "\"drive\",\"d.cfg\",\"C:d.ini\",\"\"\r\n"
        "\"self\",\"s.cfg\",\"Tolvane.ini\",\"\"\r\n"
        "\"evil\",\"../../outside/x.cfg\",\"evil.ini\",\"+set x 1\"\r\n";
    dir.write("action/tolvane.ini", content);
    std::string name;
    ReadConfigRegistry(ctx, list, commandLine, name);
    // Only the sound records are listed; the configuration in use stays the built-in one.
    EXPECT_EQ(list.items(), (std::vector<std::string>{"default", "ctf"}));
    EXPECT_EQ(list.text(), "default");
    EXPECT_EQ(state.strConfigName, "default");
    EXPECT_EQ(state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(state.strActionIniFileName, "action.ini");
    EXPECT_EQ(commandLine.text(), "");
    ASSERT_EQ(dialogs.messages.size(), 4u);  // one for each record not used
    for (const auto& m : dialogs.messages) EXPECT_EQ(m.text.rfind(test::HostPath("action\\tolvane.ini: the configuration "), 0), 0u) << m.text;
    EXPECT_NE(dialogs.messages[0].text.find("abs is not used: its server settings file \"/etc/x.cfg\""), std::string::npos)
        << dialogs.messages[0].text;
    EXPECT_NE(dialogs.messages[3].text.find("evil is not used"), std::string::npos) << dialogs.messages[3].text;

    // Asked for by name, such a record changes nothing either.
    dialogs.messages.clear();
    std::string evil = "EVIL";
    ReadConfigRegistry(ctx, list, commandLine, evil);
    EXPECT_EQ(state.strConfigName, "default");
    EXPECT_EQ(state.strServerCfgFileName, "server.cfg");
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // Saving keeps each of them in the file as it was.
    ASSERT_TRUE(SaveConfig(ctx, commandLine));
    const std::string saved = Ini();
    for (const char* record : {"\"abs\",\"/etc/x.cfg\",\"x.ini\",\"\"\r\n", "\"drive\",\"d.cfg\",\"C:d.ini\",\"\"\r\n",
                               "\"self\",\"s.cfg\",\"Tolvane.ini\",\"\"\r\n",
                               "\"evil\",\"../../outside/x.cfg\",\"evil.ini\",\"+set x 1\"\r\n"})
        EXPECT_NE(saved.find(record), std::string::npos) << record;
    EXPECT_EQ(saved.substr(0, 11), "\"default\"\r\n");
}

}  // namespace
}  // namespace tolvane::registry
