#include "ui/RunGui.h"

#include <QApplication>
#include <QIcon>

#include "app/Editor.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "server/ServerProcess.h"
#include "ui/AboutDialog.h"
#include "ui/BanDialogWindow.h"
#include "ui/Bindings.h"
#include "ui/ConfigDialogWindows.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"
#include "ui/ServerPanel.h"
#include "ui/SplashWindow.h"

namespace tolvane::ui {

int RunGui(int argc, char** argv, const std::string& quake2Dir) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    // Every window of the program shows the icon; the desktop entry names it for menus.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tolvane.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("tolvane"));
    // The timer ends the program when the main window goes, not the last closed window (the
    // splash hides before the main window shows).
    QApplication::setQuitOnLastWindowClosed(false);

    platform::FileSystem files(quake2Dir);
    QtDialogs dialogs;
    RegisterConfigDialogs(dialogs);
    RegisterBanDialog(dialogs);
    SplashWindow splash;
    SplashProgress progress(splash);
    platform::SystemProcessLauncher launcher(quake2Dir);
    app::Editor editor(files, dialogs, progress, launcher);

    // The server START SERVER starts is watched by the window's panel. A server still running
    // when the program ends keeps running, recorded for "tolvane --stop".
    server::ServerProcess watched(files.root(), files.resolve("action"));

    // Declared after the editor, so the window and its bindings go first.
    MainWindow window(editor);
    dialogs.setParent(&window);
    window.serverPanel()->watch(&watched);

    // CANCEL CONFIG and closing the window end the program at once: nothing is saved or asked.
    auto quit = [&window] {
        window.hide();
        QCoreApplication::exit(0);
    };
    editor.onQuit = quit;
    window.onClosed = quit;
    editor.onAbout = [&] {
        AboutDialog about(editor.main.AboutBox, toQt(editor.Directory()), &window);
        about.exec();
    };

    splash.show();
    splash.run(
        [&] {
            editor.StartUp();
            window.syncWindowState();
        },
        &window);
    return QApplication::exec();
}

}  // namespace tolvane::ui
