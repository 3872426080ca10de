#pragma once
// An editor over a fresh temporary Quake 2 directory, with scripted dialogs, recorded progress
// and a recording launcher: what most editor tests start from.
#include <memory>

#include "app/Editor.h"
#include "support/TestSupport.h"

namespace tolvane::test {

struct EditorHarness {
    TempDir dir;
    platform::FileSystem fs{dir.path()};
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    RecordingLauncher launcher;

    // A new editor that has run its start-up on what the test wrote.
    std::unique_ptr<app::Editor> Start() {
        auto e = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        return e;
    }
};

}  // namespace tolvane::test
