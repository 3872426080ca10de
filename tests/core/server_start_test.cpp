// START SERVER with the server watched: a second start asks to restart the running server or
// leave it, a port another program holds stops the start, and a server started and let go is
// recorded for --stop.
#include <memory>
#include <sstream>

#ifndef _WIN32
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "server/ServerProcess.h"
#include "server/ServerRecord.h"
#include "server_process_support.h"
#include "server_udp_standin.h"
#include "support/EditorHarness.h"

namespace tolvane::app {
namespace {

#ifndef _WIN32

// A UDP socket on a port of the loopback address the system picks, held while it lives.
class HeldPort {
public:
    HeldPort() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t n = sizeof a;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n) == 0)
            port_ = ntohs(a.sin_port);
    }
    ~HeldPort() { release(); }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;
    void release() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int port() const { return port_; }

private:
    int fd_;
    int port_ = 0;
};

struct WatchedStart : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;
    std::unique_ptr<server::ServerProcess> watched;

    void SetUp() override {
        dir.mkdir("action");
        std::filesystem::copy_file(TOLVANE_FAKESERVER, dir.path() / "quake2");
        e = Start();
        watched = std::make_unique<server::ServerProcess>(dir.path(), dir.path() / "action");
        e->supervisedServer = watched.get();
        // A port nobody holds, so that the test never meets a real server.
        HeldPort free;
        free.release();
        e->server.Port.box.setText(std::to_string(free.port()));
        e->main.CommandLine.setText("out hello hold");
    }
    void TearDown() override {
        if (watched->running()) {
            watched->requestStop(std::chrono::milliseconds(0));
            test::PollUntil([&] {
                watched->poll();
                return !watched->running();
            });
        }
    }
    bool StartServer() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
        return e->ButtonStart_Click();
    }
    bool SaidHello() {
        return test::PollUntil([&] {
            watched->poll();
            return test::HasLine(*watched, "hello") || !watched->running();
        }) && test::HasLine(*watched, "hello");
    }
};

TEST_F(WatchedStart, ASecondStartRestartsTheWatchedServerOnlyWhenAskedTo) {
    ASSERT_TRUE(StartServer()) << e->lastResult();
    ASSERT_TRUE(watched->running());
    EXPECT_TRUE(SaidHello());
    const long long first = watched->processId();
    EXPECT_EQ(e->lastResult().rfind("Server started (process " + std::to_string(first) + "): ", 0), 0u) << e->lastResult();
    EXPECT_TRUE(dir.exists("action/tolvane-server.pid"));

    dialogs.askAnswers = {1};  // leave it running
    EXPECT_FALSE(StartServer());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find("still running (process " + std::to_string(first) + ")"), std::string::npos);
    EXPECT_TRUE(watched->running());
    EXPECT_EQ(watched->processId(), first);
    EXPECT_NE(e->lastResult().find("The server was not started: the one started before is still running"), std::string::npos);

    // No answer (a closed box) leaves it running too.
    dialogs.askAnswers = {std::nullopt};
    EXPECT_FALSE(StartServer());
    EXPECT_EQ(watched->processId(), first);

    dialogs.askAnswers = {0};  // restart
    ASSERT_TRUE(StartServer()) << e->lastResult();
    EXPECT_TRUE(watched->running());
    EXPECT_NE(watched->processId(), first);
    EXPECT_FALSE(server::ProcessAlive(first));
    EXPECT_TRUE(SaidHello());
}

TEST_F(WatchedStart, APortAnotherProgramHoldsStopsTheStart) {
    HeldPort held;
    ASSERT_GT(held.port(), 0);
    e->server.Port.box.setText(std::to_string(held.port()));
    EXPECT_FALSE(StartServer());
    EXPECT_FALSE(watched->running());
    EXPECT_EQ(watched->state(), server::ServerState::NotStarted);
    ASSERT_FALSE(dialogs.texts().empty());
    EXPECT_NE(dialogs.texts().back().find(std::to_string(held.port())), std::string::npos) << dialogs.texts().back();
    EXPECT_NE(e->lastResult().find("The server was not started: "), std::string::npos);

    // Once it is let go, the same start goes ahead.
    held.release();
    EXPECT_TRUE(StartServer()) << e->lastResult();
    EXPECT_TRUE(watched->running());
}

TEST_F(WatchedStart, AServerStartedAndLetGoIsRecordedForStop) {
    e->supervisedServer = nullptr;
    launcher.program = (dir.path() / "quake2").string();
    launcher.processId = 4242;
    EXPECT_TRUE(StartServer()) << e->lastResult();
    ASSERT_EQ(launcher.commandLines.size(), 1u);
    std::string error;
    const auto record = server::ReadServerRecord(dir.path() / "action", error);
    ASSERT_TRUE(record) << error;
    EXPECT_EQ(record->processId, 4242);
    EXPECT_EQ(record->program, dir.path() / "quake2");

    // A launcher that cannot tell what it started leaves no record behind.
    std::filesystem::remove(dir.path() / "action" / "tolvane-server.pid");
    launcher.processId = 0;
    EXPECT_TRUE(StartServer());
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
}


TEST(HeadlessServerCommands, StatusAsksTheConfiguredPortAndStopNeedsARecord) {
    test::TempDir dir;
    dir.mkdir("action");
    test::UdpStandIn standIn("\xff\xff\xff\xffprint\n\\mapname\\harbor\\maxclients\\8\n5 40 \"Alice\"\n");
    ASSERT_TRUE(standIn.ok());
    const std::string where = dir.path().string();
    std::ostringstream out, err;
    const Options status = ParseCommandLine({"--set", "Port=" + std::to_string(standIn.port()), "--status", where});
    ASSERT_TRUE(status.error.empty()) << status.error;
    EXPECT_EQ(RunHeadless(status, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("harbor"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Alice"), std::string::npos) << out.str();
    EXPECT_FALSE(dir.exists("action/tolvane.lock"));  // nothing written

    std::ostringstream out2, err2;
    EXPECT_EQ(RunHeadless(ParseCommandLine({"--stop", where}), out2, err2), 1);
    EXPECT_FALSE(ParseCommandLine({"--stop", "--status", where}).error.empty());
}

#endif

}  // namespace
}  // namespace tolvane::app
