#include "ui/RunGui.h"

#include <QApplication>
#include <QIcon>

#include "ui/GuiSession.h"

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

    GuiSession session(quake2Dir);
    session.start();
    return QApplication::exec();
}

}  // namespace tolvane::ui
