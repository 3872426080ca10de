#pragma once
// What the tests need to know of the host they run on: how messages show a path, which file a
// name leads to, the environment of started programs, and (on Windows) files another program
// holds open.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tolvane::test {

// A path relative to the Quake 2 directory ("action/server.cfg") as messages show it: with
// the host's own separator.
inline std::string Shown(std::string rel) {
#ifdef _WIN32
    for (auto& c : rel)
        if (c == '/') c = '\\';
#endif
    return rel;
}

// Which file a name leads to (device and file number); equal for two names of one file and for
// one file before and after its content changes in place. Nothing when it cannot be examined.
inline std::optional<std::pair<unsigned long long, unsigned long long>> FileIdentity(const std::filesystem::path& p) {
#ifdef _WIN32
    // Opening for no access at all is never refused for sharing.
    const HANDLE h = CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!ok) return std::nullopt;
    return std::make_pair(static_cast<unsigned long long>(info.dwVolumeSerialNumber),
                          (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
#else
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0) return std::nullopt;
    return std::make_pair(static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
#endif
}

// Sets an environment variable for the life of the object (programs started meanwhile inherit
// it), then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        set(value);
    }
    ~ScopedEnv() {
#ifdef _WIN32
        set(old_ ? *old_ : std::string());
#else
        if (old_) set(*old_);
        else ::unsetenv(name_.c_str());
#endif
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::string& value) {
#ifdef _WIN32
        // An empty value removes the variable there.
        ::_putenv_s(name_.c_str(), value.c_str());
#else
        ::setenv(name_.c_str(), value.c_str(), 1);
#endif
    }
    std::string name_;
    std::optional<std::string> old_;
};

// The separator of PATH entries.
#ifdef _WIN32
constexpr const char* kPathListSeparator = ";";
#else
constexpr const char* kPathListSeparator = ":";
#endif

#ifdef _WIN32
// A file held open by another program the way most programs open a file to read it: others may
// read and write it, but not delete or rename over it. With share false nobody else may even
// read it, as while a program writes it.
class HeldOpen {
public:
    HeldOpen(const std::filesystem::path& p, bool share)
        : h_(CreateFileW(p.c_str(), GENERIC_READ, share ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { close(); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool held() const { return h_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (held()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};
#endif

}  // namespace tolvane::test
