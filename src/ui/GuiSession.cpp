#include "ui/GuiSession.h"

#include <QCoreApplication>

#include "ui/AboutDialog.h"
#include "ui/BanDialogWindow.h"
#include "ui/Bindings.h"
#include "ui/ConfigDialogWindows.h"
#include "ui/ServerPanel.h"

namespace tolvane::ui {

GuiSession::GuiSession(const std::string& quake2Dir)
    : files_(quake2Dir),
      progress_(splash_),
      launcher_(quake2Dir),
      editor_(files_, dialogs_, progress_, launcher_),
      watched_(files_.root(), files_.resolve("action")),
      window_(editor_) {
    RegisterConfigDialogs(dialogs_);
    RegisterBanDialog(dialogs_);
    dialogs_.setParent(&window_);
    window_.serverPanel()->watch(&watched_);

    // CANCEL CONFIG and closing the window end the program at once: nothing is saved or asked.
    auto quit = [this] {
        window_.hide();
        QCoreApplication::exit(0);
    };
    editor_.onQuit = quit;
    window_.onClosed = quit;
    editor_.onAbout = [this] {
        AboutDialog about(editor_.main.AboutBox, toQt(editor_.Directory()), &window_);
        about.exec();
    };
}

void GuiSession::start() {
    splash_.show();
    splash_.run(
        [this] {
            const auto begun = std::chrono::steady_clock::now();
            editor_.StartUp();
            startUpTime_ = std::chrono::steady_clock::now() - begun;
            window_.syncWindowState();
        },
        &window_);
}

}  // namespace tolvane::ui
