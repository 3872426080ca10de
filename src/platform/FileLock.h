#pragma once
// An advisory lock on a lock file: one holder at a time across processes (and across separate
// holders within one process). The lock goes with the holder: released on release(), on
// destruction, and by the system when the process ends.
#include <chrono>
#include <filesystem>
#include <string>

namespace tolvane::platform {

class FileLock {
public:
    enum class Result { Locked, Busy, Failed };

    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the lock file (creating it, never through a link) and takes the lock, trying again
    // until `wait` has passed. Busy when another holder kept it all that time; Failed (with the
    // reason in error) when the lock file cannot be opened or locked at all.
    Result acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds wait, std::string& error);
    void release();
    bool held() const;

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace tolvane::platform
