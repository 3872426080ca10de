// Application state and file utilities: existence checks, backups, the safe rewrite, the
// text readers and the MOTD file.
#include <cerrno>

#include "platform/FileFaults.h"
#include "state/FileUtils.h"
#include "state/Motd.h"
#include "state/TextReaders.h"
#include "support/HostFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using StateFixture = test::CoreFixture;

TEST_F(StateFixture, ExistenceChecksFollowWindowsRules) {
    dir.write("baseq2/maps.lst", "x");
    dir.mkdir("action/players");
    std::string withSlash = "baseq2\\";
    EXPECT_TRUE(DirExists(fs, withSlash));
    EXPECT_EQ(withSlash, "baseq2");  // the caller's string loses its trailing backslash
    std::string onlyOne = "baseq2\\\\";
    EXPECT_FALSE(DirExists(fs, onlyOne));  // one backslash only is removed
    std::string file = "baseq2\\maps.lst";
    EXPECT_FALSE(DirExists(fs, file));
    EXPECT_TRUE(FileExists(fs, "baseq2\\maps.lst"));
    EXPECT_TRUE(FileExists(fs, "BASEQ2\\MAPS.LST"));     // any case, as Windows finds it
    EXPECT_FALSE(FileExists(fs, "action\\players"));      // a directory is not a file
    EXPECT_TRUE(FileExists(fs, "baseq2\\*.lst"));        // a pattern matches
    EXPECT_FALSE(FileExists(fs, "baseq2\\*.bsp"));
    EXPECT_FALSE(FileExists(fs, ""));
    std::string missing = "nowhere";
    EXPECT_FALSE(DirExists(fs, missing));
}

TEST_F(StateFixture, BackupNameCutsAtFirstDotOfTheFileName) {
    EXPECT_EQ(BackupName("action\\server.cfg"), "action\\server.bak");
    EXPECT_EQ(BackupName("action\\tolvane.ini"), "action\\tolvane.bak");
    EXPECT_EQ(BackupName("my.mod\\server.cfg"), "my.mod\\server.bak");
    EXPECT_EQ(BackupName("action\\a.b.cfg"), "action\\a.bak");
}

TEST_F(StateFixture, BackupsOfFilesSharingAStemShareOneBackup) {
    dir.write("action/ctf.cfg", "cfg");
    dir.write("action/ctf.ini", "ini");
    std::string error;
    ASSERT_TRUE(BackupFile(fs, "action\\ctf.cfg", error)) << error;
    ASSERT_TRUE(BackupFile(fs, "action\\ctf.ini", error)) << error;
    EXPECT_FALSE(dir.exists("action/ctf.cfg"));
    EXPECT_FALSE(dir.exists("action/ctf.ini"));
    EXPECT_EQ(dir.read("action/ctf.bak"), "ini");
    ASSERT_TRUE(BackupFile(fs, "action\\absent.cfg", error));  // nothing to move is no failure
    EXPECT_FALSE(dir.exists("action/absent.bak"));
}

TEST_F(StateFixture, DottedModDirectoryKeepsItsNameInTheBackup) {
    dir.write("my.mod/server.cfg", "old");
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "my.mod\\server.cfg", "new"));
    EXPECT_EQ(dir.read("my.mod/server.cfg"), "new");
    EXPECT_EQ(dir.read("my.mod/server.bak"), "old");
    EXPECT_FALSE(dir.exists("my.bak"));
    EXPECT_EQ(fs.list("my.mod\\*.tmp", false).size(), 0u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StateFixture, FailedWriteLeavesTargetAndReportsFileAndReason) {
    dir.write("action/server.cfg", "good");
    // A full disk makes the write of the temporary file fail.
    const auto full = platform::SetFileFaultHook([](platform::FileOp op, const std::filesystem::path&) {
        return op == platform::FileOp::Write ? ENOSPC : 0;
    });
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new content"));
    platform::SetFileFaultHook(full);
    EXPECT_EQ(dir.read("action/server.cfg"), "good");
    EXPECT_FALSE(dir.exists("action/server.bak"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find(test::HostPath("action\\server.cfg")), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("cannot write the temporary file " + test::Shown("action/server.cfg.")),
              std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("(No space left on device)"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].title, "Tolvane");
    EXPECT_EQ(fs.list("action\\*.tmp", false).size(), 0u);
}

TEST_F(StateFixture, FailedWriteIntoMissingDirectoryIsReported) {
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "gone\\server.cfg", "x"));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_FALSE(dir.exists("gone"));
}

TEST_F(StateFixture, FailedRenameRemovesTheTemporaryFile) {
    // A target that is a non-empty directory cannot be replaced by the new file.
    dir.mkdir("action/block.txt/sub");
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\block.txt", "x"));
    EXPECT_EQ(fs.list("action\\*.tmp", false).size(), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "action/block.txt/sub"));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(TextReaders, EveryLineEndEndsALine) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("\xe9t\xe9\r\n"), (std::vector<std::string>{"\xe9t\xe9"}));
}

std::vector<std::string> Fields(const std::string& content) {
    FieldReader r(content);
    std::vector<std::string> out;
    std::string f;
    while (r.next(f)) out.push_back(f);
    return out;
}

TEST(TextReaders, FieldReaderQuotesCommasAndBlanks) {
    EXPECT_EQ(Fields("\"ctf\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"),
              (std::vector<std::string>{"ctf", "default", "server.cfg", "action.ini", ""}));
    // An unquoted field keeps inner quotes and loses blanks on both sides.
    EXPECT_EQ(Fields("   urban \"Urban Streets\"  \r\nbase1,base2\n"),
              (std::vector<std::string>{"urban \"Urban Streets\"", "base1", "base2"}));
    // Text after a closing quote up to the separator is dropped; a quoted field may hold commas.
    EXPECT_EQ(Fields("\"a,b\"junk,c"), (std::vector<std::string>{"a,b", "c"}));
    // Blank lines do not produce fields; a lone LF ends a line.
    EXPECT_EQ(Fields("x\n\n   \r\ny"), (std::vector<std::string>{"x", "y"}));
    // An unterminated quote runs to the end of the content.
    EXPECT_EQ(Fields("\"open"), (std::vector<std::string>{"open"}));
}

TEST(TextReaders, QuotedFieldsRoundTripThroughTheWriter) {
    const std::vector<std::string> record{"ctf", "ctf.cfg", "", "+set hostname \"My, Server\" +set x \"\""};
    const std::string line = FieldLine(record);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    EXPECT_EQ(Fields(line), record);
    EXPECT_EQ(FieldLine({"a", "b"}), "\"a\",\"b\"\r\n");
}

TEST_F(StateFixture, MotdLoadSaveCyclesKeepTheFile) {
    form::TextBox motd("MOTDText");
    motd.changed.attach([&] { state.bMOTDChanged = true; });
    state.strMOTDFileName = "motd.txt";
    dir.write("action/motd.txt", "Welcome\r\nPlay fair\r\n");
    for (int cycle = 0; cycle < 3; ++cycle) {
        ReadMOTD(ctx, motd, "motd.txt");
        EXPECT_TRUE(state.bMOTDChanged);  // loading counts as a change
        ASSERT_TRUE(WriteMOTD(ctx, motd));
        EXPECT_EQ(dir.read("action/motd.txt"), "Welcome\r\nPlay fair\r\n") << "cycle " << cycle;
    }
    // The same bytes are never written again, so no backup is made of them.
    EXPECT_FALSE(dir.exists("action/motd.bak"));
    // Text without a final line end gets one.
    motd.setText("One line");
    ASSERT_TRUE(WriteMOTD(ctx, motd));
    EXPECT_EQ(dir.read("action/motd.txt"), "One line\r\n");
}

TEST_F(StateFixture, EmptyOrMissingMotdIsNeverCreatedBySaving) {
    form::TextBox motd("MOTDText");
    motd.changed.attach([&] { state.bMOTDChanged = true; });
    state.strMOTDFileName = "motd.txt";
    dir.mkdir("action");
    ReadMOTD(ctx, motd, "motd.txt");
    EXPECT_FALSE(state.bMOTDChanged);
    ASSERT_TRUE(WriteMOTD(ctx, motd));
    EXPECT_FALSE(dir.exists("action/motd.txt"));
    dir.write("action/motd.txt", "");
    ReadMOTD(ctx, motd, "motd.txt");
    ASSERT_TRUE(WriteMOTD(ctx, motd));
    EXPECT_EQ(dir.read("action/motd.txt"), "");
    EXPECT_FALSE(dir.exists("action/motd.bak"));
}

TEST_F(StateFixture, MotdWithoutModDirectoryIsSilent) {
    form::TextBox motd("MOTDText");
    motd.setText("stale");
    state.bMOTDChanged = true;
    state.strMOTDFileName = "motd.txt";
    ReadMOTD(ctx, motd, "motd.txt");
    EXPECT_EQ(motd.text(), "");
    motd.setText("typed");
    state.bMOTDChanged = true;
    EXPECT_TRUE(WriteMOTD(ctx, motd));
    EXPECT_FALSE(dir.exists("action"));
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tolvane
