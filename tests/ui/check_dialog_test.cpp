// The "Check" window: its findings, a finding that takes the operator to its field, and the
// question START SERVER asks when there are findings.
#include "UiTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/CheckDialog.h"
#include "ui/MainWindow.h"

namespace tolvane::ui {
namespace {

struct CheckWindowTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    test::ScriptedDialogs dialogs;
    platform::NullProgress progress;
    test::RecordingLauncher launcher;
    std::unique_ptr<app::Editor> editor;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        dir.write("quake2", "");
        dir.write("action/server.cfg", "hostname \"" + std::string(70, 'h') + "\"\r\nexec gone.cfg\r\n");
        editor = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        editor->StartUp();
        window = std::make_unique<MainWindow>(*editor);
        window->show();
    }
    // Runs `act` on the dialog once it is open (the caller then opens it).
    static void WhenOpen(std::function<void(CheckDialog*)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<CheckDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
    }
};

TEST_F(CheckWindowTest, ListsFindingsAndGoesToTheField) {
    window->tabs()->setCurrentIndex(3);
    QStringList rows;
    WhenOpen([&](CheckDialog* d) {
        for (int i = 0; i < d->list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = d->list()->topLevelItem(i);
            rows << item->text(0) + "|" + item->text(1);
        }
        QTreeWidgetItem* host = d->list()->topLevelItem(0);
        Q_EMIT d->list()->itemActivated(host, 0);  // closes the window
    });
    window->findChild<QPushButton*>(QStringLiteral("ButtonCheck"))->click();
    // A field shows the caption the page gives it; a line of the file shows as the check says.
    EXPECT_EQ(rows, QStringList({"action/server.cfg|Host Name", "action/server.cfg|exec gone.cfg"}));
    EXPECT_EQ(window->tabs()->tabText(window->tabs()->currentIndex()), QStringLiteral("Server 1"));
    EXPECT_EQ(window->focusWidget(), window->findChild<QLineEdit*>(QStringLiteral("HostName")));

    EXPECT_TRUE(window->goToControl("ScriptList"));
    EXPECT_EQ(window->tabs()->tabText(window->tabs()->currentIndex()), QStringLiteral("Scripts"));
    EXPECT_FALSE(window->goToControl("NoSuchControl"));
}

TEST_F(CheckWindowTest, StartServerAsksWhetherToStartAnyway) {
    auto confirmSave = [&] { dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); }); };
    confirmSave();
    WhenOpen([](CheckDialog* d) {
        EXPECT_EQ(d->list()->topLevelItemCount(), 2);
        d->findChild<QPushButton*>(QStringLiteral("CheckDoNotStart"))->click();
    });
    EXPECT_FALSE(editor->ButtonStart_Click());
    EXPECT_TRUE(launcher.commandLines.empty());

    confirmSave();
    WhenOpen([](CheckDialog* d) { d->findChild<QPushButton*>(QStringLiteral("CheckStartAnyway"))->click(); });
    EXPECT_TRUE(editor->ButtonStart_Click());
    EXPECT_EQ(launcher.commandLines.size(), 1u);
}


TEST_F(CheckWindowTest, ARotationFindingNamesTheFrameTheRotationSitsIn) {
    editor->mapFields.MapIni.append("nowhere");
    QStringList fields;
    WhenOpen([&](CheckDialog* d) {
        for (int i = 0; i < d->list()->topLevelItemCount(); ++i) fields << d->list()->topLevelItem(i)->text(1);
        d->reject();
    });
    window->findChild<QPushButton*>(QStringLiteral("ButtonCheck"))->click();
    EXPECT_TRUE(fields.contains(QStringLiteral("Server Map Order"))) << fields.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(fields.contains(QStringLiteral("MapIni")));
}


TEST(CheckWindow, LeavesNoEmptyBandWhenNothingIsFound) {
    CheckDialog dialog(CheckDialog::Purpose::Look, nullptr);
    auto* detail = dialog.findChild<QLabel*>(QStringLiteral("CheckDetail"));
    ASSERT_NE(detail, nullptr);
    dialog.setFindings({});
    EXPECT_TRUE(detail->isHidden());
    dialog.setFindings({{"action\\server.cfg", "line 3", "the line is too long", ""}});
    EXPECT_FALSE(detail->isHidden());
    EXPECT_EQ(detail->text(), QStringLiteral("action/server.cfg: line 3: the line is too long"));
}

}  // namespace
}  // namespace tolvane::ui
