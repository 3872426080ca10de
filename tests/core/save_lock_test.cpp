// Two saves at once: the lock on the mod directory lets one through at a time, and a save that
// cannot have it in time writes nothing and says why.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>

#include "platform/FileLock.h"
#include "support/FileChecks.h"
#include "support/SaveFixture.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using platform::FileLock;
using namespace std::chrono_literals;

TEST(SaveLock, HoldersExcludeEachOtherWithinAndAcrossProcesses) {
    test::TempDir dir;
    const fs::path file = dir.path() / "tolvane.lock";
    std::string error;
    FileLock first, second;
    ASSERT_EQ(first.acquire(file, 0ms, error), FileLock::Result::Locked) << error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.acquire(file, 150ms, error), FileLock::Result::Busy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);  // it waited before giving up
    first.release();
    ASSERT_EQ(second.acquire(file, 0ms, error), FileLock::Result::Locked) << error;
    second.release();

#ifndef _WIN32  // another process is made with fork; links are not what Windows gives its files
    // Another process holds the lock for a moment, then ends (which releases it).
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock held;
        std::string why;
        const bool locked = held.acquire(file, 0ms, why) == FileLock::Result::Locked;
        const char byte = locked ? 'y' : 'n';
        if (::write(ready[1], &byte, 1) != 1) ::_exit(2);
        std::this_thread::sleep_for(400ms);
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'y');
    EXPECT_EQ(first.acquire(file, 50ms, error), FileLock::Result::Busy);
    EXPECT_EQ(first.acquire(file, 5000ms, error), FileLock::Result::Locked) << error;
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    // A link planted at the lock file's name is not followed.
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "planted.lock");
    FileLock viaLink;
    EXPECT_EQ(viaLink.acquire(dir.path() / "planted.lock", 0ms, error), FileLock::Result::Failed);
    EXPECT_FALSE(fs::exists(dir.path() / "elsewhere"));
#endif
}

using EditorSaveLock = test::SaveFixture;

TEST_F(EditorSaveLock, SecondSaveWaitsThenWritesNothing) {
    WriteFiles();
    StartEditor();
    EditEverything();
    e->state.save.lockWait = 200ms;
    FileLock other;
    std::string error;
    ASSERT_EQ(other.acquire(dir.path() / "action/tolvane.lock", 0ms, error), FileLock::Result::Locked);

    // Not even the save dialog comes up: the scripted dialogs would fail the test if it did.
    EXPECT_FALSE(e->ButtonSave_Click());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Another save is running in action.\rNothing was saved: try again when it has finished.");
    EXPECT_EQ(dir.read("action/tolvane.ini"), kRegistry);
    EXPECT_EQ(dir.read("action/server.cfg"), kServerCfg);
    EXPECT_EQ(dir.read("action/motd.txt"), kMotd);
    EXPECT_FALSE(dir.exists("action/server.bak"));
    EXPECT_FALSE(dir.exists("action/tolvane.bak"));
    // A start waits the same way and starts nothing.
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_TRUE(launcher.commandLines.empty());

    other.release();
    ConfirmSave();
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_NE(dir.read("action/server.cfg").find("hostname \"New Host\""), std::string::npos);
}

#ifndef _WIN32  // the second editor runs in a child made with fork
TEST_F(EditorSaveLock, TwoEditorsSavingTogetherLeaveCompleteFiles) {
    WriteFiles();
    StartEditor();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    // Both processes save twenty times with their own host name; the child uses a second editor.
    const bool inChild = child == 0;
    if (inChild) {
        dialogs.messages.clear();
        StartEditor();
    }
    e->server.HostName.setText(inChild ? "Child Host" : "Parent Host");
    // Each editor finds the other's saves as changes made by another program; here, where only
    // the lock is at stake, it overwrites them whenever asked.
    for (int i = 0; i < 100; ++i) dialogs.askAnswers.push_back(0);
    bool allSaved = true;
    for (int i = 0; i < 20; ++i) {
        ConfirmSave();
        allSaved = e->ButtonSave_Click() && allSaved;
    }
    if (inChild) ::_exit(allSaved && dialogs.messages.empty() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(allSaved);
    EXPECT_TRUE(dialogs.messages.empty());
    const std::string cfg = dir.read("action/server.cfg");
    const bool parentWon = cfg.find("hostname \"Parent Host\"\r\n") != std::string::npos;
    const bool childWon = cfg.find("hostname \"Child Host\"\r\n") != std::string::npos;
    EXPECT_NE(parentWon, childWon) << cfg;
    EXPECT_NE(cfg.find("set custom 1\r\n"), std::string::npos);
    EXPECT_NE(cfg.find("set fraglimit 20\r\n"), std::string::npos);
    EXPECT_EQ(dir.read("action/tolvane.ini"), kRegistry);
    EXPECT_TRUE(test::TemporaryFilesUnder(dir.path()).empty());
}
#endif

}  // namespace
}  // namespace tolvane
