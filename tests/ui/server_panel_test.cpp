// The server panel: it appears with a start, shows what the server prints and its state, asks a
// running server for its status, and STOP SERVER ends it, asking first when players are on.
#include "ui/QtSetup.h"  // first: see there

#ifndef _WIN32

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "WindowHarness.h"
#include "server/ServerProcess.h"
#include "support/TestSupport.h"
#include "ui/ServerPanel.h"

namespace tolvane::ui {
namespace {

// Runs the panel's rounds until done() holds (twenty seconds at most).
bool RunUntil(ServerPanel* panel, const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        panel->poll();
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

struct ServerPanelTest : ::testing::Test, test::WindowHarness {
    std::unique_ptr<server::ServerProcess> watched;
    ServerPanel* panel = nullptr;

    void SetUp() override {
        dir.mkdir("action");
        std::filesystem::copy_file(TOLVANE_FAKESERVER, dir.path() / "quake2");
        Start();
        watched = std::make_unique<server::ServerProcess>(dir.path(), dir.path() / "action");
        panel = window->serverPanel();
        panel->watch(watched.get());
        window->show();
    }
    void TearDown() override {
        if (watched->running()) {
            watched->requestStop(std::chrono::milliseconds(0));
            RunUntil(panel, [&] { return !watched->running(); });
        }
        window.reset();
    }
    bool StartServer() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
        return editor->ButtonStart_Click();
    }
};

TEST_F(ServerPanelTest, AppearsWithAStartShowsTheOutputAndStops) {
    EXPECT_TRUE(panel->isHidden());
    editor->main.CommandLine.setText("out hello err oops hold");
    ASSERT_TRUE(StartServer()) << editor->lastResult();
    EXPECT_TRUE(RunUntil(panel, [&] { return panel->logView()->toPlainText().contains(QStringLiteral("oops")); }));
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(panel->logView()->toPlainText().contains(QStringLiteral("hello")));
    EXPECT_TRUE(panel->stateLabel()->text().startsWith(QStringLiteral("Running")));
    EXPECT_TRUE(panel->stopButton()->isEnabled());

    // Nothing answers the status query on the configured port: the panel says so.
    EXPECT_TRUE(RunUntil(panel, [&] { return panel->statusLabel()->text().contains(QStringLiteral("no answer")); }))
        << panel->statusLabel()->text().toStdString();

    panel->stopButton()->click();
    EXPECT_TRUE(RunUntil(panel, [&] { return !watched->running(); }));
    panel->poll();
    EXPECT_FALSE(panel->stopButton()->isEnabled());
    EXPECT_FALSE(panel->stateLabel()->text().startsWith(QStringLiteral("Running")));
    EXPECT_TRUE(dialogs.questions.empty());  // nobody was on the server
}

// A port of this machine nobody holds now.
int FreeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    socklen_t n = sizeof a;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    if (fd >= 0) ::close(fd);
    return port;
}

TEST_F(ServerPanelTest, ShowsTheStatusAnswerAndAsksBeforeStoppingWithPlayersOn) {
    const int port = FreeUdpPort();
    ASSERT_GT(port, 0);
    editor->server.Port.box.setText(std::to_string(port));
    // The stand-in answers the status query on the configured port, as the engines do.
    editor->main.CommandLine.setText("status " + std::to_string(port));
    ASSERT_TRUE(StartServer()) << editor->lastResult();
    const QString expected = QStringLiteral("Map: harbor; 2 of 16 players: Alice (score 12, ping 50), Bob (score 3, ping 80)");
    EXPECT_TRUE(RunUntil(panel, [&] {
        if (panel->statusLabel()->text() != expected) panel->askStatus();
        return panel->statusLabel()->text() == expected;
    })) << panel->statusLabel()->text().toStdString();

    // Players are on: STOP SERVER asks first, and keeping it running keeps it running.
    dialogs.askAnswers = {1};
    panel->stopButton()->click();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "2 players are on the server. Stop it anyway?");
    panel->poll();
    EXPECT_TRUE(watched->running());
    EXPECT_FALSE(watched->stopRequested());

    dialogs.askAnswers = {0};
    panel->stopButton()->click();
    EXPECT_TRUE(RunUntil(panel, [&] { return !watched->running(); }));
    EXPECT_TRUE(panel->stateLabel()->text().startsWith(QStringLiteral("Stopped"))) << panel->stateLabel()->text().toStdString();
}

}  // namespace
}  // namespace tolvane::ui

#endif
