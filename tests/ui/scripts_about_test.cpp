// The Scripts tab and the editor buttons beside the plug-in's file names as a user meets them,
// the link of the Team 2 tab, and the About window's support facts.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/AboutDialog.h"
#include "ui/Links.h"
#include "ui/MainWindow.h"
#include "ui/WindowHarness.h"

namespace tolvane::ui {
namespace {

struct ScriptsPageTest : ::testing::Test, test::WindowHarness {
    void TearDown() override { window.reset(); }
    template <typename W>
    W* Find(int tab, const char* name) {
        auto* w = Tab(tab)->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

TEST_F(ScriptsPageTest, ButtonsMoveScriptsAndOpenThemInTheEditor) {
    dir.write("action/server.cfg", "exec warmup.cfg\r\n");
    dir.write("action/ctf.cfg", "");
    dir.write("action/dm.cfg", "");
    dir.write("action/warmup.cfg", "");
    Start();
    auto* list = Find<QListView>(4, "ScriptList");
    auto* available = Find<QListView>(4, "ScriptDir");
    EXPECT_EQ(list->toolTip(), QStringLiteral("Scripts to execute prior to the server.cfg to set up other options"));
    EXPECT_EQ(available->toolTip(), QStringLiteral("Scripts available to be able to execute within the action directory"));
    EXPECT_EQ(Find<QPushButton>(4, "ButtonScriptAdd")->toolTip(), QStringLiteral("Move selected script to execute list"));
    ASSERT_EQ(available->model()->rowCount(), 2);

    // The user picks dm.cfg, moves it over, then up above warmup.cfg, and opens it.
    available->setCurrentIndex(available->model()->index(1, 0));
    Find<QPushButton>(4, "ButtonScriptAdd")->click();
    Find<QPushButton>(4, "ButtonScriptUp")->click();
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("dm.cfg"));
    EXPECT_EQ(list->currentIndex().row(), 0);
    Find<QPushButton>(4, "ButtonScriptEdit")->click();
    EXPECT_EQ(launcher.commandLines, (std::vector<std::string>{"notepad.exe action\\dm.cfg"}));

    // Beside the plug-in's file names on "BW Admin 2".
    auto* motd = Find<QPushButton>(9, "ButtonEditMOTD");
    EXPECT_EQ(motd->text(), QStringLiteral("Edit MOT&D"));
    EXPECT_EQ(motd->toolTip(), QStringLiteral("Edit the specified MOTD file"));
    EXPECT_EQ(Find<QPushButton>(9, "ButtonEditStuff")->toolTip(), QStringLiteral("Edit the specified client cfg script"));
    motd->click();
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Please enter a MOTD filename first!"}));

    // The Team 2 tab links to the mod's three-team play, opened by the desktop's browser.
    auto* link = Find<QLabel>(7, "HTTPThreeTeams");
    EXPECT_TRUE(link->openExternalLinks());
    EXPECT_TRUE(link->text().contains(QString::fromLatin1(links::kThreeTeams)));
}

TEST(AboutWindow, ShowsWhatASupportRequestNeedsAsCopyableText) {
    test::TempDir dir;
    form::Label about("AboutBox");
    about.setCaption("\rTolvane v1.3\r\rWritten by the Tolvane developers");
    AboutDialog dialog(about, QString::fromStdString(dir.path().string()));
    const QString directory = QDir::toNativeSeparators(QDir(QString::fromStdString(dir.path().string())).absolutePath());
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Quake2Directory"))->text(), directory);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Licence"))->text(),
              QStringLiteral("All rights reserved by the Tolvane developers."));

    const QString info = SystemInformationText(QString::fromStdString(dir.path().string()));
    EXPECT_TRUE(info.startsWith(QStringLiteral("Program: Tolvane 1.3\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Qt: %1").arg(QString::fromLatin1(qVersion()))));
    EXPECT_TRUE(info.contains(QStringLiteral("Operating system: ")));
    EXPECT_TRUE(info.contains(QStringLiteral("Quake 2 directory: ") + directory + QStringLiteral("\n")));

    // The button opens the text in a read-only box, selected for copying.
    QString shown;
    bool readOnly = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QStringLiteral("SystemInformation") || !w->isVisible()) continue;
            auto* text = w->findChild<QPlainTextEdit*>(QStringLiteral("SystemInformationText"));
            shown = text->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
            readOnly = text->isReadOnly();
            w->close();
        }
    });
    dialog.findChild<QPushButton*>(QStringLiteral("ButtonSysInfo"))->click();
    EXPECT_EQ(shown, info);
    EXPECT_TRUE(readOnly);
}

}  // namespace
}  // namespace tolvane::ui
