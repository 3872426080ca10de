#pragma once
// A game server the editor started and watches: its output goes to a ServerLog, and poll(),
// called from a timer, tells when it has ended and how. Nothing here blocks.
//
// On Windows the server (quake2.exe) opens a console window of its own and its output is shown
// there: nothing is captured, only its state is watched.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "server/ServerLog.h"

namespace tolvane::server {

enum class ServerState { NotStarted, Running, Exited, Crashed };

// "0:05", "12:34", "1:02:03"
std::string RunningTimeText(std::chrono::steady_clock::duration d);

class ServerProcess {
public:
    static constexpr std::chrono::milliseconds kStopGrace{5000};

    // quake2Dir: where the program is looked for (by the launcher's rules) and run. modDir:
    // where the log (tolvane-server.log) and the record (tolvane-server.pid) are kept; none
    // are kept when it is empty.
    ServerProcess(std::filesystem::path quake2Dir, std::filesystem::path modDir);
    // A server still running is left running, and its record stays for "--stop". Its output
    // pipe closes; it ignores the broken pipe (see start()).
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the command line (split by the Windows rules, as the launcher does). False with the
    // reason when it did not start or a server is still running.
    bool start(const std::string& commandLine, std::string& error,
               platform::WindowMode mode = platform::WindowMode::Minimised);

    // Reads the output there is, notices the end of the process, and kills a server that has
    // not ended within the grace period after requestStop(). Returns at once.
    void poll();

    // Asks the server to end (SIGTERM; on Windows it is terminated at once). poll() kills it
    // once grace has passed without it ending. Asking again can only bring the kill forward.
    void requestStop(std::chrono::milliseconds grace = kStopGrace);

    ServerState state() const { return state_; }
    bool running() const { return state_ == ServerState::Running; }
    // Exited: the exit code (-1 when it could not be read). Crashed: the signal (on Windows the
    // exception code the process ended with).
    int exitCode() const { return exitCode_; }
    int signal() const { return signal_; }
    bool stopRequested() const { return stopRequested_; }
    bool killed() const { return killSent_; }
    long long processId() const { return processId_; }
    const std::filesystem::path& program() const { return program_; }
    std::chrono::system_clock::time_point startedAt() const { return startedAt_; }
    // Since the start; once ended, how long it ran.
    std::chrono::steady_clock::duration runningTime() const;
    // "Running for 1:02:03 (process 4242)", "Exited with code 1 after 0:05",
    // "Crashed by signal 11 (Segmentation fault) after 2:00", ...
    std::string stateText() const;

    ServerLog& log() { return log_; }
    const ServerLog& log() const { return log_; }
    // Why the record could not be written or removed ("" when it could).
    const std::string& recordProblem() const { return recordProblem_; }
    // Whether the output is captured here (not on Windows).
    static bool capturesOutput();

private:
    // The system's parts (ServerProcessPosix.cpp, ServerProcessWindows.cpp).
    bool spawn(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::string& commandLine, platform::WindowMode mode, std::string& error);
    void readOutput();
    // True once the process has ended; exitCode_, signal_ and state_ then tell how.
    bool reap();
    void sendStop();
    void sendKill();
    void release();
    std::string endDescription() const;

    void ended();

    std::filesystem::path quake2Dir_;
    std::filesystem::path modDir_;
    ServerLog log_;
    ServerState state_ = ServerState::NotStarted;
    std::filesystem::path program_;
    long long processId_ = 0;
    int exitCode_ = 0;
    int signal_ = 0;
    std::chrono::system_clock::time_point startedAt_{};
    std::chrono::steady_clock::time_point startClock_{};
    std::chrono::steady_clock::time_point endClock_{};
    bool stopRequested_ = false;
    bool killSent_ = false;
    std::chrono::steady_clock::time_point killAt_{};
    std::string recordProblem_;
#ifdef _WIN32
    void* process_ = nullptr;  // the process handle
#else
    int output_ = -1;  // the read end of the pipe the server's stdout and stderr write to
#endif
};

}  // namespace tolvane::server
