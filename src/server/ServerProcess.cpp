#include "server/ServerProcess.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "server/ServerRecord.h"

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {

std::string clockText(std::chrono::system_clock::time_point t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, n);
}

}  // namespace

std::string RunningTimeText(std::chrono::steady_clock::duration d) {
    const auto total = std::chrono::duration_cast<std::chrono::seconds>(d).count();
    const long long hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
    const auto two = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    if (hours > 0) return std::to_string(hours) + ":" + two(minutes) + ":" + two(seconds);
    return std::to_string(minutes) + ":" + two(seconds);
}

ServerProcess::ServerProcess(fs::path quake2Dir, fs::path modDir)
    : quake2Dir_(std::move(quake2Dir)),
      modDir_(std::move(modDir)),
      log_(modDir_.empty() ? fs::path() : ServerLogPath(modDir_)) {}

ServerProcess::~ServerProcess() { release(); }

bool ServerProcess::start(const std::string& commandLine, std::string& error, platform::WindowMode mode) {
    poll();
    if (running()) {
        error = "the server is still running (process " + std::to_string(processId_) + ")";
        return false;
    }
    const auto launch = platform::PrepareLaunch(commandLine, quake2Dir_.string(), error);
    if (!launch) return false;
    const std::vector<std::string>& args = launch->args;
    // The same lookup as every other start, so that the program watched is the one a detached
    // start would run.
    const auto program = platform::FindProgramFile(args[0], launch->workingDir, error);
    if (!program) {
        error = args[0] + ": " + error;
        return false;
    }
    quake2Dir_ = launch->workingDir;
    if (!spawn(*program, args, commandLine, mode, error)) {
        error = args[0] + ": " + error;
        return false;
    }
    program_ = program->empty() ? fs::path(args[0]) : *program;
    state_ = ServerState::Running;
    exitCode_ = 0;
    signal_ = 0;
    stopRequested_ = false;
    killSent_ = false;
    startedAt_ = std::chrono::system_clock::now();
    startClock_ = std::chrono::steady_clock::now();
    log_.note("--- server started " + clockText(startedAt_) + ": " + program_.string() + " (process " +
              std::to_string(processId_) + ") ---");
    if (!capturesOutput()) log_.note("--- its output is shown in its own console window ---");
    recordProblem_.clear();
    if (!modDir_.empty() && !WriteServerRecord(modDir_, {processId_, program_}, recordProblem_))
        log_.note("--- " + recordProblem_ + " ---");
    return true;
}

void ServerProcess::poll() {
    if (state_ != ServerState::Running) return;
    readOutput();
    if (reap()) {
        ended();
        return;
    }
    if (stopRequested_ && !killSent_ && std::chrono::steady_clock::now() >= killAt_) {
        killSent_ = true;
        sendKill();
        log_.note("--- the server did not end when asked to: killed ---");
    }
}

void ServerProcess::requestStop(std::chrono::milliseconds grace) {
    poll();
    if (!running()) return;
    if (stopRequested_) {
        // Asked again: the kill may come sooner, never later.
        killAt_ = std::min(killAt_, std::chrono::steady_clock::now() + grace);
        return;
    }
    stopRequested_ = true;
    killAt_ = std::chrono::steady_clock::now() + grace;
    log_.note("--- stopping the server ---");
    sendStop();
}

void ServerProcess::ended() {
    endClock_ = std::chrono::steady_clock::now();
    // What it wrote before it ended is still in the pipe.
    readOutput();
    release();
    log_.finish();
    log_.note("--- server " + endDescription() + " after " + RunningTimeText(runningTime()) + " ---");
    std::string problem;
    if (!modDir_.empty() && !RemoveServerRecord(modDir_, processId_, problem)) {
        recordProblem_ = problem;
        log_.note("--- " + problem + " ---");
    }
}

std::chrono::steady_clock::duration ServerProcess::runningTime() const {
    switch (state_) {
        case ServerState::NotStarted:
            return {};
        case ServerState::Running:
            return std::chrono::steady_clock::now() - startClock_;
        default:
            return endClock_ - startClock_;
    }
}

std::string ServerProcess::stateText() const {
    const std::string id = " (process " + std::to_string(processId_) + ")";
    switch (state_) {
        case ServerState::NotStarted:
            return "Not started";
        case ServerState::Running: {
            std::string text = stopRequested_ ? "Stopping" + id : "Running for " + RunningTimeText(runningTime()) + id;
            if (!capturesOutput()) text += "; its output is in its own console window";
            return text;
        }
        default: {
            std::string text = endDescription();
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
            return text + " after " + RunningTimeText(runningTime());
        }
    }
}

}  // namespace tolvane::server
