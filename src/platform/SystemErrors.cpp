#include "platform/SystemErrors.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tolvane::platform {

std::string ErrnoText(int err) { return std::generic_category().message(err); }

#ifdef _WIN32

std::string SystemErrorText(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ErrnoText(ENOENT);
        case ERROR_ACCESS_DENIED:
            return ErrnoText(EACCES);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return ErrnoText(EEXIST);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ErrnoText(ENOSPC);
        case ERROR_DIRECTORY:
            return ErrnoText(ENOTDIR);
        default:
            break;
    }
    char* text = nullptr;
    const DWORD len = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = len && text ? std::string(text, len) : std::string();
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == '.' ||
                               result.back() == ' '))
        result.pop_back();
    return result.empty() ? "Windows error " + std::to_string(code) : result;
}

#endif

}  // namespace tolvane::platform
