// The window of the ban dialog: what each mode shows, typing and Enter saving the ban, and the
// window frame cancelling it.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "UiTestSupport.h"
#include "plugin/BanDialog.h"
#include "support/TestSupport.h"
#include "ui/BanDialogWindow.h"

namespace tolvane::ui {
namespace {

struct BanWindowTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    QtDialogs dialogs;
    platform::NullProgress progress;
    AppState state;
    Context ctx{fs, dialogs, progress, state};
    plugin::BanDialog model{ctx};
    QTimer watchdog;

    void SetUp() override {
        RegisterBanDialog(dialogs);
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

TEST_F(BanWindowTest, AddressBanTypedAndSavedWithEnter) {
    QTimer::singleShot(0, [&] {
        QDialog* d = Shown();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("New BW Admin Ban"));
        EXPECT_TRUE(d->findChild<QLineEdit*>(QStringLiteral("NameBan"))->isHidden());
        EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("NameBanHint"))->isHidden());
        auto* ip = qobject_cast<QLineEdit*>(d->focusWidget());
        ASSERT_NE(ip, nullptr);
        EXPECT_EQ(ip->objectName(), QStringLiteral("IP"));
        test::Type(ip, QStringLiteral("10.0.0.9"));
        test::PressKey(ip, Qt::Key_Return);
    });
    EXPECT_EQ(model.AddNewIP(), " - 10.0.0.9/32");
}

TEST_F(BanWindowTest, NameModeShowsTheNameAndTheFrameCancels) {
    QTimer::singleShot(0, [&] {
        QDialog* d = Shown();
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->findChild<QLineEdit*>(QStringLiteral("NameBan"))->isHidden());
        auto* refuse = d->findChild<QCheckBox*>(QStringLiteral("Refuse"));
        EXPECT_FALSE(refuse->isEnabled());
        EXPECT_FALSE(refuse->isChecked());
        test::Type(d->findChild<QLineEdit*>(QStringLiteral("IP")), QStringLiteral("1.2.3.4"));
        d->close();
    });
    EXPECT_EQ(model.AddNewNameIP(), "");
    EXPECT_FALSE(model.visible());
}

}  // namespace
}  // namespace tolvane::ui
