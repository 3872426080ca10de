#pragma once
// Starting programs: a Windows command line is split into arguments by the Windows rules and
// the program is started directly, detached, never through a shell.
#include <filesystem>
#include <optional>
#include <string>
#include <cstddef>
#include <vector>

namespace tolvane::platform {

enum class WindowMode { Normal, Minimised };

// Splits a command line into arguments as the Microsoft C runtime does (blanks and tabs
// separate; double quotes group; backslashes before a quote escape it).
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// A command line made ready to start: its arguments (the program first) and the working
// directory the launcher was given (empty: the current one) made absolute. Nothing, with the
// reason in error, for an empty command line or a working directory that is no directory.
struct Launch {
    std::vector<std::string> args;
    std::filesystem::path workingDir;
};
std::optional<Launch> PrepareLaunch(const std::string& commandLine, const std::string& workingDir, std::string& error);

// The file SystemProcessLauncher runs for the program named first on a command line, found by
// its rules (see there) in the absolute Quake 2 directory workingDir. Nothing, with the reason
// in error, when there is none. On Windows an empty path means the name is left to
// CreateProcess, which takes it from the command line and searches for it itself.
std::optional<std::filesystem::path> FindProgramFile(const std::string& program,
                                                     const std::filesystem::path& workingDir, std::string& error);

#ifdef _WIN32
// The command line in the wide form CreateProcessW takes, converted from the ANSI code page as
// CreateProcessA would convert it: its bytes are passed on exactly as built, never re-quoted.
std::wstring WideCommandLine(const std::string& line);
#endif

#ifndef _WIN32
// Reads into buffer until it is full or the other end of fd is closed, going on after an
// interruption; returns how many bytes came. For the reports a child sends before its exec.
std::size_t ReadUntilClosed(int fd, void* buffer, std::size_t size);
#endif

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the command line (its first argument is the program, relative to the working
    // directory given to the launcher) and does not wait. On failure returns false with a
    // reason in error.
    virtual bool start(const std::string& commandLine, WindowMode mode, std::string& error) = 0;

    // What the last successful start ran: the program file it found and the new process's id
    // (empty and 0 when the launcher cannot tell).
    struct Started {
        std::string program;
        long long processId = 0;
    };
    virtual Started lastStarted() const { return {}; }
};

// The real launcher. workingDir is the Quake 2 directory: programs named without a directory
// are looked up there first ("X.exe", then "X" on hosts without .exe programs), then on PATH;
// the game server (quake2.exe, quake2) only ever in the Quake 2 directory. On Windows the
// command line goes to CreateProcess exactly as given, and the program gets a console window of
// its own, shown as `mode` asks.
class SystemProcessLauncher : public ProcessLauncher {
public:
    explicit SystemProcessLauncher(std::string workingDir) : workingDir_(std::move(workingDir)) {}
    bool start(const std::string& commandLine, WindowMode mode, std::string& error) override;
    Started lastStarted() const override { return last_; }

private:
    std::string workingDir_;
    Started last_;
};

}  // namespace tolvane::platform
