// Texts the window adds for the operator: a greyed control says why, the map-voting numbers
// have labels, and an input box is wide enough for its whole title.
#include "ui/QtSetup.h"  // first: see there

#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "UiTestSupport.h"
#include "WindowHarness.h"
#include "ui/QtDialogs.h"

namespace tolvane::ui {
namespace {

struct CaptionsTest : ::testing::Test, test::WindowHarness {};

TEST_F(CaptionsTest, GreyedTabAndViewerButtonsSayWhatIsMissing) {
    Start();
    const int bwAdmin1 = 8;
    ASSERT_EQ(window->tabs()->tabText(bwAdmin1), QStringLiteral("BW Admin 1"));
    EXPECT_FALSE(window->tabs()->isTabEnabled(bwAdmin1));
    EXPECT_TRUE(window->tabs()->tabToolTip(bwAdmin1).contains(QStringLiteral("no bw-admin.cfg")));
    int greyed = 0;
    for (auto* b : Tab(7)->findChildren<QPushButton*>()) {
        if (b->isEnabled()) continue;
        ++greyed;
        EXPECT_TRUE(b->toolTip().contains(QStringLiteral("md2view.exe"))) << b->toolTip().toStdString();
    }
    EXPECT_EQ(greyed, 3);
}

TEST_F(CaptionsTest, WithThePlugInAndAViewerNothingIsSaidMissing) {
    dir.write("action/bw-admin.cfg", "");
    dir.mkdir("aqskinview");
    Start();
    EXPECT_FALSE(window->tabs()->tabToolTip(8).contains(QStringLiteral("no bw-admin.cfg")));
    for (auto* b : Tab(7)->findChildren<QPushButton*>()) EXPECT_TRUE(b->isEnabled());
}

TEST_F(CaptionsTest, MapVotingNumbersHaveLabelsThatSayTheyAreNotSaved) {
    Start();
    QStringList captions;
    for (const char* name : {"Text1", "Text2", "Text3"}) {
        auto* field = find<QWidget>(name);
        ASSERT_NE(field, nullptr) << name;
        QLabel* caption = nullptr;
        for (auto* label : Tab(1)->findChildren<QLabel*>())
            if (label->buddy() && (label->buddy() == field || field->isAncestorOf(label->buddy()))) caption = label;
        ASSERT_NE(caption, nullptr) << name;
        captions << caption->text();
        EXPECT_TRUE(caption->toolTip().contains(QStringLiteral("Not saved"))) << name;
    }
    EXPECT_EQ(captions.size(), 3);
    EXPECT_EQ(captions.removeDuplicates(), 0);
}

TEST(InputBox, IsWideEnoughForItsTitleAndPrompt) {
    QInputDialog box;
    box.setWindowTitle(QStringLiteral("Rename Configuration"));
    const int forTitle = InputBoxWidth(box, QStringLiteral("New name:"));
    EXPECT_GE(forTitle, box.fontMetrics().horizontalAdvance(box.windowTitle()) + 100);
    const QString longPrompt(120, QLatin1Char('w'));
    EXPECT_GT(InputBoxWidth(box, longPrompt), box.fontMetrics().horizontalAdvance(longPrompt));
}

}  // namespace
}  // namespace tolvane::ui
