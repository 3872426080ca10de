// Starting programs on Windows: CreateProcessW with the command line exactly as built.
#include "platform/Process.h"

#ifdef _WIN32

#include <filesystem>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/ProcessSupport.h"
#include "platform/SystemErrors.h"
#include "platform/TextEditor.h"

#include <windows.h>

namespace tolvane::platform {

namespace {

namespace fs = std::filesystem;

// The file to run for a program named on the command line without a drive or a leading
// separator: looked for in the Quake 2 directory (a name without an extension also as
// "name.exe", as Windows itself would try). Nothing when it is not there.
std::optional<fs::path> findLocalProgram(const std::string& program, const fs::path& workingDir) {
    const FileSystem files(workingDir);
    std::vector<std::string> names{program};
    if (fs::path(program).extension().empty()) names.push_back(program + ".exe");
    for (const auto& name : names) {
        std::error_code ec;
        const fs::path local = files.resolve(name);
        if (fs::is_regular_file(local, ec)) return local;
    }
    return std::nullopt;
}

bool isRelative(const std::string& program) {
    return !program.empty() && program[0] != '\\' && program[0] != '/' && program.find(':') == std::string::npos;
}

}  // namespace

// The command line in the wide form CreateProcessW takes, converted from the ANSI code page as
// CreateProcessA would convert it: its bytes are passed on exactly as built, never re-quoted.
std::wstring WideCommandLine(const std::string& line) {
    if (line.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    return wide;
}

// A program named by a relative path is taken from the Quake 2 directory. A bare name that is
// not there is left to the system's own search (the editor's folder, the system folders, PATH),
// except the game server, which is only ever the Quake 2 directory's own.
std::optional<fs::path> FindProgramFile(const std::string& program, const fs::path& workingDir, std::string& error) {
    if (!isRelative(program)) return fs::path();
    if (auto local = findLocalProgram(program, workingDir)) return local;
    if (detail::IsServerProgram(program)) {
        error = "not found in " + workingDir.string();
        return std::nullopt;
    }
    if (program.find_first_of("\\/") != std::string::npos) {
        error = "not found";
        return std::nullopt;
    }
    return fs::path();
}

bool SystemProcessLauncher::start(const std::string& commandLine, WindowMode mode, std::string& error) {
    const auto launch = PrepareLaunch(commandLine, workingDir_, error);
    if (!launch) return false;
    const auto& [args, workingDir] = *launch;
    const auto found = FindProgramFile(args[0], workingDir, error);
    if (!found) return false;
    const fs::path& application = *found;
    // The server gets a console window of its own, minimised: it must not share (or die with)
    // the console the editor was started from.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = mode == WindowMode::Minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    std::wstring line = WideCommandLine(commandLine);
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, workingDir.c_str(), &startup, &info)) {
        const DWORD code = GetLastError();
        error = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? "not found"
                                                                               : "cannot start: " + SystemErrorText(code);
        return false;
    }
    // Not waited for: the handles are let go and the server runs on its own.
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    last_.program = application.empty() ? args[0] : application.string();
    last_.processId = static_cast<long long>(info.dwProcessId);
    return true;
}

}  // namespace tolvane::platform

#endif
