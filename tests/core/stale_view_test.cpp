// A save writes the editor's view only over the file the editor read: a file another editor
// saved since, or one that appeared after start-up, is put to the operator (or, without a
// window, left alone with a failed save); bytes that would not change are not written, so the
// backup keeps the version before.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "platform/FileFaults.h"
#include "support/TestSupport.h"

namespace tolvane::test {
namespace {

constexpr const char* kRegistry = "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n";
constexpr const char* kServerCfg = "hostname \"Old Host\"\r\nset fraglimit 20\r\n";
constexpr const char* kBans = "// bans\r\nName: spammer\r\n";
constexpr const char* kBWAdmin = "Admin = secret\r\n";

// One editor window of its own over a shared Quake 2 directory: its own view of the files.
struct Window {
    explicit Window(const std::filesystem::path& root) : fs(root) {}
    platform::FileSystem fs;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    RecordingLauncher launcher;
    std::unique_ptr<app::Editor> editor;

    app::Editor& Start() {
        editor = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        editor->StartUp();
        editor->mainWindowVisible = true;
        return *editor;
    }
    bool Save() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
        return editor->ButtonSave_Click();
    }
    bool Said(const std::string& part) const {
        for (const auto& text : dialogs.texts())
            if (text.find(part) != std::string::npos) return true;
        return false;
    }
};

struct StaleView : ::testing::Test {
    TempDir dir;
    void WriteInstall() {
        dir.write("action/tolvane.ini", kRegistry);
        dir.write("action/server.cfg", kServerCfg);
        dir.write("action/bw-admin.cfg", kBWAdmin);
        dir.write("action/server_bans.txt", kBans);
    }
};

TEST_F(StaleView, TwoWindowsNeverWriteOverEachOthersBans) {
    WriteInstall();
    Window a(dir.path()), b(dir.path());
    a.Start();
    b.Start();
    a.editor->plugin.NameBans.append("first");
    ASSERT_TRUE(a.Save());
    ASSERT_NE(dir.read("action/server_bans.txt").find("first"), std::string::npos);

    // The second window's view of the ban list is older than the file: without an answer (the
    // box closed) nothing is written, and the first window's ban stays.
    b.editor->plugin.NameBans.append("second");
    b.dialogs.askAnswers.push_back(std::nullopt);
    EXPECT_FALSE(b.Save());
    ASSERT_EQ(b.dialogs.questions.size(), 1u);
    EXPECT_NE(b.dialogs.questions[0].find("server_bans.txt"), std::string::npos);
    const std::string bans = dir.read("action/server_bans.txt");
    EXPECT_NE(bans.find("first"), std::string::npos);
    EXPECT_EQ(bans.find("second"), std::string::npos);

    // Reload: the window reads the file again (its own edit to it is dropped) and saves the rest.
    b.dialogs.askAnswers.push_back(1);
    EXPECT_TRUE(b.Save());
    EXPECT_EQ(b.editor->plugin.NameBans.rowCount(), 2);
    EXPECT_NE(b.editor->lastResult().find("reloaded"), std::string::npos) << b.editor->lastResult();
    EXPECT_NE(dir.read("action/server_bans.txt").find("first"), std::string::npos);

    // Overwrite: the operator's word, the window's view is written.
    a.editor->plugin.NameBans.append("third");
    ASSERT_TRUE(a.Save());
    b.editor->plugin.NameBans.clear();
    b.dialogs.askAnswers.push_back(0);
    EXPECT_TRUE(b.Save());
    EXPECT_EQ(dir.read("action/server_bans.txt").find("third"), std::string::npos);
}

TEST_F(StaleView, FileCreatedAfterStartUpIsNotMergedOver) {
    dir.write("action/tolvane.ini", kRegistry);
    Window w(dir.path());
    app::Editor& e = w.Start();
    // Another program writes the configuration's server settings after start-up found none.
    const std::string theirs = "set hostname \"Theirs\"\r\nset custom 7\r\n";
    dir.write("action/server.cfg", theirs);
    e.server.HostName.setText("Mine");
    w.dialogs.askAnswers.push_back(std::nullopt);
    EXPECT_FALSE(w.Save());
    EXPECT_TRUE(w.Said(test::HostPath("action\\server.cfg"))) << ::testing::PrintToString(w.dialogs.texts());
    EXPECT_EQ(dir.read("action/server.cfg"), theirs);
    EXPECT_FALSE(dir.exists("action/server.bak"));
}

TEST_F(StaleView, StartUpThatCouldNotSeeAFileLeavesIt) {
    WriteInstall();
    // The ban list's existence check and the server settings' open fail at start-up (a busy
    // disk, a permission glitch): the editor never saw what they hold.
    const auto old = platform::SetFileFaultHook([](platform::FileOp op, const std::filesystem::path& p) {
        if (op == platform::FileOp::Examine && p.filename() == "server.cfg") return EIO;
        if (op == platform::FileOp::Open && p.filename() == "server_bans.txt") return EIO;
        return 0;
    });
    Window w(dir.path());
    app::Editor& e = w.Start();
    platform::SetFileFaultHook(old);
    EXPECT_EQ(e.plugin.NameBans.rowCount(), 0);
    e.server.HostName.setText("Mine");
    w.dialogs.askAnswers.push_back(std::nullopt);
    EXPECT_FALSE(w.Save());
    EXPECT_EQ(dir.read("action/server_bans.txt"), kBans);
    EXPECT_EQ(dir.read("action/server.cfg"), kServerCfg);
}

TEST_F(StaleView, BWAdminAppearingAfterStartUpIsSaidNotDropped) {
    dir.write("action/tolvane.ini", kRegistry);
    dir.write("action/server.cfg", kServerCfg);
    Window w(dir.path());
    app::Editor& e = w.Start();
    ASSERT_TRUE(e.plugin.NoBWAdmin[0].visible());
    dir.write("action/bw-admin.cfg", kBWAdmin);
    w.dialogs.askAnswers.push_back(std::nullopt);
    EXPECT_FALSE(w.Save());
    EXPECT_TRUE(w.Said("bw-admin.cfg"));
    // Reloaded at the operator's word, the plug-in's settings are the file's.
    w.dialogs.askAnswers.push_back(1);
    EXPECT_TRUE(w.Save());
    EXPECT_FALSE(e.plugin.NoBWAdmin[0].visible());
    EXPECT_EQ(e.plugin.Admin.text(), "secret");
}

TEST_F(StaleView, IdenticalBytesLeaveFileAndBackupAlone) {
    WriteInstall();
    dir.write("action/server.bak", "the version before\r\n");
    Window w(dir.path());
    app::Editor& e = w.Start();
    e.server.HostName.setText("New Host");
    ASSERT_TRUE(w.Save());
    EXPECT_EQ(dir.read("action/server.bak"), kServerCfg);
    const std::string saved = dir.read("action/server.cfg");
    const auto stamp = std::filesystem::last_write_time(dir.path() / "action/server.cfg");
    // A second save (START SERVER right after SAVE SETTINGS) has nothing new to write: the
    // backup still holds the version before the first save.
    ASSERT_TRUE(w.Save());
    EXPECT_EQ(dir.read("action/server.bak"), kServerCfg);
    EXPECT_EQ(dir.read("action/server.cfg"), saved);
    EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "action/server.cfg"), stamp);
    EXPECT_NE(e.lastResult().find("unchanged"), std::string::npos) << e.lastResult();
}

// Two programs saving in turn, each from a view read before the other's save: every update
// either lands or is refused (exit 1, the file named); none is lost.
TEST_F(StaleView, TwoProcessesSavingInTurnLoseNoUpdate) {
    WriteInstall();
    constexpr int kRounds = 200;
    int pipeToChild[2][2];
    int pipeFromChild[2][2];
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        ASSERT_EQ(::pipe(pipeToChild[c]), 0);
        ASSERT_EQ(::pipe(pipeFromChild[c]), 0);
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] > 0) {
            ::close(pipeToChild[c][0]);
            ::close(pipeFromChild[c][1]);
        }
        if (children[c] == 0) {
            // Only its own ends stay open, so that it sees the end when the test closes them.
            ::close(pipeToChild[c][1]);
            ::close(pipeFromChild[c][0]);
            if (c == 1) {
                ::close(pipeToChild[0][1]);
                ::close(pipeFromChild[0][0]);
            }
            // The child: a long-lived editor that adds one ban a turn and saves, as an operator's
            // window would, nobody there to answer its questions.
            Window w(dir.path());
            w.Start();
            char go;
            for (int round = 0; ::read(pipeToChild[c][0], &go, 1) == 1; ++round) {
                w.editor->plugin.NameBans.append("p" + std::to_string(c) + "r" + std::to_string(round));
                w.dialogs.askAnswers.assign(1, std::nullopt);
                char result = w.Save() ? 'y' : (w.Said("server_bans.txt") ? 'n' : '?');
                // After a refusal the window is opened again, as the operator would.
                if (result != 'y') w.Start();
                if (::write(pipeFromChild[c][1], &result, 1) != 1) break;
            }
            ::_exit(0);
        }
    }
    std::vector<std::string> landed;
    int refused = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int c = round % 2;
        char go = 'g', result = 0;
        ASSERT_EQ(::write(pipeToChild[c][1], &go, 1), 1);
        ASSERT_EQ(::read(pipeFromChild[c][0], &result, 1), 1);
        ASSERT_NE(result, '?') << "a save failed without naming the ban list";
        if (result == 'y') landed.push_back("p" + std::to_string(c) + "r" + std::to_string(round / 2));
        else ++refused;
    }
    for (int c = 0; c < 2; ++c) {
        ::close(pipeToChild[c][1]);
        int status = 0;
        ::waitpid(children[c], &status, 0);
    }
    const std::string bans = dir.read("action/server_bans.txt");
    for (const auto& ban : landed) EXPECT_NE(bans.find("Name: " + ban + "\r\n"), std::string::npos) << ban;
    EXPECT_GT(refused, 0);
    EXPECT_GT(landed.size(), 0u);
}

TEST_F(StaleView, SwitchKeepsTheSharedFilesUnsaved) {
    dir.write("action/tolvane.ini",
              "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n");
    dir.write("action/server.cfg", kServerCfg);
    dir.write("action/maps.lst", "\"q2dm1\",\"The Edge\"\r\n");
    Window w(dir.path());
    app::Editor& e = w.Start();
    w.dialogs.inputAnswers.push_back("q2dm2");
    w.dialogs.inputAnswers.push_back("Tokay's Towers");
    ASSERT_EQ(e.form.click("ButtonNew"), "");
    ASSERT_TRUE(e.state.bMapsLstChanged);
    // The save dialog of the switch is cancelled: the catalogue edit is no file of either
    // configuration, so it stays to be saved.
    w.dialogs.dialogSteps.push_back([](platform::DialogModel&) {});
    ASSERT_TRUE(e.main.ConfigNameList.selectText("ctf"));
    EXPECT_EQ(e.state.strConfigName, "ctf");
    EXPECT_TRUE(e.state.bMapsLstChanged);
    EXPECT_TRUE(e.HasUnsavedChanges());
    ASSERT_TRUE(w.Save());
    EXPECT_NE(dir.read("action/maps.lst").find("q2dm2"), std::string::npos);
}

TEST_F(StaleView, NewConfigAsksBeforeReadingOverEdits) {
    WriteInstall();
    Window w(dir.path());
    app::Editor& e = w.Start();
    e.server.HostName.setText("Unsaved Host");
    // Cancel: no dialog opens, nothing is read over the edit.
    w.dialogs.askAnswers.push_back(2);
    EXPECT_FALSE(e.ButtonLoad_Click());
    EXPECT_EQ(e.server.HostName.text(), "Unsaved Host");
    ASSERT_EQ(w.dialogs.questions.size(), 1u);
    // Closed without an answer: the same.
    w.dialogs.askAnswers.push_back(std::nullopt);
    EXPECT_FALSE(e.ButtonLoad_Click());
    EXPECT_EQ(e.server.HostName.text(), "Unsaved Host");
    // Save: the edit is written before the new configuration's dialog opens.
    w.dialogs.askAnswers.push_back(0);
    w.dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    w.dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.hide(); });
    EXPECT_FALSE(e.ButtonLoad_Click());
    EXPECT_NE(dir.read("action/server.cfg").find("Unsaved Host"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::test
