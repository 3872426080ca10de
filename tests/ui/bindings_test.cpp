// The widget <-> model bindings: what the user does reaches the model through its setters, what
// the program does shows in the widget, and neither echoes back.
#include "UiTestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "ui/Bindings.h"

namespace tolvane::ui {
namespace {

// Widgets need a parent to be shown and hidden like those of a window. Every test declares its
// models before the window, so that the models outlive the widgets bound to them.
template <typename W>
W* AddTo(QWidget& window, W* w) {
    if (!window.layout()) new QVBoxLayout(&window);
    window.layout()->addWidget(w);
    return w;
}

struct TextBoxTest : ::testing::Test {
    form::TextBox box{"HostName"};
    int changes = 0;
    QWidget window;
    QLineEdit* edit = nullptr;
    void SetUp() override {
        box.changed.attach([this] { ++changes; });
        edit = AddTo(window, new QLineEdit);
        bindTextBox(BindingsOf(&window), edit, box);
    }
};

TEST_F(TextBoxTest, TypingReachesTheModelOnceAKeyAndProgramChangesShowWithoutEcho) {
    test::Type(edit, QStringLiteral("ab"));
    EXPECT_EQ(box.text(), "ab");
    EXPECT_EQ(changes, 2);

    box.setText("server one");
    EXPECT_EQ(edit->text(), QStringLiteral("server one"));
    EXPECT_EQ(changes, 3);  // the widget's own change did not come back
    EXPECT_EQ(edit->cursorPosition(), 0);
}

TEST_F(TextBoxTest, EightBitBytesPassUnchangedBothWays) {
    box.setText("caf\xE9 \xA7\xFF");
    EXPECT_EQ(edit->text(), QString::fromUtf8("caf\u00E9 \u00A7\u00FF"));
    edit->selectAll();
    test::Type(edit, QString::fromUtf8("\u00FC"));
    EXPECT_EQ(box.text(), "\xFC");
}

TEST_F(TextBoxTest, ProgramSelectionAndFocusRequestsReachTheWidget) {
    window.show();
    box.setText("27910");
    box.setSelection(1, 3);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("791"));
    window.activateWindow();
    QApplication::processEvents();
    box.requestFocus();
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(TextBoxTest, AppearanceFollowsTheModel) {
    window.show();
    box.setToolTip("Name of your server");
    box.setEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->toolTip(), QStringLiteral("Name of your server"));
    box.setVisible(false);
    EXPECT_FALSE(edit->isVisible());
    box.setVisible(true);
    EXPECT_TRUE(edit->isVisible());
}

TEST(Binding, MultiLineTextKeepsWindowsLineEnds) {
    form::TextBox motd{"MOTDText"};
    int changes = 0;
    motd.changed.attach([&] { ++changes; });
    QWidget window;
    auto* edit = AddTo(window, new QPlainTextEdit);
    bindTextBox(BindingsOf(&window), edit, motd);

    motd.setText("line one\r\nline two\rline three\nend");
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("line one\nline two\nline three\nend"));
    EXPECT_EQ(changes, 1);  // showing the text changed nothing in the model

    edit->moveCursor(QTextCursor::End);
    test::Type(edit, QStringLiteral("!"));
    EXPECT_EQ(motd.text(), "line one\r\nline two\r\nline three\r\nend!");
}

TEST(Binding, CheckBoxShowsGreyOnlyWhileTheModelHoldsIt) {
    form::CheckBox model{"Dedicated"};
    model.setCaption("Dedicated");
    QWidget window;
    auto* check = AddTo(window, new QCheckBox);
    bindCheckBox(BindingsOf(&window), check, model);
    EXPECT_EQ(check->text(), QStringLiteral("Dedicated"));
    EXPECT_EQ(check->checkState(), Qt::Unchecked);

    model.setValue(2);
    EXPECT_TRUE(check->isTristate());
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);

    // A click on a greyed box ticks it; from then on the user only ticks and clears.
    check->click();
    EXPECT_EQ(model.value(), 1);
    EXPECT_FALSE(check->isTristate());
    check->click();
    EXPECT_EQ(model.value(), 0);
    check->click();
    EXPECT_EQ(model.value(), 1);

    model.setValue(0);
    EXPECT_EQ(check->checkState(), Qt::Unchecked);
}

TEST(Binding, ComboSelectionBothWaysAndRefill) {
    form::ComboList list{"Strict"};
    int selections = 0;
    list.selected.attach([&] { ++selections; });
    list.addItem("Disable Checking");
    list.addItem("Enable Checking");
    list.addItem("Enable Checking but allow NAT routers");
    QWidget window;
    auto* combo = AddTo(window, new QComboBox);
    bindComboList(BindingsOf(&window), combo, list);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), -1);

    list.setSelectedIndex(2);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(selections, 1);  // showing the selection did not select again

    // The user's choice (arrow key on the closed list) selects in the model, once.
    test::PressKey(combo, Qt::Key_Up);
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(selections, 2);

    list.setItems({"actionmale", "actionfemale"});
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("actionfemale"));
    EXPECT_EQ(combo->currentIndex(), -1);
}

QString RowText(QListView* view, int row) { return view->model()->index(row, 0).data().toString(); }

TEST(Binding, GridRowsAndCurrentRowBothWays) {
    form::Grid grid{"IPBans"};
    QWidget window;
    auto* view = AddTo(window, new QListView);
    bindGrid(BindingsOf(&window), view, grid);
    EXPECT_EQ(view->model()->rowCount(), 0);

    grid.append("10.0.0.1");
    grid.append("10.0.0.2");
    grid.append("192.168.1.0/24");
    ASSERT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(RowText(view, 2), QStringLiteral("192.168.1.0/24"));
    EXPECT_EQ(view->currentIndex().row(), 0);

    view->setCurrentIndex(view->model()->index(2, 0));  // as a click on the row does
    EXPECT_EQ(grid.currentRow(), 2);

    grid.remove(2);
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->currentIndex().row(), grid.currentRow());
    grid.insert(0, "10.0.0.9");
    EXPECT_EQ(RowText(view, 0), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(RowText(view, 2), QStringLiteral("10.0.0.2"));

    grid.clear();
    EXPECT_EQ(view->model()->rowCount(), 0);
    EXPECT_FALSE(view->currentIndex().isValid());
    EXPECT_EQ(grid.currentRow(), -1);
}

TEST(Binding, ButtonsPressTheModelAndKeepTheirMnemonic) {
    form::Button model{"ButtonSave"};
    model.setCaption("SAVE SETTINGS");
    model.setToolTip("Save the settings");
    int clicks = 0;
    model.clicked.attach([&] { ++clicks; });
    QWidget window;
    auto* button = AddTo(window, new QPushButton(QStringLiteral("&SAVE SETTINGS")));
    bindButton(BindingsOf(&window), button, model);
    EXPECT_EQ(button->text(), QStringLiteral("&SAVE SETTINGS"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Save the settings"));
    button->click();
    EXPECT_EQ(clicks, 1);

    model.setCaption("MD2View");  // a real change of caption replaces the designed one
    EXPECT_EQ(button->text(), QStringLiteral("MD2View"));
    model.setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
}

TEST(Captions, DoubleAmpersandShowsAsOne) {
    EXPECT_EQ(plainCaption("Grenades Stay && No Drop Special"), QStringLiteral("Grenades Stay & No Drop Special"));
    EXPECT_EQ(plainCaption("&About"), QStringLiteral("About"));
    EXPECT_EQ(plainCaption("a&&&b&"), QStringLiteral("a&b"));

    form::Label model{"Notice"};
    form::CheckBox box{"GrenadesStay"};
    QWidget parent;

    // A label without a buddy shows its text as it is: the binding converts.
    model.setCaption("Teams && Maps\rsecond line");
    auto* label = new QLabel(&parent);
    bindLabel(BindingsOf(&parent), label, model);
    EXPECT_EQ(label->text(), QStringLiteral("Teams & Maps\nsecond line"));

    // Check boxes and buttons show "&&" as one "&" themselves; the text passes unchanged and
    // reads as one "&" (as screen readers get it).
    box.setCaption("Grenades Stay && No Drop Special");
    auto* check = new QCheckBox(&parent);
    bindCheckBox(BindingsOf(&parent), check, box);
    EXPECT_EQ(check->text(), QStringLiteral("Grenades Stay && No Drop Special"));
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(check);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(QAccessible::Name), QStringLiteral("Grenades Stay & No Drop Special"));
}

TEST(Binding, LabelVisibilityFollowsTheModelOnAShownWindow) {
    form::Label model{"SkinViewHelp"};
    model.setCaption("No viewer");
    model.setVisible(false);
    QWidget window;
    auto* label = AddTo(window, new QLabel);
    bindLabel(BindingsOf(&window), label, model);
    window.show();
    EXPECT_FALSE(label->isVisible());
    model.setVisible(true);
    EXPECT_TRUE(label->isVisible());
}

}  // namespace
}  // namespace tolvane::ui
