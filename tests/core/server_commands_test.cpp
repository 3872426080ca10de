// The command line's server commands: the status print, and stopping the recorded server,
// which must never signal a process that is not the recorded program.
#include <gtest/gtest.h>

#include <sstream>

#include "server/ServerCommands.h"
#include "server/StatusQuery.h"
#include "server_udp_standin.h"

#ifndef _WIN32
#include "server_process_support.h"
#endif

namespace tolvane::server {
namespace {

using namespace std::chrono_literals;

TEST(ServerStatusCommand, PrintsMapPlayerCountAndPlayers) {
    test::UdpStandIn standIn(std::string("\xff\xff\xff\xffprint\n") +
                             "\\hostname\\AQ2 \xc4\x61y\\mapname\\teamjungle\\maxclients\\16\n" +
                             "12 48 \"Rocky\"\n" + "-1 130 \"\xcei\xe3k\"\n");
    ASSERT_TRUE(standIn.ok());
    std::ostringstream out, err;
    EXPECT_EQ(PrintServerStatus("127.0.0.1", standIn.port(), out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("Server 127.0.0.1:" + std::to_string(standIn.port()) + ": AQ2 Day\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Map: teamjungle\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Players: 2 of 16\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Rocky     12    48\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Nick      -1   130\n"), std::string::npos) << text;
    EXPECT_EQ(err.str(), "");
}

TEST(ServerStatusCommand, FailsWhenNoServerAnswers) {
    test::UdpStandIn silent("", true);
    ASSERT_TRUE(silent.ok());
    std::ostringstream out, err;
    EXPECT_EQ(PrintServerStatus("", silent.port(), out, err), 1);
    EXPECT_EQ(err.str(), "no answer from 127.0.0.1:" + std::to_string(silent.port()) + " within 1 s\n");
    EXPECT_EQ(out.str(), "");
}

#ifndef _WIN32

using test::ServerFixture;

class StopCommand : public ServerFixture {
protected:
    int stop(std::chrono::milliseconds grace = 5s) {
        out.str("");
        err.str("");
        return StopRecordedServer(modDir(), out, err, grace);
    }
    std::ostringstream out, err;
};

TEST_F(StopCommand, StopsTheRecordedServerAndRemovesItsRecord) {
    ASSERT_TRUE(server.start("quake2 out ready hold", error)) << error;
    ASSERT_TRUE(waitForLine("ready"));
    // This test is the server's parent and does not reap it during the stop: the ended
    // process must still count as ended.
    EXPECT_EQ(stop(), 0) << err.str();
    EXPECT_NE(out.str().find("Server process " + std::to_string(server.processId()) + " has ended"), std::string::npos)
        << out.str();
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.signal(), SIGTERM);

    EXPECT_EQ(stop(), 1);
    EXPECT_NE(err.str().find("No server to stop"), std::string::npos) << err.str();
}

TEST_F(StopCommand, KillsAServerThatIgnoresTheRequest) {
    ASSERT_TRUE(server.start("quake2 ignore-term out ready hold", error)) << error;
    ASSERT_TRUE(waitForLine("ready"));
    EXPECT_EQ(stop(200ms), 0) << err.str();
    EXPECT_NE(out.str().find("killed"), std::string::npos) << out.str();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.signal(), SIGKILL);
}

TEST_F(StopCommand, RefusesAProcessThatRunsAnotherProgram) {
    ASSERT_TRUE(server.start("quake2 out ready hold", error)) << error;
    ASSERT_TRUE(waitForLine("ready"));
    // The record names another program for this process id, as after the id was reused.
    std::string problem;
    ASSERT_TRUE(WriteServerRecord(modDir(), {server.processId(), dir.path() / "other-server"}, problem)) << problem;
    EXPECT_EQ(stop(200ms), 1);
    EXPECT_NE(err.str().find("Not stopped"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find((dir.path() / "other-server").string()), std::string::npos) << err.str();
    // The stale record is gone, and the process was left alone.
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
    std::this_thread::sleep_for(300ms);
    server.poll();
    EXPECT_TRUE(server.running());
}

TEST_F(StopCommand, ARecordOfAnEndedProcessIsRemoved) {
    ASSERT_TRUE(server.start("quake2 exit 0", error)) << error;
    const long long pid = server.processId();
    ASSERT_TRUE(waitForEnd());
    std::string problem;
    ASSERT_TRUE(WriteServerRecord(modDir(), {pid, dir.path() / "quake2"}, problem)) << problem;
    EXPECT_EQ(stop(), 1);
    EXPECT_NE(err.str().find("no longer running"), std::string::npos) << err.str();
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
}

TEST_F(StopCommand, AnUnreadableRecordIsReportedAndKept) {
    dir.write("action/tolvane-server.pid", "not a number\n/x\n");
    EXPECT_EQ(stop(), 1);
    EXPECT_NE(err.str().find("is not a server record"), std::string::npos) << err.str();
    EXPECT_TRUE(dir.exists("action/tolvane-server.pid"));
}

TEST_F(StopCommand, StopsAServerStartedDetachedAndRecordedAfterwards) {
    platform::SystemProcessLauncher launcher(dir.path().string());
    ASSERT_TRUE(launcher.start("quake2 hold", platform::WindowMode::Minimised, error)) << error;
    const auto started = launcher.lastStarted();
    test::KillAtEnd guard(started.processId);
    ASSERT_TRUE(RecordStartedServer(modDir(), started, error)) << error;
    EXPECT_EQ(dir.read("action/tolvane-server.pid"),
              std::to_string(started.processId) + "\n" + (dir.path() / "quake2").string() + "\n");
    EXPECT_EQ(stop(), 0) << err.str();
    EXPECT_FALSE(ProcessAlive(started.processId));
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));

    EXPECT_FALSE(RecordStartedServer(modDir(), {}, error));
}

#endif

}  // namespace
}  // namespace tolvane::server
