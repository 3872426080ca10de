#include "server/ServerRecord.h"

#include <cerrno>
#include <charconv>
#include <cwctype>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {

constexpr auto kPollStep = std::chrono::milliseconds(50);

std::string readWhole(const fs::path& p, bool& ok) {
    std::ifstream in(p, std::ios::binary);
    ok = static_cast<bool>(in);
    std::ostringstream s;
    if (ok) s << in.rdbuf();
    return s.str();
}

// Two names of one file: compared after resolving links, so that a program started through a
// symbolic link matches the file the system reports.
bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const fs::path ca = fs::weakly_canonical(a, ec);
    if (ec) return a == b;
    const fs::path cb = fs::weakly_canonical(b, ec);
    if (ec) return a == b;
#ifdef _WIN32
    std::wstring la = ca.native(), lb = cb.native();
    for (auto& c : la) c = static_cast<wchar_t>(towlower(c));
    for (auto& c : lb) c = static_cast<wchar_t>(towlower(c));
    return la == lb;
#else
    return ca == cb;
#endif
}

#ifndef _WIN32
// Only the POSIX stop waits here; the Windows one waits on the process handle.
bool waitForEnd(long long pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (ProcessAlive(pid)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}
#endif

}  // namespace

fs::path ServerRecordPath(const fs::path& modDir) { return modDir / "tolvane-server.pid"; }
fs::path ServerLogPath(const fs::path& modDir) { return modDir / "tolvane-server.log"; }

bool WriteServerRecord(const fs::path& modDir, const ServerRecord& record, std::string& error) {
    const fs::path target = ServerRecordPath(modDir);
    fs::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << record.processId << "\n" << record.program.string() << "\n";
        out.close();
        if (!out) {
            const int err = errno;
            std::error_code ignored;
            fs::remove(partial, ignored);
            error = "cannot write " + target.string() + ": " + std::generic_category().message(err ? err : EIO);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        error = "cannot write " + target.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool RecordStartedServer(const fs::path& modDir, const platform::ProcessLauncher::Started& started,
                         std::string& error) {
    if (started.processId <= 0 || started.program.empty()) {
        error = "cannot record the server in " + ServerRecordPath(modDir).string() +
                ": the launcher did not tell its process";
        return false;
    }
    return WriteServerRecord(modDir, {started.processId, fs::path(started.program)}, error);
}

std::optional<ServerRecord> ReadServerRecord(const fs::path& modDir, std::string& error) {
    error.clear();
    const fs::path p = ServerRecordPath(modDir);
    std::error_code ec;
    if (!fs::exists(p, ec)) return std::nullopt;
    bool ok = false;
    const std::string text = readWhole(p, ok);
    if (!ok) {
        error = "cannot read " + p.string();
        return std::nullopt;
    }
    const std::size_t firstEnd = text.find('\n');
    const std::size_t secondEnd = firstEnd == std::string::npos ? std::string::npos : text.find('\n', firstEnd + 1);
    ServerRecord record;
    if (secondEnd != std::string::npos) {
        const char* begin = text.data();
        const std::size_t idEnd = firstEnd > 0 && text[firstEnd - 1] == '\r' ? firstEnd - 1 : firstEnd;
        const auto [end, rc] = std::from_chars(begin, begin + idEnd, record.processId);
        std::string program = text.substr(firstEnd + 1, secondEnd - firstEnd - 1);
        if (!program.empty() && program.back() == '\r') program.pop_back();
        record.program = program;
        if (rc == std::errc() && end == begin + idEnd && record.processId > 0 && !record.program.empty())
            return record;
    }
    error = p.string() + " is not a server record (a process id and a program, one a line)";
    return std::nullopt;
}

bool RemoveServerRecord(const fs::path& modDir, long long processId, std::string& error) {
    std::string readError;
    const auto record = ReadServerRecord(modDir, readError);
    if (!record || record->processId != processId) return true;
    std::error_code ec;
    fs::remove(ServerRecordPath(modDir), ec);
    if (ec) {
        error = "cannot remove " + ServerRecordPath(modDir).string() + ": " + ec.message();
        return false;
    }
    return true;
}

#ifdef _WIN32

bool ProcessAlive(long long processId) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return alive;
}

ProcessMatch CheckServerProcess(const ServerRecord& record, std::string& detail) {
    const std::string id = std::to_string(record.processId);
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(record.processId));
    if (!h) {
        if (GetLastError() == ERROR_ACCESS_DENIED) {
            detail = "cannot tell which program process " + id + " runs: access denied";
            return ProcessMatch::Unknown;
        }
        detail = "process " + id + " is no longer running";
        return ProcessMatch::Gone;
    }
    DWORD code = 0;
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    const bool alive = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    const bool named = QueryFullProcessImageNameW(h, 0, image.data(), &size) != 0;
    CloseHandle(h);
    if (!alive) {
        detail = "process " + id + " is no longer running";
        return ProcessMatch::Gone;
    }
    if (!named) {
        detail = "cannot tell which program process " + id + " runs";
        return ProcessMatch::Unknown;
    }
    image.resize(size);
    const fs::path running(image);
    detail = "process " + id + " runs " + running.string();
    return sameFile(running, record.program) ? ProcessMatch::Same : ProcessMatch::Other;
}

bool TerminateProcessAndWait(long long processId, std::chrono::milliseconds grace, bool& killed,
                             std::string& error) {
    killed = false;
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
    if (!h) {
        error = "cannot stop process " + std::to_string(processId) + ": " +
                std::system_category().message(static_cast<int>(GetLastError()));
        return false;
    }
    const bool sent = TerminateProcess(h, 1) != 0;
    const DWORD err = GetLastError();
    const bool ended = WaitForSingleObject(h, static_cast<DWORD>(grace.count())) == WAIT_OBJECT_0;
    CloseHandle(h);
    if (!sent && !ended) {
        error = "cannot stop process " + std::to_string(processId) + ": " +
                std::system_category().message(static_cast<int>(err));
        return false;
    }
    if (!ended) error = "process " + std::to_string(processId) + " did not end";
    return ended;
}

#else

bool ProcessAlive(long long processId) {
    const auto pid = static_cast<pid_t>(processId);
    if (pid <= 0 || static_cast<long long>(pid) != processId) return false;
    if (::kill(pid, 0) != 0 && errno == ESRCH) return false;
#ifdef __linux__
    // An ended process that its parent has not reaped yet still answers kill(); its state in
    // /proc says it has ended.
    bool ok = false;
    const std::string stat = readWhole("/proc/" + std::to_string(processId) + "/stat", ok);
    if (!ok) return false;
    const std::size_t close = stat.rfind(')');
    if (close != std::string::npos && close + 2 < stat.size()) {
        const char state = stat[close + 2];
        if (state == 'Z' || state == 'X' || state == 'x') return false;
    }
#endif
    return true;
}

ProcessMatch CheckServerProcess(const ServerRecord& record, std::string& detail) {
    const std::string id = std::to_string(record.processId);
    if (!ProcessAlive(record.processId)) {
        detail = "process " + id + " is no longer running";
        return ProcessMatch::Gone;
    }
#ifdef __linux__
    const std::string proc = "/proc/" + id;
    std::error_code ec;
    fs::path exe = fs::read_symlink(proc + "/exe", ec);
    if (ec) {
        if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
            detail = "cannot tell which program process " + id + " runs: " + ec.message();
            return ProcessMatch::Unknown;
        }
        detail = "process " + id + " runs no program file";
        return ProcessMatch::Other;
    }
    // A program file replaced while it runs (a rebuilt server) is shown as "PATH (deleted)".
    std::string shownExe = exe.string();
    const std::string deleted = " (deleted)";
    if (shownExe.size() > deleted.size() && shownExe.compare(shownExe.size() - deleted.size(), deleted.size(), deleted) == 0) {
        shownExe.resize(shownExe.size() - deleted.size());
        exe = shownExe;
    }
    detail = "process " + id + " runs " + shownExe;
    if (sameFile(exe, record.program)) return ProcessMatch::Same;
    // A server that is a script runs as its interpreter, with the script's path as the first
    // argument (or the second, after an interpreter option).
    bool ok = false;
    const std::string cmdline = readWhole(proc + "/cmdline", ok);
    std::vector<std::string> args;
    for (std::size_t start = 0; ok && start < cmdline.size();) {
        std::size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) end = cmdline.size();
        args.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 1; i < args.size() && i <= 2; ++i) {
        if (args[i] == record.program.string()) {
            detail = "process " + id + " runs " + args[i] + " with " + shownExe;
            return ProcessMatch::Same;
        }
    }
    return ProcessMatch::Other;
#else
    detail = "cannot tell which program process " + id + " runs on this system";
    return ProcessMatch::Unknown;
#endif
}

bool TerminateProcessAndWait(long long processId, std::chrono::milliseconds grace, bool& killed,
                             std::string& error) {
    killed = false;
    const auto pid = static_cast<pid_t>(processId);
    const std::string id = std::to_string(processId);
    if (::kill(pid, SIGTERM) != 0) {
        if (errno == ESRCH) return true;
        error = "cannot stop process " + id + ": " + std::generic_category().message(errno);
        return false;
    }
    if (waitForEnd(processId, grace)) return true;
    killed = true;
    if (::kill(pid, SIGKILL) != 0 && errno != ESRCH) {
        error = "cannot kill process " + id + ": " + std::generic_category().message(errno);
        return false;
    }
    if (waitForEnd(processId, std::max(grace, std::chrono::milliseconds(1000)))) return true;
    error = "process " + id + " did not end even when killed";
    return false;
}

#endif

}  // namespace tolvane::server
