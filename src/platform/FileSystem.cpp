// The content side of the file system: reading, writing, removing and renaming files, each
// failure with its reason. Names and listings are in FileNames.cpp.
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <limits>
#include <system_error>
#include <type_traits>

#include "platform/FileFaults.h"
#include "platform/PathNames.h"
#include "platform/RegularFile.h"
#include "platform/SystemErrors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

std::string reasonFor(int err) { return std::generic_category().message(err); }

// Reads a whole file that is a regular file.
detail::Opened readRegular(const fs::path& p, std::string& data) {
    detail::Opened how;
    if (const int injected = InjectedFault(FileOp::Open, p)) {
        how.err = injected;
        return how;
    }
    char buffer[65536];
#ifdef _WIN32
    std::FILE* f = detail::OpenRegularFile(p, how);
    if (!f) return how;
    std::size_t got;
    errno = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, got);
    if (std::ferror(f)) how.err = errno ? errno : EIO;
    std::fclose(f);
#else
    const int fd = detail::OpenRegularFile(p, O_RDONLY, how);
    if (fd < 0) return how;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            how.err = errno ? errno : EIO;
            break;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
#endif
    return how;
}

// Windows names one file by its path in any case: a failure is remembered under one spelling.
fs::path failureKey(const fs::path& p) {
#ifdef _WIN32
    std::wstring folded = p.native();
    for (auto& c : folded)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return fs::path(folded);
#else
    return p;
#endif
}

#ifdef _WIN32
int seekTo(std::FILE* f, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        errno = EINVAL;
        return -1;
    }
    return ::_fseeki64(f, static_cast<__int64>(offset), SEEK_SET);
}
#endif

#ifndef _WIN32
// After a rename the directory entry itself must reach the disk as well; best effort.
void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

FileSystem::FileSystem(std::filesystem::path root) : root_(std::move(root)) {}

bool FileSystem::isDirectory(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(resolve(path), ec);
}

bool FileSystem::isFile(const std::string& path) const {
    const fs::path p = resolve(path);
    std::error_code ec;
    const bool found = InjectedFault(FileOp::Examine, p) == 0 && fs::is_regular_file(p, ec);
    if (!found) recordAbsent(p);
    return found;
}

std::optional<std::uintmax_t> FileSystem::fileSize(const std::string& path) const {
    std::error_code ec;
    const auto size = fs::file_size(resolve(path), ec);
    if (ec) return std::nullopt;
    return size;
}

ReadResult FileSystem::readFile(const std::string& path, std::string& content, std::string& error) const {
    const fs::path p = resolve(path);
    std::string data;
    const detail::Opened how = readRegular(p, data);
    if (!how) {
        error = how.reason();
        // Nothing of that name (or a directory part that is not a directory) is no file at all;
        // anything else means the file is there and could not be read.
        if (how.missing()) {
            recordRead(p, FileRecord{});
            return {ReadResult::Status::Missing};
        }
        rememberReadFailure(p, error);
        recordRead(p, FileRecord{FileRecord::Kind::Unreadable});
        return {ReadResult::Status::Failed};
    }
    if (loading_ > 0) {
        readFailures_.erase(failureKey(p));
        recordRead(p, RecordOf(data));
    }
    content = std::move(data);
    return {ReadResult::Status::Read};
}

void FileSystem::rememberReadFailure(const fs::path& p, const std::string& reason) const {
    readFailures_[failureKey(p)] = reason;
}

FileRecord FileSystem::examine(const std::string& path) const {
    std::string data;
    const detail::Opened how = readRegular(resolve(path), data);
    if (how) return RecordOf(data);
    return how.missing() ? FileRecord{} : FileRecord{FileRecord::Kind::Unreadable};
}

std::optional<std::string> FileSystem::readFailure(const std::string& path) const {
    const auto found = readFailures_.find(failureKey(resolve(path)));
    if (found == readFailures_.end()) return std::nullopt;
    return found->second;
}

bool FileSystem::readAt(const std::string& path, std::uint64_t offset, std::size_t length, std::string& out) const {
    detail::Opened how;
    std::string data(length, '\0');
#ifdef _WIN32
    std::FILE* f = detail::OpenRegularFile(resolve(path), how);
    if (!f) return false;
    bool ok = seekTo(f, offset) == 0;
    if (ok) {
        const std::size_t got = length == 0 ? 0 : std::fread(data.data(), 1, length, f);
        ok = !std::ferror(f);
        data.resize(got);
    }
    std::fclose(f);
#else
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    const int fd = detail::OpenRegularFile(resolve(path), O_RDONLY, how);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd, data.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;  // an error, or the end of the file
        got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    ::close(fd);
#endif
    if (ok) out = std::move(data);
    return ok;
}

bool FileSystem::removeFile(const std::string& path, std::string& error) const {
    const fs::path target = resolve(path);
    std::error_code ec;
    const auto st = fs::symlink_status(target, ec);
    if (st.type() == fs::file_type::not_found) return true;
    if (ec) {
        error = ec.message();
        return false;
    }
    if (fs::is_directory(st)) {
        error = reasonFor(EISDIR);
        return false;
    }
    if (!fs::remove(target, ec) && ec) {
        error = ec.message();
        return false;
    }
    return true;
}

bool FileSystem::renameFile(const std::string& from, const std::string& to, std::string& error) const {
#ifdef _WIN32
    // MoveFileEx replaces an existing target, and gives a name that differs only in case as
    // written. The entry reaches the disk before it returns.
    if (!MoveFileExW(resolve(from).c_str(), resolve(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = SystemErrorText(GetLastError());
        return false;
    }
    return true;
#else
    const fs::path source = resolve(from);
    fs::path target = resolve(to);
    // A rename that only changes the case of the name resolves to the source itself; give the
    // entry the name as written, as Windows does.
    if (target == source) {
        const auto parts = detail::SplitComponents(to);
        if (!parts.empty()) target = target.parent_path() / parts.back();
    }
    std::error_code ec;
    fs::rename(source, target, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    syncDirectory(target.parent_path());
    return true;
#endif
}

}  // namespace tolvane::platform
