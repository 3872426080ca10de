// The plug-in's files in the editor: where they are found at start-up and rewritten by the save,
// the notices when there is no bw-admin.cfg, and the corpus of real files.
#include <algorithm>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "plugin/BWAdminFormat.h"
#include "plugin/BanListFormat.h"
#include "plugin/PluginFiles.h"
#include "state/TextReaders.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

struct PluginFilesFixture : ::testing::Test, test::EditorHarness {
};

TEST_F(PluginFilesFixture, WithoutBWAdminTheNoticesShowAndNothingIsWritten) {
    dir.mkdir("action");
    dir.write("server_bans.txt", "Name: Bot\r\n");
    auto e = Start();
    for (const auto& notice : e->plugin.NoBWAdmin) {
        EXPECT_TRUE(notice.visible());
        EXPECT_EQ(notice.caption(), "No existing bw-admin.cfg was found.  Thus, none will be saved.");
    }
    EXPECT_EQ(e->plugin.MaxRate.text(), "25000");
    EXPECT_EQ(e->plugin.NameBans.rowCount(), 1);  // the ban list is read all the same
    EXPECT_TRUE(e->SaveSequence());
    EXPECT_FALSE(dir.exists("bw-admin.cfg"));
    EXPECT_FALSE(dir.exists("action/bw-admin.cfg"));
    EXPECT_FALSE(dir.exists("server_bans.bak"));
}

TEST_F(PluginFilesFixture, TheModDirectoryCopyWinsAndOnlyItIsRewritten) {
    dir.write("action/bw-admin.cfg", "admin = mod\r\n");
    dir.write("bw-admin.cfg", "admin = quake2\r\n");
    dir.write("action/server_bans.txt", "Name: fromMod\r\n");
    dir.write("server_bans.txt", "Name: fromQuake2\r\n");
    auto e = Start();
    EXPECT_FALSE(e->plugin.NoBWAdmin[0].visible());
    EXPECT_EQ(e->plugin.Admin.text(), "mod");
    EXPECT_EQ(e->plugin.NameBans.rows(), (std::vector<form::GridRow>{{"fromMod", 0}}));
    EXPECT_NE(std::find(progress.shown.begin(), progress.shown.end(), "Processing BW-Admin Configuration..."),
              progress.shown.end());

    e->plugin.Admin.setText("changed");
    e->plugin.NameBans.append("added");
    EXPECT_TRUE(e->SaveSequence());
    EXPECT_EQ(dir.read("action/bw-admin.cfg").substr(0, 18), "admin = changed\r\nb");
    EXPECT_EQ(dir.read("action/bw-admin.bak"), "admin = mod\r\n");
    EXPECT_EQ(dir.read("bw-admin.cfg"), "admin = quake2\r\n");
    EXPECT_EQ(dir.read("action/server_bans.txt"), "Name: fromMod\r\nName: added\r\n");
    EXPECT_EQ(dir.read("action/server_bans.bak"), "Name: fromMod\r\n");
    EXPECT_EQ(dir.read("server_bans.txt"), "Name: fromQuake2\r\n");
    EXPECT_FALSE(dir.exists("server_bans.tmp"));
    EXPECT_FALSE(dir.exists("action/server_bans.tmp"));
}

TEST_F(PluginFilesFixture, WithoutModDirectoryTheSettingsAreNotSavedButTheBansAre) {
    dir.write("bw-admin.cfg", "maxrate = 8000\r\n");
    dir.write("server_bans.txt", "IP: - 1.2.3.4/32\r\n");
    auto e = Start();
    EXPECT_FALSE(e->plugin.NoBWAdmin[0].visible());
    EXPECT_EQ(e->plugin.MaxRate.scroll.value(), 8000);
    e->plugin.IPBans.append(" - 5.6.7.8/32");
    EXPECT_FALSE(e->SaveSequence());
    EXPECT_EQ(dialogs.texts().back(), "ERROR: action directory not found!\rCannot save bw-admin.cfg");
    EXPECT_EQ(dir.read("bw-admin.cfg"), "maxrate = 8000\r\n");
    EXPECT_EQ(dir.read("server_bans.txt"), "IP: - 1.2.3.4/32\r\nIP: - 5.6.7.8/32\r\n");
    EXPECT_EQ(dir.read("server_bans.bak"), "IP: - 1.2.3.4/32\r\n");
}

TEST_F(PluginFilesFixture, FailedWritesAreReportedAndLeaveTheFilesAsTheyWere) {
    dir.write("action/bw-admin.cfg", "admin = a\r\n");
    dir.write("action/server_bans.txt", "Name: a\r\n");
    // A directory where the backups belong: the old files cannot be kept, so nothing may change.
    dir.write("action/bw-admin.bak/keep", "");
    dir.write("action/server_bans.bak/keep", "");
    // The ban list's temporary file lies beside its target, never in the Quake 2 directory.
    dir.write("server_bans.tmp/keep", "");
    auto e = Start();
    e->plugin.Admin.setText("b");
    e->plugin.NameBans.append("b");
    EXPECT_FALSE(e->SaveSequence());
    EXPECT_EQ(dir.read("action/bw-admin.cfg"), "admin = a\r\n");
    EXPECT_EQ(dir.read("action/server_bans.txt"), "Name: a\r\n");
    const auto texts = dialogs.texts();
    ASSERT_GE(texts.size(), 2u);
    // Each message names its file.
    EXPECT_NE(texts[texts.size() - 2].find("bw-admin.cfg"), std::string::npos) << texts[texts.size() - 2];
    EXPECT_NE(texts.back().find("server_bans.txt"), std::string::npos) << texts.back();

    std::filesystem::remove_all(dir.path() / "action/server_bans.bak");
    dialogs.messages.clear();
    EXPECT_TRUE(plugin::WriteBanList(e->ctx, e->plugin));
    EXPECT_EQ(dir.read("action/server_bans.txt"), "Name: a\r\nName: b\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PluginFilesFixture, AModDirectoryEntryThatIsNoFileIsTheFileAndIsNeverReplacedByTheOther) {
    // A directory named server_bans.txt in the mod directory: the Quake 2 directory's list is
    // neither read nor written in its place, and the save says why it failed.
    dir.write("action/bw-admin.cfg", "admin = mod\r\n");
    dir.mkdir("action/server_bans.txt");
    dir.write("server_bans.txt", "Name: fromQuake2\r\n");
    auto e = Start();
    EXPECT_EQ(e->plugin.NameBans.rowCount(), 0);
    e->plugin.NameBans.append("new");
    EXPECT_FALSE(e->SaveSequence());
    EXPECT_EQ(dir.read("server_bans.txt"), "Name: fromQuake2\r\n");
    EXPECT_FALSE(dir.exists("server_bans.bak"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "action/server_bans.txt"));
    ASSERT_FALSE(dialogs.messages.empty());
    const std::string& text = dialogs.messages.back().text;
    EXPECT_NE(text.find(test::HostPath("action\\server_bans.txt")), std::string::npos) << text;
    EXPECT_NE(text.find("not a regular file"), std::string::npos) << text;
    // The settings file beside it was saved all the same.
    EXPECT_EQ(dir.read("action/bw-admin.bak"), "admin = mod\r\n");
}

#ifndef _WIN32
TEST_F(PluginFilesFixture, APipeNamedAsThePluginFilesHangsNothingAndIsNotWrittenOver) {
    // Pipes where both files belong: start-up must not wait on them, bw-admin.cfg counts as
    // found (its settings keep their start values), and neither Quake 2 directory copy is used.
    dir.mkdir("action");
    ASSERT_EQ(::mkfifo((dir.path() / "action/bw-admin.cfg").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((dir.path() / "action/server_bans.txt").c_str(), 0644), 0);
    dir.write("bw-admin.cfg", "admin = quake2\r\n");
    dir.write("server_bans.txt", "Name: fromQuake2\r\n");
    auto e = Start();
    EXPECT_FALSE(e->plugin.NoBWAdmin[0].visible());
    EXPECT_EQ(e->plugin.Admin.text(), "");
    EXPECT_EQ(e->plugin.NameBans.rowCount(), 0);
    e->plugin.Admin.setText("changed");
    EXPECT_FALSE(e->SaveSequence());
    EXPECT_EQ(dir.read("bw-admin.cfg"), "admin = quake2\r\n");
    EXPECT_EQ(dir.read("server_bans.txt"), "Name: fromQuake2\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "action/bw-admin.cfg"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "action/server_bans.txt"));
    const auto texts = dialogs.texts();
    for (const char* name : {"action\\bw-admin.cfg", "action\\server_bans.txt"})
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [name](const std::string& t) { return t.find(test::HostPath(name)) != std::string::npos; }),
                  1)
            << name;
}
#endif

TEST_F(PluginFilesFixture, DumpShowsThePluginControls) {
    dir.write("action/bw-admin.cfg", "strict = 1\r\n");
    dir.write("action/server_bans.txt", "Filter: cheat\r\n");
    Options o;
    o.mode = Options::Mode::Dump;
    o.directory = dir.path().string();
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 0) << err.str();
    for (const char* line : {"Admin=\n", "Banner=1\n", "Strict=Enable Checking\n", "MaxRate=25000\n",
                             "MaxRateScroll=25000\n", "Flood_Ban=5\n", "FilterBans[0]=cheat\n", "AliasBans.count=0\n",
                             "NoBWAdmin(0).visible=0\n", "NoBWAdmin(2).visible=0\n"})
        EXPECT_NE(out.str().find(line), std::string::npos) << line;
}

// Every real bw-admin.cfg and server_bans.txt beside the checkout loads and saves with the lines
// the editor does not own unchanged, in order.
TEST(PluginCorpus, RealFilesKeepTheirForeignLines) {
    const auto corpus = test::CorpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus beside the checkout";
    int seen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = LowerCase(entry.path().filename().string());
        if (name != "bw-admin.cfg" && name != "server_bans.txt") continue;
        ++seen;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> foreign, kept;
        std::string built;
        if (name == "bw-admin.cfg") {
            plugin::PluginFields f;
            plugin::FillPluginChoiceLists(f);
            plugin::ParseBWAdmin(content, f);
            built = plugin::BuildBWAdmin(f, content);
            auto owned = [&](const std::string& line) {
                const auto eq = line.find('=');
                if (eq == std::string::npos) return false;
                std::string key = LowerCase(line.substr(0, eq));
                key.erase(0, key.find_first_not_of(' '));
                key.erase(key.find_last_not_of(' ') + 1);
                for (const auto& k : plugin::BWAdminKeys())
                    if (key == k.key) return true;
                return false;
            };
            for (const auto& l : SplitLines(content)) if (!owned(l)) foreign.push_back(l);
            for (const auto& l : SplitLines(built)) if (!owned(l)) kept.push_back(l);
        } else {
            built = plugin::BuildBanList(plugin::ParseBanList(content), content);
            const auto isEntry = [](const std::string& l) { return !(plugin::ParseBanList(l) == plugin::BanLists{}); };
            for (const auto& l : SplitLines(content)) if (!isEntry(l)) foreign.push_back(l);
            for (const auto& l : SplitLines(built)) if (!isEntry(l)) kept.push_back(l);
            EXPECT_EQ(plugin::ParseBanList(built), plugin::ParseBanList(content)) << entry.path();
        }
        EXPECT_EQ(kept, foreign) << entry.path();
    }
    if (seen == 0) GTEST_SKIP() << "no bw-admin.cfg or server_bans.txt in the corpus";
}

}  // namespace
}  // namespace tolvane::app
