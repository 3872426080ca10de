#pragma once
// The main window on a fresh temporary Quake 2 directory, for the page tests: scripted dialogs,
// a recording launcher, and the editor's start-up run as the program runs it.
#include "ui/QtSetup.h"  // first: see there

#include <memory>

#include <QString>
#include <QTabWidget>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"

namespace tolvane::test {

struct WindowHarness {
    TempDir dir;
    platform::FileSystem fs{dir.path()};
    ScriptedDialogs dialogs;
    platform::NullProgress progress;
    RecordingLauncher launcher;
    std::unique_ptr<app::Editor> editor;
    std::unique_ptr<ui::MainWindow> window;

    // Builds the window over a new editor and runs the start-up on what the test wrote.
    void Start() {
        editor = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        window = std::make_unique<ui::MainWindow>(*editor);
        editor->StartUp();
        window->syncWindowState();
    }
    QWidget* Tab(int i) { return window->tabs()->widget(i); }
    template <typename W>
    W* find(const char* name) {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
};

}  // namespace tolvane::test
