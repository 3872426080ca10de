// A file that exists but cannot be read is not a missing file: start-up stays silent, and the
// save leaves the file as it is, says why, and fails.
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileChecks.h"
#include "support/SaveFixture.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// Makes a file of the directory unreadable. An ordinary user loses the permission to read it;
// the superuser reads every file, so there the name leads to a file whose reading fails with an
// input/output error.
void MakeUnreadable(const test::TempDir& dir, const std::string& rel) {
    const fs::path p = dir.path() / rel;
    if (::geteuid() != 0) {
        ::chmod(p.c_str(), 0);
    } else {
        fs::remove(p);
        fs::create_symlink("/proc/self/mem", p);
    }
}

void MakeReadable(const test::TempDir& dir, const std::string& rel, const std::string& content) {
    const fs::path p = dir.path() / rel;
    if (::geteuid() != 0) {
        ::chmod(p.c_str(), 0644);
    } else {
        fs::remove(p);
        dir.write(rel, content);
    }
}

TEST(ReadResults, MissingAndUnreadableAreToldApart) {
    test::TempDir dir;
    dir.write("present.cfg", "x");
    dir.write("bad.cfg", "x");
    MakeUnreadable(dir, "bad.cfg");
    const platform::FileSystem files(dir.path());
    std::string content, error;
    EXPECT_TRUE(files.readFile("present.cfg", content, error));
    const auto missing = files.readFile("absent.cfg", content, error);
    EXPECT_TRUE(missing.missing());
    EXPECT_FALSE(files.readFailure("absent.cfg"));
    const auto bad = files.readFile("bad.cfg", content, error);
    EXPECT_TRUE(bad.failed());
    EXPECT_FALSE(bad.missing());
    ASSERT_TRUE(files.readFailure("BAD.CFG"));  // found as every path is, ignoring case
    EXPECT_EQ(*files.readFailure("bad.cfg"), error);

    // Readable again: a read outside loading forgets nothing, a read while loading does.
    MakeReadable(dir, "bad.cfg", "x");
    EXPECT_TRUE(files.readFile("bad.cfg", content, error));
    EXPECT_TRUE(files.readFailure("bad.cfg"));
    {
        const platform::FileSystem::LoadingScope loading(files);
        EXPECT_TRUE(files.readFile("bad.cfg", content, error));
    }
    EXPECT_FALSE(files.readFailure("bad.cfg"));
}

using UnreadableFiles = test::SaveFixture;

TEST_F(UnreadableFiles, UnreadableRegistryIsLeftAndTheSaveFails) {
    WriteFiles();
    MakeUnreadable(dir, "action/tolvane.ini");
    const struct stat before = test::EntryStat(dir.path() / "action/tolvane.ini");
    StartEditor();
    EXPECT_TRUE(dialogs.messages.empty());  // start-up stays silent

    EditEverything();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonSave_Click());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& text = dialogs.messages[0].text;
    EXPECT_EQ(text.rfind("Could not save action\\tolvane.ini: the file could not be read (", 0), 0u)
        << text;
    const struct stat after = test::EntryStat(dir.path() / "action/tolvane.ini");
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_FALSE(dir.exists("action/tolvane.bak"));
    // The other files are saved all the same.
    EXPECT_NE(dir.read("action/server.cfg").find("hostname \"New Host\""), std::string::npos);
}

TEST_F(UnreadableFiles, ServerCfgUnreadableAtStartUpKeepsItsSettings) {
    WriteFiles();
    MakeUnreadable(dir, "action/server.cfg");
    StartEditor();
    EXPECT_TRUE(dialogs.messages.empty());
    // The trouble passes; the editor still shows defaults, not what the file holds.
    MakeReadable(dir, "action/server.cfg", kServerCfg);
    EditEverything();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/server.cfg"), kServerCfg);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("action\\server.cfg"), std::string::npos);
    EXPECT_EQ(dir.read("action/motd.txt"), "Welcome back\r\n");

    // Loading the configuration again reads the file; then the save keeps its settings.
    std::string name = "default";
    e->LoadConfiguration(name);
    e->server.HostName.setText("New Host");
    dialogs.messages.clear();
    ConfirmSave();
    EXPECT_TRUE(e->ButtonSave_Click());
    const std::string saved = dir.read("action/server.cfg");
    EXPECT_NE(saved.find("set fraglimit 20\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("set custom 1\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tolvane
