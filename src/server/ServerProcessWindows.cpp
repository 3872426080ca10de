// Starting and watching the server on Windows. quake2.exe is a console program that opens a
// console of its own (as the detached start gives it): its output is shown there and not
// captured, so only the process itself is watched, through its handle.
#ifdef _WIN32

#include <windows.h>

#include <cstdio>
#include <system_error>

#include "platform/SystemErrors.h"
#include "server/ServerProcess.h"

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {

// Exit codes from 0xC0000000 up are NTSTATUS errors: the process was ended by an exception
// (0xC0000005 an access violation), which is what a crash is there.
bool isExceptionCode(DWORD code) { return code >= 0xC0000000u; }

std::string hex(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

}  // namespace

bool ServerProcess::capturesOutput() { return false; }

bool ServerProcess::spawn(const fs::path& program, const std::vector<std::string>&, const std::string& commandLine,
                          platform::WindowMode mode, std::string& error) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = mode == platform::WindowMode::Minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    std::wstring line = platform::WideCommandLine(commandLine);
    if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, quake2Dir_.c_str(), &startup, &info)) {
        const DWORD code = GetLastError();
        error = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                    ? "not found"
                    : "cannot start: " + platform::SystemErrorText(code);
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = static_cast<long long>(info.dwProcessId);
    return true;
}

void ServerProcess::readOutput() {}

bool ServerProcess::reap() {
    if (!process_) return false;
    if (WaitForSingleObject(static_cast<HANDLE>(process_), 0) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    if (!GetExitCodeProcess(static_cast<HANDLE>(process_), &code)) {
        state_ = ServerState::Exited;
        exitCode_ = -1;
    } else if (isExceptionCode(code) && !stopRequested_) {
        state_ = ServerState::Crashed;
        signal_ = static_cast<int>(code);
    } else {
        state_ = ServerState::Exited;
        exitCode_ = static_cast<int>(code);
    }
    return true;
}

// A console program cannot be asked to end from outside its console: it is terminated.
void ServerProcess::sendStop() {
    if (process_) TerminateProcess(static_cast<HANDLE>(process_), 1);
}

void ServerProcess::sendKill() { sendStop(); }

void ServerProcess::release() {
    if (process_) CloseHandle(static_cast<HANDLE>(process_));
    process_ = nullptr;
}

std::string ServerProcess::endDescription() const {
    if (state_ == ServerState::Exited) {
        if (exitCode_ < 0 && !stopRequested_) return "ended (its exit code could not be read)";
        if (stopRequested_) return "stopped";
        return "exited with code " + std::to_string(exitCode_);
    }
    return "crashed (exception " + hex(static_cast<DWORD>(signal_)) + ")";
}

}  // namespace tolvane::server

#endif
