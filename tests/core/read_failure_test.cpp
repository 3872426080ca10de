// A file that exists but cannot be read is not a missing file: start-up stays silent, and the
// save leaves the file as it is, says why, and fails.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <memory>

#include "support/FileChecks.h"
#include "support/HostFiles.h"
#include "support/SaveFixture.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// Makes a file of the directory unreadable while it lives. On Windows another program holds the
// file open and lets nobody else read it. Elsewhere an ordinary user loses the permission to
// read it; the superuser reads every file, so there the name leads to a file whose reading
// fails with an input/output error.
class UnreadableFile {
public:
    UnreadableFile(const test::TempDir& dir, std::string rel) : dir_(dir), rel_(std::move(rel)) {
        const fs::path p = dir_.path() / rel_;
#ifdef _WIN32
        held_ = std::make_unique<test::HeldOpen>(p, false);
        EXPECT_TRUE(held_->held()) << rel_;
#else
        if (::geteuid() != 0) {
            ::chmod(p.c_str(), 0);
        } else {
            fs::remove(p);
            fs::create_symlink("/proc/self/mem", p);
        }
#endif
    }
    ~UnreadableFile() { end(); }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // The trouble passes. Where the file had to be put aside, it comes back with `content`.
    void end([[maybe_unused]] const std::string& content = "x") {
        if (ended_) return;
        ended_ = true;
#ifdef _WIN32
        held_.reset();
#else
        const fs::path p = dir_.path() / rel_;
        if (::geteuid() != 0) {
            ::chmod(p.c_str(), 0644);
        } else {
            fs::remove(p);
            dir_.write(rel_, content);
        }
#endif
    }

private:
    const test::TempDir& dir_;
    std::string rel_;
    bool ended_ = false;
#ifdef _WIN32
    std::unique_ptr<test::HeldOpen> held_;
#endif
};

TEST(ReadResults, MissingAndUnreadableAreToldApart) {
    test::TempDir dir;
    dir.write("present.cfg", "x");
    dir.write("bad.cfg", "x");
    UnreadableFile unreadable(dir, "bad.cfg");
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
    unreadable.end("x");
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
    UnreadableFile unreadable(dir, "action/tolvane.ini");
    const auto before = test::FileIdentity(dir.path() / "action/tolvane.ini");
#ifndef _WIN32
    const auto modeBefore = test::EntryStat(dir.path() / "action/tolvane.ini").st_mode;
#endif
    StartEditor();
    EXPECT_TRUE(dialogs.messages.empty());  // start-up stays silent

    EditEverything();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonSave_Click());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& text = dialogs.messages[0].text;
    EXPECT_EQ(text.rfind(test::HostPath("Could not save action\\tolvane.ini: the file could not be read ("), 0), 0u)
        << text;
    EXPECT_EQ(test::FileIdentity(dir.path() / "action/tolvane.ini"), before);
#ifndef _WIN32
    EXPECT_EQ(test::EntryStat(dir.path() / "action/tolvane.ini").st_mode, modeBefore);
#endif
    EXPECT_FALSE(dir.exists("action/tolvane.bak"));
    // The other files are saved all the same.
    EXPECT_NE(dir.read("action/server.cfg").find("hostname \"New Host\""), std::string::npos);
}

TEST_F(UnreadableFiles, ServerCfgUnreadableAtStartUpKeepsItsSettings) {
    WriteFiles();
    UnreadableFile unreadable(dir, "action/server.cfg");
    StartEditor();
    EXPECT_TRUE(dialogs.messages.empty());
    // The trouble passes; the editor still shows defaults, not what the file holds.
    unreadable.end(kServerCfg);
    EditEverything();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/server.cfg"), kServerCfg);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find(test::HostPath("action\\server.cfg")), std::string::npos);
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
