// Starting programs on POSIX hosts: the command line split by Windows rules and spawned
// detached, never through a shell.
#include "platform/Process.h"

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProcessSupport.h"
#include "platform/SystemErrors.h"
#include "platform/TextEditor.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;

namespace tolvane::platform {

namespace {

namespace fs = std::filesystem;

std::string reasonFor(int err) { return std::generic_category().message(err); }

bool endsWithExe(const std::string& name) {
    if (name.size() <= 4) return false;
    const std::string tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'e' && (tail[2] | 0x20) == 'x' && (tail[3] | 0x20) == 'e';
}

// 0 when the file can be run, otherwise why not.
int checkRunnable(const fs::path& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return EACCES;
    if (::access(p.c_str(), X_OK) != 0) return errno;
    return 0;
}

}  // namespace

std::size_t ReadUntilClosed(int fd, void* buffer, std::size_t size) {
    std::size_t got = 0;
    auto* bytes = static_cast<char*>(buffer);
    while (got < size) {
        const ssize_t r = ::read(fd, bytes + got, size - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

// "X.exe" is tried as written, then as "X" (programs here carry no extension): first in the
// Quake 2 directory (or relative to it, when the name has a directory part), resolved ignoring
// case like every other path; a bare name other than the game server's is then searched on PATH.
std::optional<fs::path> FindProgramFile(const std::string& program, const fs::path& workingDir, std::string& error) {
    std::vector<std::string> names{program};
    if (endsWithExe(program)) names.push_back(program.substr(0, program.size() - 4));

    int refusal = 0;  // why the first existing candidate cannot be run
    std::optional<fs::path> found;
    const auto consider = [&](const fs::path& p) {
        const int err = checkRunnable(p);
        if (err == 0) {
            found = p;
            return true;
        }
        if (err != ENOENT && err != ENOTDIR && refusal == 0) refusal = err;
        return false;
    };

    if (!program.empty()) {
        const bool hasDirectory = program.find_first_of("\\/") != std::string::npos;
        if (program[0] == '/') {
            for (const auto& name : names)
                if (consider(name)) return found;
        } else {
            const FileSystem files(workingDir);
            for (const auto& name : names)
                if (consider(files.resolve(name))) return found;
        }
        const char* path = hasDirectory || detail::IsServerProgram(program) ? nullptr : std::getenv("PATH");
        if (path) {
            const std::vector<std::string> dirs = detail::SearchPathDirectories(path);
            for (const auto& name : names)
                for (const auto& dir : dirs)
                    if (consider(fs::path(dir) / name)) return found;
        }
    }
    if (refusal) error = "not executable: " + reasonFor(refusal);
    else if (detail::IsServerProgram(program)) error = "not found in " + workingDir.string();
    else error = "not found";
    return std::nullopt;
}

namespace {

// What the intermediate process reports back through the pipe.
struct SpawnReport {
    int stage;  // 0 started, 1 the working directory could not be entered, 2 the start failed
    int err;
    long long pid;  // the program's process, once started
};

class SpawnSetup {
public:
    SpawnSetup() {
        ok_ = posix_spawn_file_actions_init(&actions_) == 0;
        ok_ = posix_spawnattr_init(&attr_) == 0 && ok_;
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // The server gets no input from the editor, a clean signal state, and none of the editor's
    // open files.
    int prepare() {
        if (!ok_) return ENOMEM;
        int rc = posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
#endif
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        if (rc == 0) rc = posix_spawnattr_setsigmask(&attr_, &none);
        if (rc == 0) rc = posix_spawnattr_setsigdefault(&attr_, &all);
        if (rc == 0) rc = posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        return rc;
    }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    bool ok_ = false;
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attr_{};
};

// Starts the program as a grandchild: an intermediate process leaves the editor's session,
// enters the working directory, spawns the program and exits at once. The editor reaps the
// intermediate right away and the program is adopted by init, so no zombie is left however
// long the server runs, and the editor never waits for it. posix_spawn reports a failed exec
// as its result (glibc and musl wait for the exec), and the intermediate passes that back
// through a close-on-exec pipe. No shell is involved at any point.
bool spawnDetached(const fs::path& program, const std::vector<std::string>& args, const fs::path& workingDir,
                   std::string& error, long long& pid) {
    SpawnSetup setup;
    if (const int rc = setup.prepare()) {
        error = "cannot start: " + reasonFor(rc);
        return false;
    }
    // Everything the intermediate process needs is built here: after fork it only makes
    // system calls.
    const std::string programPath = program.string();
    const std::string directory = workingDir.string();
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int fds[2];
#ifdef __linux__
    if (::pipe2(fds, O_CLOEXEC) != 0) {
#else
    if (::pipe(fds) != 0 || ::fcntl(fds[0], F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(fds[1], F_SETFD, FD_CLOEXEC) != 0) {
#endif
        error = "cannot start: " + reasonFor(errno);
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int err = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        error = "cannot start: " + reasonFor(err);
        return false;
    }
    if (child == 0) {
        ::close(fds[0]);
        ::setsid();
        SpawnReport report{0, 0, 0};
        if (::chdir(directory.c_str()) != 0) {
            report = {1, errno, 0};
        } else {
            pid_t grandchild;
            const int rc =
                ::posix_spawn(&grandchild, programPath.c_str(), setup.actions(), setup.attr(), argv.data(), environ);
            if (rc != 0) report = {2, rc, 0};
            else report.pid = grandchild;
        }
        const ssize_t written = ::write(fds[1], &report, sizeof report);
        ::_exit(written == static_cast<ssize_t>(sizeof report) ? 0 : 1);
    }

    ::close(fds[1]);
    SpawnReport report{-1, 0, 0};
    const std::size_t got = ReadUntilClosed(fds[0], &report, sizeof report);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    if (got != sizeof report) {
        error = "cannot start: the launching process failed";
        return false;
    }
    switch (report.stage) {
        case 0:
            pid = report.pid;
            return true;
        case 1:
            error = "cannot enter " + directory + ": " + reasonFor(report.err);
            return false;
        default:
            error = "cannot start: " + reasonFor(report.err);
            return false;
    }
}

// Notepad stands for the user's text editor here (see TextEditor.h). The file is resolved as
// every other path is and handed over whole and absolute, so a name with blanks stays one
// argument and never reads as an option.
bool startTextEditor(const std::string& commandLine, const fs::path& workingDir, std::string& error,
                     ProcessLauncher::Started& started) {
    const std::string file = EditorFileArgument(commandLine);
    if (file.empty()) {
        error = "no file to edit";
        return false;
    }
    const fs::path hostFile = FileSystem(workingDir).resolve(file);
    const auto choice = ChooseTextEditor(EditorEnvironment::Current(), hostFile.string(), error);
    if (!choice) return false;
    // The desktop opener picks the application by the file, so the file must exist. Notepad
    // offers to create a missing file; here it is created empty in its place.
    std::error_code ec;
    if (choice->opener && !fs::exists(hostFile, ec)) {
        const int fd = ::open(hostFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            error = "cannot create " + hostFile.string() + ": " + reasonFor(errno);
            return false;
        }
        if (fd >= 0) ::close(fd);
    }
    long long pid = 0;
    if (!spawnDetached(choice->program, choice->args, workingDir, error, pid)) {
        error = choice->args[0] + ": " + error;
        return false;
    }
    started = {choice->program, pid};
    return true;
}

}  // namespace

// The window mode is not used here: minimising a window at start is not a notion a program
// can be handed on this system.
bool SystemProcessLauncher::start(const std::string& commandLine, WindowMode /*mode*/, std::string& error) {
    const auto launch = PrepareLaunch(commandLine, workingDir_, error);
    if (!launch) return false;
    const auto& [args, workingDir] = *launch;
    if (IsTextEditorProgram(args[0])) return startTextEditor(commandLine, workingDir, error, last_);
    const auto program = FindProgramFile(args[0], workingDir, error);
    if (!program) return false;
    // The program still sees itself named as on the command line ("quake2.exe").
    long long pid = 0;
    if (!spawnDetached(*program, args, workingDir, error, pid)) return false;
    last_ = {program->string(), pid};
    return true;
}

}  // namespace tolvane::platform

#endif
