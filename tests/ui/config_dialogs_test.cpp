// The windows of the configuration dialogs: what they show, and that the keyboard confirms
// and cancels through the dialog model.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "UiTestSupport.h"
#include "registry/ConfigDialogs.h"
#include "support/TestSupport.h"
#include "ui/ConfigDialogWindows.h"

namespace tolvane::ui {
namespace {

struct SaveWindowTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    QtDialogs dialogs;
    platform::NullProgress progress;
    AppState state;
    Context ctx{fs, dialogs, progress, state};
    form::ComboList list{"ConfigNameList"};
    form::TextBox commandLine{"CommandLine"};
    registry::SaveDialog model{{ctx, list, commandLine}};
    QTimer watchdog;

    void SetUp() override {
        dir.mkdir("action");
        list.addItem("default");
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
        RegisterConfigDialogs(dialogs);
        // A failed step must not leave the modal loop running: cancel after a while. The timer
        // belongs to the fixture, so it cannot fire into a later test.
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (model.visible()) model.ButtonCancel.click();
        });
        watchdog.start(5000);
    }
    static QDialog* Shown() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) return d;
        return nullptr;
    }
};

TEST_F(SaveWindowTest, EnterConfirmsWithTheTypedFileName) {
    QTimer::singleShot(0, [&] {
        QDialog* d = Shown();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Save Configuration"));
        bool nameShown = false;
        for (auto* l : d->findChildren<QLabel*>()) nameShown = nameShown || l->text() == QStringLiteral("default");
        EXPECT_TRUE(nameShown);
        auto* focused = qobject_cast<QLineEdit*>(d->focusWidget());
        ASSERT_NE(focused, nullptr);  // the file name box has the focus, not Rename
        focused->selectAll();
        test::Type(focused, QStringLiteral("duel.cfg"));
        test::PressKey(focused, Qt::Key_Return);
    });
    EXPECT_TRUE(model.GetFileNames());
    EXPECT_EQ(state.strServerCfgFileName, "duel.cfg");
    EXPECT_EQ(dir.read("action/tolvane.ini"), "\"default\"\r\n\"default\",\"duel.cfg\",\"action.ini\",\"\"\r\n");
}

TEST_F(SaveWindowTest, EscapeCancelsAndRecordsNothing) {
    QTimer::singleShot(0, [&] { test::PressKey(Shown(), Qt::Key_Escape); });
    EXPECT_FALSE(model.GetFileNames());
    EXPECT_FALSE(dir.exists("action/tolvane.ini"));
}

TEST_F(SaveWindowTest, LoadWindowProposesTheNameSelectedAndIsWideEnough) {
    registry::LoadDialog load{{ctx, list, commandLine}};
    state.strConfigName = "default";
    QTimer::singleShot(0, [&] {
        QDialog* d = Shown();
        ASSERT_NE(d, nullptr);
        // The whole title fits, with room for the frame's buttons.
        EXPECT_GT(d->width(), d->fontMetrics().horizontalAdvance(d->windowTitle()) + 100);
        auto* name = qobject_cast<QLineEdit*>(d->focusWidget());
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->selectedText(), QStringLiteral("default"));
        test::Type(name, QStringLiteral("FFA"));
        EXPECT_EQ(name->text(), QStringLiteral("FFA"));
        test::PressKey(name, Qt::Key_Escape);
    });
    EXPECT_FALSE(load.GetFileNames());
    EXPECT_EQ(load.ConfigName.text(), "FFA");
}

TEST_F(SaveWindowTest, OpeningTheDialogAgainLeavesNoHandlersBehind) {
    auto handlers = [&] {
        return model.ServerCfg.changed.handlerCount() + model.ButtonSave.clicked.handlerCount() +
               model.ButtonCancel.appearanceChanged.handlerCount() + model.ConfigName.appearanceChanged.handlerCount();
    };
    const std::size_t before = handlers();
    for (int round = 0; round < 3; ++round) {
        std::size_t whileOpen = 0;
        QTimer::singleShot(0, [&] {
            whileOpen = handlers();
            test::PressKey(Shown(), Qt::Key_Escape);
        });
        EXPECT_FALSE(model.GetFileNames());
        EXPECT_GT(whileOpen, before);  // the open window listens to its model
        EXPECT_EQ(handlers(), before) << "round " << round;
    }
}

}  // namespace
}  // namespace tolvane::ui
