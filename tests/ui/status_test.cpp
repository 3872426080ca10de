// The main window tells the operator what happened: the status line after typing, saving and
// starting, the directory being edited, and a configuration list that switches only on a pick.
#include "UiTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/StatusLine.h"

namespace tolvane::ui {
namespace {

using registry::SaveDialog;

struct StatusWindowTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    test::ScriptedDialogs dialogs;
    platform::NullProgress progress;
    test::RecordingLauncher launcher;
    std::unique_ptr<app::Editor> editor;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        dir.write("action/tolvane.ini",
                  "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
                  "\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n");
        dir.write("action/server.cfg", "set hostname \"Demo\"\r\n");
        Open();
    }
    void Open() {
        window.reset();
        editor = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        window = std::make_unique<MainWindow>(*editor);
        editor->StartUp();
        window->syncWindowState();
        window->show();
    }
    void TearDown() override { window.reset(); }
    void OnSave(std::function<void(SaveDialog&)> act) {
        dialogs.dialogSteps.push_back([act](platform::DialogModel& m) { act(dynamic_cast<SaveDialog&>(m)); });
    }
    template <typename W>
    W* Find(const char* name) {
        auto* w = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Result() const { return window->statusLine()->result()->fullText(); }
    bool UnsavedShown() const {
        QLabel* l = window->statusLine()->unsaved();
        return !l->isHidden() && l->text() == QStringLiteral("Unsaved changes");
    }
};

TEST_F(StatusWindowTest, TypingMarksUnsavedAndSavingClearsItAndSaysWhatWasWritten) {
    EXPECT_FALSE(UnsavedShown());
    auto* host = Find<QLineEdit>("HostName");
    host->setFocus();
    host->end(false);
    test::Type(host, QStringLiteral("!"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(UnsavedShown());

    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    Find<QPushButton>("ButtonSave")->click();
    EXPECT_FALSE(UnsavedShown());
    EXPECT_EQ(Result(), QStringLiteral("Saved action/server.cfg"));
    EXPECT_NE(dir.read("action/server.cfg").find("hostname \"Demo!\""), std::string::npos);
}

// No key or click is needed: a change the program makes (a reader, a button's handler, a
// command) shows too, once the event that made it is over; undoing it clears the mark.
TEST_F(StatusWindowTest, ChangesWithoutInputMarkUnsavedAndTheirUndoClearsIt) {
    editor->mapFields.MapList.append("newmap");
    EXPECT_FALSE(UnsavedShown());  // looked at once the event is over, not at each change
    QCoreApplication::processEvents();
    EXPECT_TRUE(UnsavedShown());
    editor->mapFields.MapList.remove(editor->mapFields.MapList.rowCount() - 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(UnsavedShown());
}

TEST_F(StatusWindowTest, FailedSaveAndStartAreReported) {
    dir.write("quake2.exe", "");  // the server program the Quake 2 directory holds
    test::Type(Find<QLineEdit>("HostName"), QStringLiteral("x"));
    // A directory where server.cfg should be: the file cannot be replaced.
    std::filesystem::remove(dir.path() / "action" / "server.cfg");
    dir.mkdir("action/server.cfg/in-the-way");
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    Find<QPushButton>("ButtonSave")->click();
    EXPECT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(Result().startsWith(QStringLiteral("Not every file was saved (see the message shown)")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(UnsavedShown());

    launcher.fail = true;
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    Find<QPushButton>("ButtonStart")->click();
    // server.cfg is still in the way: both the failed save and the failed start are told.
    EXPECT_EQ(Result(), QStringLiteral("Not every file was saved (see the message shown); nothing was written; "
                                       "unchanged: action/tolvane.ini. The server was not started: not found"));
    launcher.fail = false;
    std::filesystem::remove_all(dir.path() / "action" / "server.cfg");
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    Find<QPushButton>("ButtonStart")->click();
    EXPECT_EQ(Result(), QStringLiteral("Server started: quake2.exe +set game action +set ininame action.ini +set game "
                                       "action +set dedicated 0 +exec server.cfg. Saved action/server.cfg; unchanged: "
                                       "action/tolvane.ini"));
}

TEST_F(StatusWindowTest, DirectoryIsShownWithANoticeWhenItHasNoModDirectory) {
    QLabel* directory = window->statusLine()->directory();
    EXPECT_TRUE(directory->text().endsWith(QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(window->statusLine()->notice()->isHidden());

    std::filesystem::remove_all(dir.path() / "action");
    Open();
    EXPECT_FALSE(window->statusLine()->notice()->isHidden());
    EXPECT_TRUE(window->statusLine()->notice()->text().startsWith(QStringLiteral("No action directory here")));
}

TEST_F(StatusWindowTest, ConfigurationListSwitchesOnlyOnARealPick) {
    auto* configs = Find<QComboBox>("ConfigNameList");
    ASSERT_EQ(configs->count(), 2);
    auto* caption = qobject_cast<QLabel*>(configs->parentWidget()->findChild<QLabel*>());
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Configuration"));
    EXPECT_EQ(caption->buddy(), configs);

    Find<QLineEdit>("HostName")->end(false);
    test::Type(Find<QLineEdit>("HostName"), QStringLiteral("x"));
    // Re-picking the selected configuration: no save dialog (none is scripted), nothing reloaded.
    Q_EMIT configs->activated(configs->currentIndex());
    EXPECT_EQ(editor->server.HostName.text(), "Demox");

    // The wheel over the list while another control has the focus changes nothing.
    Find<QLineEdit>("HostName")->setFocus();
    const QPointF at(configs->width() / 2.0, configs->height() / 2.0);
    QWheelEvent down(at, configs->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(configs, &down);
    EXPECT_EQ(configs->currentIndex(), 0);
    EXPECT_EQ(editor->state.strConfigName, "default");

    // A real pick switches; the save dialog offered on the way is cancelled, and the typed edit
    // the switch reads over is dropped at the operator's word.
    OnSave([](SaveDialog& d) { d.ButtonCancel.click(); });
    dialogs.askAnswers.push_back(1);
    Q_EMIT configs->activated(1);
    EXPECT_EQ(editor->state.strConfigName, "ctf");
    EXPECT_EQ(Result(), QStringLiteral("Editing configuration ctf"));
}

}  // namespace
}  // namespace tolvane::ui

namespace tolvane::ui {
namespace {

TEST_F(StatusWindowTest, LongResultEndsInAnEllipsisAndAReportOfASaveGoesWithNewEdits) {
    dir.write("quake2.exe", "");
    launcher.processId = 4242;
    window->resize(640, 480);
    QCoreApplication::processEvents();
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    test::Type(Find<QLineEdit>("HostName"), QStringLiteral("x"));
    Find<QPushButton>("ButtonStart")->click();
    QCoreApplication::processEvents();
    ElidingLabel* result = window->statusLine()->result();
    ASSERT_TRUE(Result().startsWith(QStringLiteral("Server started (process 4242): quake2.exe ")));
    // Too long for the line: it ends in an ellipsis, and its tool tip holds it whole.
    EXPECT_TRUE(result->text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(result->text().startsWith(QStringLiteral("Server started (process 4242)")));
    EXPECT_EQ(result->toolTip(), Result());

    // A new edit: what the save wrote is no longer what the window shows, so that part goes;
    // the server still runs, so that part stays.
    test::Type(Find<QLineEdit>("HostName"), QStringLiteral("y"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(UnsavedShown());
    EXPECT_EQ(Result(), QStringLiteral("Server started (process 4242)"));

    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    Find<QPushButton>("ButtonSave")->click();
    test::Type(Find<QLineEdit>("HostName"), QStringLiteral("z"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(UnsavedShown());
    EXPECT_EQ(Result(), QString());
}

}  // namespace
}  // namespace tolvane::ui
