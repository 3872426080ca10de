#pragma once
// Opening a file for reading only when it is a regular file: a pipe or a device at a file's
// name would hang the open or the reads, so anything else is refused as "not a regular file".
#include <cstdio>
#include <filesystem>
#include <string>

namespace tolvane::platform::detail {

// How an open went: the error number when it failed, or what was there instead of a file.
struct Opened {
    int err = 0;
    bool notRegular = false;  // there, but not a regular file (a pipe, a device, a directory)
    bool directory = false;
    explicit operator bool() const { return err == 0 && !notRegular; }
    // Nothing of that name, or a directory part that is not a directory.
    bool missing() const;
    std::string reason() const;
};

#ifdef _WIN32
// The file opened for binary reading, or null with `how` saying why.
std::FILE* OpenRegularFile(const std::filesystem::path& p, Opened& how);
#else
// A descriptor opened with `flags` (O_RDONLY or O_RDWR, with O_CREAT, O_NOFOLLOW as the caller
// needs) that is blocking again once the entry is known to be a regular file; -1 with `how`
// saying why.
int OpenRegularFile(const std::filesystem::path& p, int flags, Opened& how, unsigned mode = 0);
#endif

}  // namespace tolvane::platform::detail
