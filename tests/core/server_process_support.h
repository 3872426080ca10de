#pragma once
// Helpers of the server supervision tests: a Quake 2 directory whose "quake2" is the stand-in
// server, polling with generous limits, and guards that never leave a stand-in running.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include "server/ServerProcess.h"
#include "server/ServerRecord.h"
#include "support/TestSupport.h"

namespace tolvane::test {

// Polls until done() holds, twenty seconds at most (the tests also run under the sanitizers
// on a busy machine); false when it never did.
inline bool PollUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

inline bool HasLine(const server::ServerProcess& p, const std::string& line) {
    for (const auto& l : p.log().lines())
        if (l == line) return true;
    return false;
}

// Kills the process (not a child of the test) if it still runs when the test ends.
class KillAtEnd {
public:
    explicit KillAtEnd(long long pid) : pid_(pid) {}
    ~KillAtEnd() {
#ifndef _WIN32
        if (pid_ > 0 && server::ProcessAlive(pid_)) ::kill(static_cast<pid_t>(pid_), SIGKILL);
#endif
    }
    KillAtEnd(const KillAtEnd&) = delete;
    KillAtEnd& operator=(const KillAtEnd&) = delete;

private:
    long long pid_;
};

class ServerFixture : public ::testing::Test {
protected:
    ServerFixture() {
        dir.mkdir("action");
        installServer("quake2");
    }
    ~ServerFixture() override {
        // A server a test left running is killed and reaped.
        if (server.running()) {
            server.requestStop(std::chrono::milliseconds(0));
            PollUntil([&] {
                server.poll();
                return !server.running();
            });
        }
    }
    void installServer(const std::string& name, int mode = 0755) {
        const auto where = dir.path() / name;
        std::filesystem::copy_file(TOLVANE_FAKESERVER, where, std::filesystem::copy_options::overwrite_existing);
#ifndef _WIN32
        ::chmod(where.c_str(), static_cast<mode_t>(mode));
#else
        (void)mode;
#endif
    }
    bool waitForLine(const std::string& line) {
        return PollUntil([&] {
            server.poll();
            return HasLine(server, line) || !server.running();
        }) && HasLine(server, line);
    }
    bool waitForEnd() {
        return PollUntil([&] {
            server.poll();
            return !server.running();
        });
    }
    std::filesystem::path modDir() const { return dir.path() / "action"; }

    TempDir dir;
    server::ServerProcess server{dir.path(), dir.path() / "action"};
    std::string error;
};

}  // namespace tolvane::test
