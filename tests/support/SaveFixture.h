#pragma once
// A Quake 2 directory with a configuration of every file the save writes, and an editor started
// on it; the save dialog is confirmed as the user would.
#include <memory>

#include "app/Editor.h"
#include "registry/ConfigDialogs.h"
#include "support/TestSupport.h"

namespace tolvane::test {

struct SaveFixture : ::testing::Test {
    TempDir dir;
    platform::FileSystem fs{dir.path()};
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    RecordingLauncher launcher;
    std::unique_ptr<app::Editor> e;

    static constexpr const char* kRegistry =
        "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n";
    static constexpr const char* kServerCfg = "hostname \"Old Host\"\r\nset fraglimit 20\r\nset custom 1\r\n";
    static constexpr const char* kMotd = "Welcome\r\n";

    void WriteFiles() {
        dir.write("action/tolvane.ini", kRegistry);
        dir.write("action/server.cfg", kServerCfg);
        dir.write("action/motd.txt", kMotd);
    }
    void StartEditor() {
        e = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    // Queues a confirmed visit of the save dialog.
    void ConfirmSave() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    }
    // Makes a change the save must write to every file.
    void EditEverything() {
        e->server.HostName.setText("New Host");
        e->main.CommandLine.setText("+set maxrate 9000");
        e->main.MOTDText.setText("Welcome back\r\n");
    }
};

}  // namespace tolvane::test
