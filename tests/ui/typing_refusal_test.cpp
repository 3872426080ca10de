// Refusals as the operator types: a character a field cannot hold is dropped at the key, the
// reason shows in the status line, and no message box breaks into the typing.
#include "ui/QtSetup.h"  // first: see there

#include <QLineEdit>
#include <QStatusBar>

#include "UiTestSupport.h"
#include "WindowHarness.h"
#include "ui/NumericFieldWidget.h"
#include "ui/StatusLine.h"

namespace tolvane::ui {
namespace {

struct TypingRefusalTest : ::testing::Test, test::WindowHarness {
    void SetUp() override { Start(); }
};

TEST_F(TypingRefusalTest, DoubleQuoteIsDroppedAndTheRestOfTheTypingKept) {
    auto* host = find<QLineEdit>("HostName");
    ASSERT_NE(host, nullptr);
    host->setText(QString());
    editor->server.HostName.setText("");
    test::Type(host, QStringLiteral("X\"Harbor Ops"));
    EXPECT_EQ(host->text(), QStringLiteral("XHarbor Ops"));
    EXPECT_EQ(editor->server.HostName.text(), "XHarbor Ops");
    EXPECT_EQ(host->cursorPosition(), host->text().size());
    EXPECT_TRUE(dialogs.texts().empty());  // no box
    const QString said = window->statusLine()->currentMessage();
    EXPECT_TRUE(said.startsWith(QStringLiteral("You cannot enter a double quote (\") in "))) << said.toStdString();
    EXPECT_TRUE(said.endsWith(QStringLiteral("! The server would read the text cut short at it."))) << said.toStdString();
}

TEST_F(TypingRefusalTest, ValueReadWithAQuoteStaysEditableAndNumbersKeepTheirMessages) {
    // A host name read from a file may hold a quote; the operator can still type after it.
    editor->server.readingFile = true;
    editor->server.HostName.setText("a\"b");
    editor->server.readingFile = false;
    auto* host = find<QLineEdit>("HostName");
    host->end(false);
    test::Type(host, QStringLiteral("c"));
    EXPECT_EQ(editor->server.HostName.text(), "a\"bc");
    EXPECT_TRUE(window->statusLine()->currentMessage().isEmpty());

    // A number over its limit is still told in the system's own message box.
    auto* field = find<NumericFieldWidget>("MaxClients");
    ASSERT_NE(field, nullptr);
    field->lineEdit()->setText(QString());
    test::Type(field->lineEdit(), QStringLiteral("99999"));
    EXPECT_FALSE(dialogs.texts().empty());
}

}  // namespace
}  // namespace tolvane::ui
