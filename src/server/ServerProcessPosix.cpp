// Starting and watching the server on POSIX systems: fork and exec, its standard output and
// error into one pipe, waitpid without blocking.
#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "server/ServerProcess.h"

extern char** environ;

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {

std::string reasonFor(int err) { return std::generic_category().message(err); }

// The pipe ends must not be standard descriptors (an editor started with one of them closed
// would get them from pipe()), or the dup2() calls in the child would undo each other.
bool moveAboveStandard(int& fd) {
    if (fd > STDERR_FILENO) return true;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    fd = moved;
    return moved >= 0;
}

bool makePipe(int fds[2]) {
#ifdef __linux__
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
#else
    if (::pipe(fds) != 0) return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
#endif
    if (moveAboveStandard(fds[0]) && moveAboveStandard(fds[1])) return true;
    if (fds[0] >= 0) ::close(fds[0]);
    if (fds[1] >= 0) ::close(fds[1]);
    return false;
}

// What the child reports when it cannot run the program; nothing arrives when exec worked
// (the pipe is closed on exec).
struct ChildFailure {
    int stage;  // 1 entering the working directory, 2 exec
    int err;
};

[[noreturn]] void childFails(int reportFd, int stage) {
    const ChildFailure failure{stage, errno};
    [[maybe_unused]] const ssize_t n = ::write(reportFd, &failure, sizeof failure);
    ::_exit(127);
}

// Runs in the child between fork and exec: system calls only.
[[noreturn]] void runChild(const char* program, char* const* argv, const char* directory, int outputFd,
                           int reportFd) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int sig = 1; sig < NSIG; ++sig)
        if (sig != SIGKILL && sig != SIGSTOP) ::sigaction(sig, &action, nullptr);
    // SIGPIPE is ignored: when the editor exits (or is closed) while the server runs, the pipe
    // loses its reader, and the server's next line must fail to be written rather than kill
    // it. The engines ignore failed console writes.
    action.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &action, nullptr);
    // A session of its own: Ctrl+C in the terminal the editor was started from does not reach
    // the server.
    ::setsid();
    if (::chdir(directory) != 0) childFails(reportFd, 1);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0 && null != STDIN_FILENO) {
        ::dup2(null, STDIN_FILENO);
        ::close(null);
    }
    if (::dup2(outputFd, STDOUT_FILENO) < 0 || ::dup2(outputFd, STDERR_FILENO) < 0) childFails(reportFd, 2);
    // None of the editor's other open files are handed on (the report pipe closes on exec).
#if defined(__linux__) && defined(SYS_close_range)
    if (reportFd > STDERR_FILENO + 1) ::syscall(SYS_close_range, STDERR_FILENO + 1, reportFd - 1, 0);
    ::syscall(SYS_close_range, reportFd + 1, ~0U, 0);
#endif
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(program, argv, environ);
    childFails(reportFd, 2);
}

}  // namespace

bool ServerProcess::capturesOutput() { return true; }

bool ServerProcess::spawn(const fs::path& program, const std::vector<std::string>& args, const std::string&,
                          platform::WindowMode, std::string& error) {
    // Everything the child needs is built before fork.
    const std::string programPath = program.string();
    const std::string directory = quake2Dir_.string();
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int output[2];
    if (!makePipe(output)) {
        error = "cannot start: " + reasonFor(errno);
        return false;
    }
    int report[2];
    if (!makePipe(report)) {
        const int err = errno;
        ::close(output[0]);
        ::close(output[1]);
        error = "cannot start: " + reasonFor(err);
        return false;
    }
    // Signals are held until the child has set its own dispositions, so that none of the
    // editor's handlers runs in it.
    sigset_t all, editorMask;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &editorMask);
    const pid_t child = ::fork();
    if (child == 0) runChild(programPath.c_str(), argv.data(), directory.c_str(), output[1], report[1]);
    const int forkErr = errno;
    ::pthread_sigmask(SIG_SETMASK, &editorMask, nullptr);
    ::close(output[1]);
    ::close(report[1]);
    if (child < 0) {
        ::close(output[0]);
        ::close(report[0]);
        error = "cannot start: " + reasonFor(forkErr);
        return false;
    }

    ChildFailure failure{0, 0};
    const std::size_t got = platform::ReadUntilClosed(report[0], &failure, sizeof failure);
    ::close(report[0]);
    if (got != 0) {
        // The child has ended (or is about to): reaped here so that no zombie is left.
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        ::close(output[0]);
        if (got != sizeof failure) error = "cannot start: the new process failed";
        else if (failure.stage == 1) error = "cannot enter " + directory + ": " + reasonFor(failure.err);
        else error = "cannot start: " + reasonFor(failure.err);
        return false;
    }
    ::fcntl(output[0], F_SETFL, ::fcntl(output[0], F_GETFL) | O_NONBLOCK);
    output_ = output[0];
    processId_ = child;
    return true;
}

void ServerProcess::readOutput() {
    if (output_ < 0) return;
    // At most 1 MiB a call, so that a server printing without pause cannot hold the UI up.
    char buffer[64 * 1024];
    for (int round = 0; round < 16; ++round) {
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n > 0) {
            log_.append(std::string_view(buffer, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) {
            // Every writer has closed it: the server has ended or closed its output.
            ::close(output_);
            output_ = -1;
        }
        return;
    }
}

bool ServerProcess::reap() {
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(static_cast<pid_t>(processId_), &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    if (r < 0) {
        // Reaped elsewhere (SIGCHLD set to be ignored): it has ended, how is not known.
        state_ = ServerState::Exited;
        exitCode_ = -1;
        return true;
    }
    if (WIFSIGNALED(status)) {
        state_ = ServerState::Crashed;
        signal_ = WTERMSIG(status);
    } else if (WIFEXITED(status)) {
        state_ = ServerState::Exited;
        exitCode_ = WEXITSTATUS(status);
    } else {
        return false;  // stopped or continued, not ended
    }
    return true;
}

void ServerProcess::sendStop() { ::kill(static_cast<pid_t>(processId_), SIGTERM); }

void ServerProcess::sendKill() { ::kill(static_cast<pid_t>(processId_), SIGKILL); }

void ServerProcess::release() {
    if (output_ >= 0) ::close(output_);
    output_ = -1;
}

std::string ServerProcess::endDescription() const {
    if (state_ == ServerState::Exited) {
        if (exitCode_ < 0) return "ended (its exit status could not be read)";
        return "exited with code " + std::to_string(exitCode_);
    }
    const char* name = ::strsignal(signal_);
    const std::string named = std::to_string(signal_) + (name ? std::string(" (") + name + ")" : std::string());
    if (stopRequested_ && (signal_ == SIGTERM || signal_ == SIGKILL)) return "stopped by signal " + named;
    return "crashed by signal " + named;
}

}  // namespace tolvane::server

#endif
