// Watching a started server: its output captured, its end noticed and told, stopping it, and
// the record a later "--stop" reads.
#include <gtest/gtest.h>

#ifndef _WIN32

#include "server_process_support.h"

namespace tolvane::server {
namespace {

using namespace std::chrono_literals;
using test::ServerFixture;

TEST_F(ServerFixture, CapturesBothOutputsInOrderAndTheExitCode) {
    // Named as on Windows: found by the launcher's rules ("quake2.exe", then "quake2").
    ASSERT_TRUE(server.start("quake2.exe pwd out hello err oops out again part unfinished exit 3", error)) << error;
    EXPECT_TRUE(server.running());
    EXPECT_EQ(server.program(), dir.path() / "quake2");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.state(), ServerState::Exited);
    EXPECT_EQ(server.exitCode(), 3);
    std::vector<std::string> serverLines;
    for (const auto& line : server.log().lines())
        if (line.rfind("---", 0) != 0) serverLines.push_back(line);
    // It ran in the Quake 2 directory; its last line, without a line end, is kept too.
    EXPECT_EQ(serverLines, (std::vector<std::string>{dir.path().string(), "hello", "oops", "again", "unfinished"}));
    EXPECT_EQ(server.stateText().rfind("Exited with code 3 after 0:0", 0), 0u) << server.stateText();
    // Everything is in the log file, with the editor's notes of start and end.
    const std::string file = dir.read("action/tolvane-server.log");
    EXPECT_NE(file.find("hello\noops\nagain\nunfinished\n--- server exited with code 3"), std::string::npos) << file;
    EXPECT_NE(file.find("--- server started"), std::string::npos) << file;
}

TEST_F(ServerFixture, ACrashIsToldWithItsSignal) {
    ASSERT_TRUE(server.start("quake2 out dying signal 11", error)) << error;
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.state(), ServerState::Crashed);
    EXPECT_EQ(server.signal(), 11);
    EXPECT_TRUE(test::HasLine(server, "dying"));
    EXPECT_EQ(server.stateText().rfind("Crashed by signal 11", 0), 0u) << server.stateText();
}

TEST_F(ServerFixture, StoppingSendsSigtermAndTheRecordLastsAsLongAsTheServer) {
    ASSERT_TRUE(server.start("quake2 out ready hold", error)) << error;
    ASSERT_TRUE(waitForLine("ready"));
    EXPECT_EQ(server.stateText().rfind("Running for 0:", 0), 0u) << server.stateText();
    EXPECT_EQ(dir.read("action/tolvane-server.pid"),
              std::to_string(server.processId()) + "\n" + (dir.path() / "quake2").string() + "\n");
    EXPECT_EQ(server.recordProblem(), "");

    server.requestStop();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.state(), ServerState::Crashed);
    EXPECT_EQ(server.signal(), SIGTERM);
    EXPECT_FALSE(server.killed());
    EXPECT_EQ(server.stateText().rfind("Stopped by signal 15", 0), 0u) << server.stateText();
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
}

TEST_F(ServerFixture, AServerIgnoringSigtermIsKilledOnceTheGracePeriodHasPassed) {
    ASSERT_TRUE(server.start("quake2 ignore-term out ready hold", error)) << error;
    ASSERT_TRUE(waitForLine("ready"));
    server.requestStop(60s);
    // The request returns at once; the kill comes from a later poll.
    EXPECT_TRUE(server.running());
    EXPECT_EQ(server.stateText().rfind("Stopping", 0), 0u) << server.stateText();
    // Asked again with a shorter grace period: the kill comes sooner.
    server.requestStop(200ms);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.signal(), SIGKILL);
    EXPECT_TRUE(server.killed());
    EXPECT_GE(server.runningTime(), 200ms);
    EXPECT_FALSE(dir.exists("action/tolvane-server.pid"));
}

TEST_F(ServerFixture, TheServerOutlivesTheEditorClosingItsOutput) {
    const std::string gate = (dir.path() / "gate").string();
    const std::string done = (dir.path() / "done").string();
    long long pid = 0;
    {
        ServerProcess watched(dir.path(), modDir());
        ASSERT_TRUE(watched.start("quake2 sigpipe out ready wait-for " + gate + " out after touch " + done + " exit 0",
                                  error))
            << error;
        pid = watched.processId();
        ASSERT_TRUE(test::PollUntil([&] {
            watched.poll();
            return test::HasLine(watched, "ready");
        }));
        EXPECT_TRUE(test::HasLine(watched, "SIGPIPE ignored"));
    }
    // The watcher is gone and the pipe has no reader: the next line fails to be written, and
    // the server goes on and ends normally.
    dir.write("gate", "");
    int status = -1;
    ASSERT_TRUE(test::PollUntil([&] { return ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG) != 0; }));
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(dir.exists("done"));
    // The record stays for a later "--stop".
    EXPECT_TRUE(dir.exists("action/tolvane-server.pid"));
}

TEST_F(ServerFixture, StartRefusesWhatTheLauncherRefuses) {
    test::TempDir empty;
    ServerProcess elsewhere(empty.path(), {});
    EXPECT_FALSE(elsewhere.start("quake2 +set dedicated 1", error));
    EXPECT_EQ(error, "quake2: not found in " + empty.path().string());

    installServer("notrun", 0644);
    EXPECT_FALSE(server.start("notrun", error));
    EXPECT_NE(error.find("not executable"), std::string::npos) << error;
    EXPECT_EQ(server.state(), ServerState::NotStarted);

    ASSERT_TRUE(server.start("quake2 hold", error)) << error;
    EXPECT_FALSE(server.start("quake2 hold", error));
    EXPECT_NE(error.find("still running"), std::string::npos) << error;
}

TEST_F(ServerFixture, ARecordThatCannotBeWrittenDoesNotStopTheStart) {
    ServerProcess noModDir(dir.path(), dir.path() / "missing");
    ASSERT_TRUE(noModDir.start("quake2 out hi exit 0", error)) << error;
    EXPECT_NE(noModDir.recordProblem().find("tolvane-server.pid"), std::string::npos) << noModDir.recordProblem();
    ASSERT_TRUE(test::PollUntil([&] {
        noModDir.poll();
        return !noModDir.running();
    }));
    EXPECT_TRUE(test::HasLine(noModDir, "hi"));
    EXPECT_NE(noModDir.log().writeProblem(), "");
}

TEST_F(ServerFixture, ALongBurstOfOutputIsReadWithoutLoss) {
    ASSERT_TRUE(server.start("quake2 lines 20000 exit 0", error)) << error;
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_TRUE(test::HasLine(server, "line 20000"));
    // 20000 lines and the editor's notes; memory keeps the last 10000.
    EXPECT_EQ(server.log().lines().size(), ServerLog::kDefaultMaxLines);
    EXPECT_NE(dir.read("action/tolvane-server.log").find("line 1\nline 2\n"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::server

#endif
