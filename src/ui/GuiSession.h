#pragma once
// Everything the windowed editor is made of, from the Quake 2 directory to the main window:
// the dialogs, the splash and its progress display, the launcher, the editor, the watched
// server and the window. The program runs one under QApplication::exec; the window benchmark
// drives one the same way.
#include "ui/QtSetup.h"  // first: see there

#include <chrono>
#include <string>

#include "app/Editor.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "server/ServerProcess.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"
#include "ui/SplashWindow.h"

namespace tolvane::ui {

class GuiSession {
public:
    // Needs a QApplication. Builds the windows; nothing is read yet.
    explicit GuiSession(const std::string& quake2Dir);
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    // Shows the splash, reads the Quake 2 directory once the event loop runs, then shows the
    // main window in its place.
    void start();

    // How long the reading of the directory took (zero until it is done).
    std::chrono::steady_clock::duration startUpTime() const { return startUpTime_; }

    app::Editor& editor() { return editor_; }
    MainWindow& window() { return window_; }

private:
    platform::FileSystem files_;
    QtDialogs dialogs_;
    SplashWindow splash_;
    SplashProgress progress_;
    platform::SystemProcessLauncher launcher_;
    app::Editor editor_;
    // The server START SERVER starts is watched by the window's panel. A server still running
    // when the program ends keeps running, recorded for "tolvane --stop".
    server::ServerProcess watched_;
    // Declared after the editor, so the window and its bindings go first.
    MainWindow window_;
    std::chrono::steady_clock::duration startUpTime_{};
};

}  // namespace tolvane::ui
