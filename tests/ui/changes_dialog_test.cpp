// The "Changes" window: what SAVE SETTINGS would write, file by file, shown without writing, and
// taken again after further edits; Ctrl+D opens it.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>

#include "UiTestSupport.h"
#include "WindowHarness.h"
#include "ui/ChangesDialog.h"

namespace tolvane::ui {
namespace {

struct ChangesWindowTest : ::testing::Test, test::WindowHarness {
    const std::string cfg = "set hostname \"Old\"\r\nset custom 1\r\n";
    void SetUp() override {
        dir.write("action/server.cfg", cfg);
        dir.write("action/tolvane.ini", "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n");
        Start();
    }
    QStringList Items(ChangesDialog& d) {
        QStringList out;
        for (int i = 0; i < d.files()->count(); ++i) out << d.files()->item(i)->text();
        return out;
    }
};

TEST_F(ChangesWindowTest, ShowsEachFileTheSaveWouldWriteAndWritesNothing) {
    editor->server.HostName.setText("New");
    ChangesDialog dialog([this] { return editor->PreviewChanges(); });
    const QStringList items = Items(dialog);
    EXPECT_TRUE(items.contains(QStringLiteral("action/server.cfg: changed"))) << items.join(QLatin1Char('|')).toStdString();
    // The file shown first is one with something to show, and its diff is a unified diff.
    const QString shown = dialog.diff()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("-set hostname \"Old\""))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("@@ "))) << shown.toStdString();
    EXPECT_TRUE(dialog.summary()->text().endsWith(QStringLiteral("Nothing has been written.")));
    EXPECT_EQ(dir.read("action/server.cfg"), cfg);
    EXPECT_FALSE(dir.exists("action/tolvane.lock"));

    // An unchanged file says so in place of a diff.
    for (int i = 0; i < dialog.files()->count(); ++i) {
        if (!dialog.files()->item(i)->text().endsWith(QStringLiteral("left as it is"))) continue;
        dialog.files()->setCurrentRow(i);
        EXPECT_TRUE(dialog.diff()->toPlainText().contains(QStringLiteral("already holds"))) << dialog.diff()->toPlainText().toStdString();
    }

    // The edit taken back: looking again no longer shows the new name.
    editor->server.HostName.setText("Old");
    dialog.refresh();
    const int row = static_cast<int>(Items(dialog).indexOf(QStringLiteral("action/server.cfg: changed")));
    if (row >= 0) dialog.files()->setCurrentRow(row);
    EXPECT_FALSE(dialog.diff()->toPlainText().contains(QStringLiteral("New"))) << dialog.diff()->toPlainText().toStdString();
}

TEST_F(ChangesWindowTest, CtrlDOpensIt) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<ChangesDialog*>(QApplication::activeModalWidget());
        opened = d != nullptr;
        if (d) d->reject();
    });
    bool found = false;
    for (auto* s : window->findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::CTRL | Qt::Key_D)) {
            found = true;
            Q_EMIT s->activated();
        }
    EXPECT_TRUE(found);
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace tolvane::ui
