// What a save will change: the preview of an editor on a copy of the demo directory, the patch
// it gives, and the headless --diff. A preview writes nothing, takes no lock and leaves the
// editor as it was.
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "changes/ChangePreview.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using changes::FileChange;
using Kind = changes::FileChange::Kind;

// Every file and folder under a directory, by its path relative to it, with its bytes.
using Tree = std::map<std::string, std::string>;
Tree Snapshot(const fs::path& root, bool skipBackups = false) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(entry.path(), root).generic_string();
        if (skipBackups && (entry.path().extension() == ".bak" || entry.path().filename() == "tolvane.lock")) continue;
        if (entry.is_directory()) {
            tree[rel + "/"];
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        tree[rel] = bytes.str();
    }
    return tree;
}

// The paths that one tree has and the other has not, or has with other bytes.
std::string Differences(const Tree& a, const Tree& b) {
    std::set<std::string> names;
    for (const auto& [name, bytes] : a)
        if (!b.count(name) || b.at(name) != bytes) names.insert(name);
    for (const auto& [name, bytes] : b)
        if (!a.count(name)) names.insert(name);
    std::string out;
    for (const std::string& n : names) out += n + " ";
    return out;
}

void CopyDemo(const fs::path& to) {
    fs::copy(fs::path(TOLVANE_SOURCE_DIR) / "demo" / "quake2", to, fs::copy_options::recursive);
}

const FileChange* Find(const std::vector<FileChange>& changes, const std::string& displayPath) {
    for (const FileChange& c : changes)
        if (c.displayPath == displayPath) return &c;
    return nullptr;
}

struct Preview : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem files{dir.path()};
    test::ScriptedDialogs dialogs;
    test::RecordingProgress progress;
    test::RecordingLauncher launcher;
    std::unique_ptr<app::Editor> e;

    void SetUp() override { CopyDemo(dir.path()); }
    void Start() {
        e = std::make_unique<app::Editor>(files, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    std::string Dump() const {
        std::ostringstream out;
        e->Dump(out);
        return out.str();
    }
};

TEST_F(Preview, ListsTheFilesASaveWritesAndChangesNothing) {
    Start();
    ASSERT_EQ(e->form.set("HostName", "Preview Host"), "");
    const Tree disk = Snapshot(dir.path());
    const std::string shown = Dump();
    const bool unsaved = e->HasUnsavedChanges();
    const bool configurationUnsaved = e->ConfigurationUnsaved();

    const std::vector<FileChange> changes = e->PreviewChanges();

    // The registry first, as SAVE SETTINGS writes it before the other files.
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes[0].path, "action\\tolvane.ini");
    EXPECT_EQ(changes[0].kind, Kind::Unchanged);
    const FileChange* cfg = Find(changes, "action/server.cfg");
    ASSERT_NE(cfg, nullptr);
    EXPECT_EQ(cfg->path, "action\\server.cfg");
    EXPECT_EQ(cfg->kind, Kind::Changed);
    EXPECT_EQ(cfg->oldText, dir.read("action/server.cfg"));
    const std::string patch = changes::UnifiedDiffOf({*cfg});
    EXPECT_EQ(patch.substr(0, 50), "--- a/action/server.cfg\n+++ b/action/server.cfg\n@@");
    EXPECT_NE(patch.find("\n \r\n-hostname \"Tolvane Demo Server\"\r\n+hostname \"Preview Host\"\r\n"
                         " rcon_password opensesame\r\n"),
              std::string::npos)
        << patch;
    const FileChange* motd = Find(changes, "action/motd.txt");
    ASSERT_NE(motd, nullptr);
    EXPECT_EQ(motd->kind, Kind::Unchanged);
    EXPECT_EQ(changes::UnifiedDiffOf({*motd}), "");

    // Nothing on disk changed, not even a lock file, nothing was shown, and the editor is as it
    // was: its controls, its state, its unsaved edits and its save session.
    EXPECT_EQ(Differences(Snapshot(dir.path()), disk), "");
    EXPECT_FALSE(dir.exists("action/tolvane.lock"));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(Dump(), shown);
    EXPECT_EQ(e->HasUnsavedChanges(), unsaved);
    EXPECT_EQ(e->ConfigurationUnsaved(), configurationUnsaved);
    EXPECT_EQ(e->lastResult(), "");
    const SaveSession& session = e->state.save;
    EXPECT_EQ(session.depth, 0);
    EXPECT_FALSE(session.rehearsal || session.failed || session.refused);
    EXPECT_TRUE(session.planned.empty() && session.unchanged.empty() && session.backups.empty());
    EXPECT_FALSE(e->state.noWrites);

    // The save that follows writes what the preview showed.
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/server.cfg"), cfg->newText);
}

// The patch of a preview, applied to a copy of the directory, makes what the save then writes:
// a file changed, one created, one set aside, and the registry.
TEST_F(Preview, ThePatchMakesWhatTheSaveWrites) {
    fs::remove(dir.path() / "action/motd.txt");
    Start();
    test::TempDir copy;
    fs::copy(dir.path(), copy.path(), fs::copy_options::recursive);
    ASSERT_EQ(e->form.set("HostName", "Patched Host"), "");
    ASSERT_EQ(e->form.set("MOTDText", "Welcome\r\nto the preview"), "");
    ASSERT_EQ(e->form.set("CommandLine", "+set maxrate 9000"), "");
    e->mapFields.MapList.clear();
    e->state.bMapsLstChanged = true;

    const std::vector<FileChange> changes = e->PreviewChanges();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes[0].displayPath, "action/tolvane.ini");
    EXPECT_EQ(changes[0].kind, Kind::Changed);
    const FileChange* motd = Find(changes, "action/motd.txt");
    ASSERT_NE(motd, nullptr);
    EXPECT_EQ(motd->kind, Kind::Created);
    const FileChange* maps = Find(changes, "action/maps.lst");
    ASSERT_NE(maps, nullptr);
    EXPECT_EQ(maps->kind, Kind::SetAside);
    const std::string patch = changes::UnifiedDiffOf(changes);
    EXPECT_NE(patch.find("--- /dev/null\n+++ b/action/motd.txt\n@@ -0,0 +1"), std::string::npos) << patch;
    EXPECT_NE(patch.find("--- a/action/maps.lst\n+++ /dev/null\n@@ -1,"), std::string::npos) << patch;

    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    ASSERT_TRUE(e->ButtonSave_Click());
    EXPECT_TRUE(dir.exists("action/maps.bak"));
    EXPECT_FALSE(dir.exists("action/maps.lst"));
    // Saved now: nothing is left to change.
    EXPECT_EQ(changes::UnifiedDiffOf(e->PreviewChanges()), "");

    if (!fs::exists("/usr/bin/patch")) GTEST_SKIP() << "no /usr/bin/patch";
    copy.write("change.patch", patch);
    const std::string cmd = "/usr/bin/patch -s -p1 -d '" + copy.path().string() + "' -i '" +
                            (copy.path() / "change.patch").string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << patch;
    fs::remove(copy.path() / "change.patch");
    // The backups the save made are what a patch cannot say.
    EXPECT_EQ(Differences(Snapshot(copy.path(), true), Snapshot(dir.path(), true)), "");
}

// --diff: the patch on standard output, 1 with changes and 0 without, nothing written; the
// steps before it apply first.
TEST_F(Preview, HeadlessDiffPrintsThePatchAndWritesNothing) {
    std::ostringstream out, err;
    auto run = [&](std::vector<std::string> args) {
        out.str({});
        err.str({});
        args.push_back(dir.path().string());
        const app::Options o = app::ParseCommandLine(args);
        EXPECT_EQ(o.error, "");
        return app::RunHeadless(o, out, err);
    };
    const Tree disk = Snapshot(dir.path());
    EXPECT_EQ(run({"--set", "HostName=Diffed Host", "--diff"}), 1);
    EXPECT_NE(out.str().find("+hostname \"Diffed Host\"\r\n"), std::string::npos) << out.str();
    EXPECT_EQ(err.str(), "");
    // A switch of configuration comes first: the patch is of that configuration's files.
    EXPECT_EQ(run({"--config", "ctf", "--set", "HostName=Flag Host", "--diff"}), 1);
    EXPECT_NE(out.str().find("+++ b/action/ctf.cfg\n"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("action/server.cfg"), std::string::npos) << out.str();
    // A name that does not exist: nothing runs.
    EXPECT_EQ(run({"--set", "NoSuchField=1", "--diff"}), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(Differences(Snapshot(dir.path()), disk), "");

    ASSERT_EQ(run({"--save"}), 0);
    EXPECT_EQ(run({"--diff"}), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(app::ParseCommandLine({"--diff", "--save"}).error, "");
}

}  // namespace
}  // namespace tolvane
