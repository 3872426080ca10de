#include "platform/FileLock.h"

#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/FileFaults.h"
#include "platform/RegularFile.h"
#include "platform/SystemErrors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

namespace {

std::string reasonFor(int err) { return ErrnoText(err); }

constexpr std::chrono::milliseconds kRetryEvery{50};

}  // namespace

#ifdef _WIN32

FileLock::Result FileLock::acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds wait,
                                   std::string& error) {
    if (held()) return Result::Locked;
    if (const int injected = InjectedFault(FileOp::Create, lockFile)) {
        error = reasonFor(injected);
        return Result::Failed;
    }
    HANDLE h = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = SystemErrorText(GetLastError());
        return Result::Failed;
    }
    // A device name opens a device, which cannot be locked as a file.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        error = "not a regular file";
        return Result::Failed;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        OVERLAPPED at{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
            handle_ = h;
            return Result::Locked;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kRetryEvery);
    }
    const DWORD code = GetLastError();
    CloseHandle(h);
    if (code == ERROR_LOCK_VIOLATION) return Result::Busy;
    error = SystemErrorText(code);
    return Result::Failed;
}

void FileLock::release() {
    if (!handle_) return;
    CloseHandle(static_cast<HANDLE>(handle_));  // closing the handle releases its lock
    handle_ = nullptr;
}

bool FileLock::held() const { return handle_ != nullptr; }

#else

FileLock::Result FileLock::acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds wait,
                                   std::string& error) {
    if (held()) return Result::Locked;
    if (const int injected = InjectedFault(FileOp::Create, lockFile)) {
        error = reasonFor(injected);
        return Result::Failed;
    }
    // Read access is enough to lock; it lets an operator lock a file another account created.
    // A pipe planted at the name would hang the open: only a regular file is taken.
    detail::Opened how;
    const int fd = detail::OpenRegularFile(lockFile, O_RDONLY | O_CREAT | O_NOFOLLOW, how, 0644);
    if (fd < 0) {
        error = how.reason();
        return Result::Failed;
    }
    // flock locks belong to the open file, so two holders in one process exclude each other too.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            return Result::Locked;
        }
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK) {
            ::close(fd);
            error = reasonFor(err);
            return Result::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return Result::Busy;
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
}

void FileLock::release() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor of the open file releases its lock
    fd_ = -1;
}

bool FileLock::held() const { return fd_ >= 0; }

#endif

}  // namespace tolvane::platform
