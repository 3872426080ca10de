// The keyboard in the main window: a mnemonic on every row caption and no letter twice on a
// page, the keys of the grids, and the window's own keys.
#include "ui/QtSetup.h"  // first: see there

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>

#include "UiTestSupport.h"
#include "WindowHarness.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {
namespace {

struct KeyboardTest : ::testing::Test, test::WindowHarness {
    void SetUp() override {
        dir.write("action/bw-admin.cfg", "");
        dir.write("action/maps/alpha.bsp", "IBSP");
        dir.write("action/maps/beta.bsp", "IBSP");
        Start();
    }
    static void Select(QListView* view, int row) {
        view->setCurrentIndex(view->model()->index(row, 0));
    }
};

TEST_F(KeyboardTest, EveryRowCaptionHasAMnemonicAndNoPageRepeatsOne) {
    QString rowLetters;
    for (auto* b : window->findChildren<QPushButton*>()) {
        if (!window->tabs()->isAncestorOf(b)) rowLetters += MnemonicOf(b->text());
    }
    for (int i = 0; i < window->tabs()->count(); ++i) {
        QWidget* page = Tab(i);
        const std::string tab = window->tabs()->tabText(i).toStdString();
        // Three teams of "Name", "Model" and "Skin" rows have too few letters between them: on
        // their page the frames' digits reach the teams and not every row has a letter.
        const bool fewLetters = tab == "Team 2";
        QString seen = rowLetters;
        auto note = [&](const QString& caption, const std::string& what) {
            const QChar m = MnemonicOf(caption);
            if (m.isNull()) return;
            EXPECT_FALSE(seen.contains(m)) << tab << ": " << what << " repeats Alt+" << QString(m).toStdString();
            seen += m;
        };
        for (auto* label : page->findChildren<QLabel*>()) {
            if (!label->buddy()) continue;
            if (!fewLetters) {
                EXPECT_FALSE(MnemonicOf(label->text()).isNull()) << tab << ": " << label->text().toStdString();
            }
            note(label->text(), label->text().toStdString());
        }
        for (auto* button : page->findChildren<QAbstractButton*>()) note(button->text(), button->text().toStdString());
        for (auto* group : page->findChildren<QGroupBox*>()) note(group->title(), group->title().toStdString());
    }
}

TEST_F(KeyboardTest, GiveMnemonicsPrefersWordStartsAndKeepsDoubledAmpersands) {
    QWidget page;
    auto* field = new QListView(&page);
    auto* first = new QLabel(QStringLiteral("Max Rate"), &page);
    auto* second = new QLabel(QStringLiteral("Max Ping"), &page);
    auto* third = new QLabel(QStringLiteral("R&&D"), &page);
    auto* button = new QPushButton(QStringLiteral("&Go"), &page);
    for (QLabel* l : {first, second, third}) l->setBuddy(field);
    GiveMnemonics(&page, QStringLiteral("M"));
    EXPECT_EQ(first->text(), QStringLiteral("Max &Rate"));
    EXPECT_EQ(second->text(), QStringLiteral("Max &Ping"));
    EXPECT_EQ(third->text(), QStringLiteral("R&&&D"));
    EXPECT_EQ(button->text(), QStringLiteral("&Go"));
}

TEST_F(KeyboardTest, DeleteInsertEnterAndDoubleClickInTheGrids) {
    auto& f = editor->plugin;
    f.NameBans.append("alpha");
    f.NameBans.append("beta");
    auto* names = find<QListView>("NameBans");
    ASSERT_NE(names, nullptr);
    Select(names, 0);
    test::PressKey(names, Qt::Key_Delete);
    ASSERT_EQ(f.NameBans.rowCount(), 1);
    EXPECT_EQ(f.NameBans.text(0), "beta");

    dialogs.inputAnswers = {std::string("gamma"), std::string("Delta")};
    test::PressKey(names, Qt::Key_Insert);
    ASSERT_EQ(f.NameBans.rowCount(), 2);
    Select(names, 1);
    test::PressKey(names, Qt::Key_Return);  // edits the row in its input box
    EXPECT_EQ(f.NameBans.text(1), "Delta");
    EXPECT_EQ(dialogs.prompts.back(), "Name to ban:");

    // A double-click opens an address ban in the ban dialog, titled for editing.
    f.IPBans.append(" - 1.2.3.4/32");
    auto* ips = find<QListView>("IPBans");
    Select(ips, 0);
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) {
        auto& d = dynamic_cast<plugin::BanDialog&>(m);
        EXPECT_EQ(d.title(), "Edit BW Admin Ban");
        d.IP.setText("1.2.3.5");
        d.ButtonSave.click();
    });
    Q_EMIT ips->doubleClicked(ips->currentIndex());
    EXPECT_EQ(f.IPBans.text(0), " - 1.2.3.5/32");

    // The Maps tab: Enter on an available map adds it, on a rotation map takes it out.
    auto* available = find<QListView>("MapDir");
    auto* rotation = find<QListView>("MapIni");
    ASSERT_TRUE(available && rotation);
    const int inRotation = editor->mapFields.MapIni.rowCount();
    Select(available, 0);
    test::PressKey(available, Qt::Key_Enter, QString(), Qt::KeypadModifier);
    EXPECT_EQ(editor->mapFields.MapIni.rowCount(), inRotation + 1);
    Select(rotation, editor->mapFields.MapIni.rowCount() - 1);
    Q_EMIT rotation->doubleClicked(rotation->currentIndex());
    EXPECT_EQ(editor->mapFields.MapIni.rowCount(), inRotation);
    Select(available, 0);
    Q_EMIT available->doubleClicked(available->currentIndex());
    Select(rotation, editor->mapFields.MapIni.rowCount() - 1);
    test::PressKey(rotation, Qt::Key_Delete);
    EXPECT_EQ(editor->mapFields.MapIni.rowCount(), inRotation);
}

// Keys reach a shortcut through the window system, which a test cannot type into: each key's
// shortcut is found on the window and fired as the system would.
TEST_F(KeyboardTest, WindowKeysSaveShowAboutAndStepThroughTheTabsInUse) {
    auto key = [&](const QKeySequence& keys) {
        for (auto* s : window->findChildren<QShortcut*>())
            if (s->key() == keys && s->isEnabled()) {
                Q_EMIT s->activated();
                return true;
            }
        return false;
    };
    QTabWidget* tabs = window->tabs();
    tabs->setTabEnabled(MainWindow::kBWAdmin1Tab, false);
    tabs->setCurrentIndex(MainWindow::kBWAdmin1Tab - 1);
    const QKeySequence next(Qt::CTRL | Qt::Key_PageDown), previous(Qt::CTRL | Qt::Key_PageUp);
    ASSERT_TRUE(key(next));
    EXPECT_EQ(tabs->currentIndex(), MainWindow::kBWAdmin1Tab + 1);  // the tab that is off is passed by
    key(previous);
    EXPECT_EQ(tabs->currentIndex(), MainWindow::kBWAdmin1Tab - 1);
    tabs->setCurrentIndex(0);
    key(previous);
    EXPECT_EQ(tabs->currentIndex(), tabs->count() - 1);

    int saves = 0, abouts = 0;
    editor->main.ButtonSave.clicked.attach([&] { ++saves; });
    editor->main.ButtonAbout.clicked.attach([&] { ++abouts; });
    dialogs.dialogSteps.push_back([](platform::DialogModel& save) { save.closedByFrame(); });
    EXPECT_TRUE(key(QKeySequence::Save));
    EXPECT_TRUE(key(QKeySequence(Qt::Key_F1)));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(abouts, 1);
}

}  // namespace
}  // namespace tolvane::ui
