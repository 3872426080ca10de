// A configuration name holding "&" shows as itself in the save dialog and the rename prompt:
// Qt must not take it for a shortcut marker.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>

#include "registry/ConfigDialogs.h"
#include "support/TestSupport.h"
#include "ui/ConfigDialogWindows.h"
#include "ui/QtDialogs.h"

namespace tolvane::ui {
namespace {

// What a label puts on screen: with a buddy, "&&" is one "&" and a lone "&" marks the shortcut.
QString Displayed(const QLabel* label) {
    const QString text = label->text();
    if (!label->buddy()) return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) out += QLatin1Char('&');
            ++i;
            if (i < text.size() && text[i] != QLatin1Char('&')) out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

bool ShowsText(const QWidget* w, const QString& wanted) {
    for (const auto* l : w->findChildren<QLabel*>())
        if (Displayed(l) == wanted) return true;
    return false;
}

QWidget* Shown(const char* className) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(className)) return w;
    return nullptr;
}

TEST(Ampersands, ConfigurationNameShowsAsItselfInTheSaveDialogAndRenamePrompt) {
    test::TempDir dir;
    dir.mkdir("action");
    platform::FileSystem fs{dir.path()};
    QtDialogs dialogs;
    RegisterConfigDialogs(dialogs);
    platform::NullProgress progress;
    AppState state;
    state.strConfigName = "r&d";
    state.strServerCfgFileName = "server.cfg";
    state.strActionIniFileName = "action.ini";
    Context ctx{fs, dialogs, progress, state};
    form::ComboList list{"ConfigNameList"};
    form::TextBox commandLine{"CommandLine"};
    registry::SaveDialog model{{ctx, list, commandLine}};

    bool dialogChecked = false, promptChecked = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = Shown("QDialog");
        if (!d) return model.ButtonCancel.click();
        dialogChecked = ShowsText(d, QStringLiteral("r&d"));
        // Rename asks in an input box; look at it, then cancel it and the dialog.
        QTimer::singleShot(0, [&] {
            auto* input = qobject_cast<QInputDialog*>(Shown("QInputDialog"));
            if (input) {
                promptChecked = ShowsText(input, QStringLiteral("Rename r&d to?"));
                input->reject();
            }
        });
        model.ButtonRename.click();
        model.ButtonCancel.click();
    });
    EXPECT_FALSE(model.GetFileNames());
    EXPECT_TRUE(dialogChecked);
    EXPECT_TRUE(promptChecked);
}

}  // namespace
}  // namespace tolvane::ui
