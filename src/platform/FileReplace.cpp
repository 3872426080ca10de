// The safe replace of a whole file, and the fault seam its steps go through. The Windows calls
// are in FileReplaceWindows.cpp.
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "platform/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/ReplaceSupport.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

FileFaultHook& hookSlot() {
    static FileFaultHook hook;
    return hook;
}

std::string reasonFor(int err) { return std::generic_category().message(err); }

// Six letters and digits, fresh for every attempt.
std::string uniqueSuffix() {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string s;
    for (int i = 0; i < 6; ++i) s += kChars[pick(generator)];
    return s;
}

#ifndef _WIN32
// The name an existing entry of `dir` has for `name` ignoring case, as the rest of the program
// finds files; the name as given when there is none.
fs::path entryIgnoringCase(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dir / name, ec))) return dir / name;
    fs::directory_iterator it(dir, ec);
    if (ec) return dir / name;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string candidate = it->path().filename().string();
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
            same = lower(candidate[i]) == lower(name[i]);
        }
        if (same) return it->path();
    }
    return dir / name;
}
#endif

}  // namespace

namespace detail {

// The temporary file beside `target`: its name, a unique part, then ".tmp".
fs::path TemporaryNameFor(const fs::path& target) {
    return target.parent_path() / (target.filename().string() + "." + uniqueSuffix() + ".tmp");
}

// Follows a chain of links to the file it finally names (which need not exist yet), so that the
// file is replaced and the link stays. Relative links count from their own directory.
bool FollowLinks(fs::path& p, std::string& error) {
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        const auto st = fs::symlink_status(p, ec);
        if (ec || !fs::is_symlink(st)) return true;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            error = "cannot follow the link " + p.string() + " (" + ec.message() + ")";
            return false;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    error = "cannot follow the link " + p.string() + " (" + reasonFor(ELOOP) + ")";
    return false;
}

}  // namespace detail

const char* FileOpName(FileOp op) {
    switch (op) {
        case FileOp::Create: return "create";
        case FileOp::ModeChange: return "mode change";
        case FileOp::Write: return "write";
        case FileOp::Flush: return "flush";
        case FileOp::Sync: return "sync";
        case FileOp::Close: return "close";
        case FileOp::Remove: return "remove";
        case FileOp::Link: return "link";
        case FileOp::Rename: return "rename";
    }
    return "?";
}

FileFaultHook SetFileFaultHook(FileFaultHook hook) {
    FileFaultHook old = std::move(hookSlot());
    hookSlot() = std::move(hook);
    return old;
}

int InjectedFault(FileOp op, const fs::path& path) {
    const FileFaultHook& hook = hookSlot();
    return hook ? hook(op, path) : 0;
}

std::string FileSystem::displayPath(const fs::path& hostPath) const {
    const std::string root = root_.string();
    const std::string full = hostPath.string();
    if (!root.empty() && full.size() > root.size() + 1 && full.compare(0, root.size(), root) == 0 &&
        (full[root.size()] == '/' || full[root.size()] == '\\'))
        return full.substr(root.size() + 1);
    return full;
}

#ifndef _WIN32

namespace {

// Reads a whole file by its host path: 0, or the error number.
int readWhole(const fs::path& p, std::string& bytes) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return err;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return 0;
}

// One replace: the temporary file it owns until the rename, removed on any failure.
class Replace {
public:
    Replace(const FileSystem& files, fs::path target) : files_(files), target_(std::move(target)) {}
    ~Replace() {
        if (fd_ >= 0) ::close(fd_);
        if (!temp_.empty()) ::unlink(temp_.c_str());
    }
    Replace(const Replace&) = delete;
    Replace& operator=(const Replace&) = delete;

    bool run(const std::string& content, const BackupNamer& backupName, fs::path& backupMade, std::string& error) {
        backupMade.clear();
        struct stat old {};
        const bool hadOld = ::lstat(target_.c_str(), &old) == 0;
        if (!hadOld && errno != ENOENT) return fail(error, "cannot examine " + show(target_), errno);
        if (hadOld && S_ISDIR(old.st_mode)) return fail(error, "cannot replace " + show(target_), EISDIR);
        if (hadOld && !S_ISREG(old.st_mode))
            return fail(error, "cannot replace " + show(target_) + ": it is not a regular file", 0);

        if (!createTemporary(error)) return false;
        if (!giveMode(hadOld ? &old : nullptr, error)) return false;
        if (!writeAll(content, error)) return false;
        if (hadOld && !keepBackup(old, backupName(target_), backupMade, error)) return false;
        if (const int err = step(FileOp::Rename, target_, [&] { return ::rename(temp_.c_str(), target_.c_str()); }))
            return fail(error, "cannot replace " + show(target_), err);
        temp_.clear();  // it is the file now
        syncDirectory();
        return true;
    }

private:
    std::string show(const fs::path& p) const { return files_.displayPath(p); }

    bool fail(std::string& error, const std::string& what, int err) {
        error = err ? what + " (" + reasonFor(err) + ")" : what;
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!temp_.empty() && ::unlink(temp_.c_str()) != 0 && errno != ENOENT)
            error += "; the temporary file " + show(temp_) + " could not be removed";
        temp_.clear();
        return false;
    }

    // Runs one step through the fault seam: 0, or the error number it failed with.
    template <typename F>
    static int step(FileOp op, const fs::path& p, F&& call) {
        if (const int injected = InjectedFault(op, p)) return injected;
        for (;;) {
            if (call() == 0) return 0;
            if (errno != EINTR) return errno ? errno : EIO;
        }
    }

    // A close is never repeated (the descriptor is gone either way); an injected failure still
    // closes the file.
    template <typename F>
    static int closeChecked(const fs::path& p, F&& close) {
        const int injected = InjectedFault(FileOp::Close, p);
        errno = 0;
        const int rc = close();
        if (injected) return injected;
        return rc == 0 ? 0 : (errno ? errno : EIO);
    }

    bool createTemporary(std::string& error) {
        // A name somebody else holds (a planted link, a pipe, an earlier leftover) is never
        // opened: the exclusive create fails on it and another name is tried.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = detail::TemporaryNameFor(target_);
            const int err = step(FileOp::Create, candidate, [&] {
                fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
                return fd_ >= 0 ? 0 : -1;
            });
            if (err == 0) {
                temp_ = candidate;
                return true;
            }
            if (err != EEXIST) return fail(error, "cannot create a temporary file in " + show(target_.parent_path()), err);
        }
        return fail(error, "cannot create a temporary file in " + show(target_.parent_path()), EEXIST);
    }

    // The old file's mode, owner and group; a new file gets the process's default mode.
    bool giveMode(const struct stat* old, std::string& error) {
        mode_t mode;
        if (old) {
            struct stat mine {};
            if (::fstat(fd_, &mine) == 0 && (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid)) {
                // Only where the process may: an ordinary user cannot give a file away, but may
                // still keep its group when a member of it.
                if (step(FileOp::ModeChange, temp_, [&] { return ::fchown(fd_, old->st_uid, old->st_gid); }) != 0 &&
                    mine.st_gid != old->st_gid)
                    step(FileOp::ModeChange, temp_, [&] { return ::fchown(fd_, static_cast<uid_t>(-1), old->st_gid); });
            }
            mode = old->st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (const int err = step(FileOp::ModeChange, temp_, [&] { return ::fchmod(fd_, mode); }))
            return fail(error, "cannot set the mode of the temporary file " + show(temp_), err);
        return true;
    }

    bool writeAll(const std::string& content, std::string& error) {
        std::FILE* f = ::fdopen(fd_, "wb");
        if (!f) return fail(error, "cannot write the temporary file " + show(temp_), errno);
        fd_ = -1;  // the stream owns it now
        int err = step(FileOp::Write, temp_, [&] {
            errno = 0;
            const bool all = content.empty() || std::fwrite(content.data(), 1, content.size(), f) == content.size();
            // A write cut short is not repeated: it would write part of the content twice.
            if (!all && (errno == 0 || errno == EINTR)) errno = EIO;
            return all ? 0 : -1;
        });
        if (!err) err = step(FileOp::Flush, temp_, [&] { return std::fflush(f); });
        if (!err) err = step(FileOp::Sync, temp_, [&] { return ::fsync(::fileno(f)); });
        if (!err) err = closeChecked(temp_, [&] { return std::fclose(f); });
        else std::fclose(f);
        if (err) return fail(error, "cannot write the temporary file " + show(temp_), err);
        return true;
    }

    // The old file stays under the backup name: a second name for the same file, so there is no
    // moment without it. Where links are impossible the backup is a copy.
    bool keepBackup(const struct stat& old, const std::string& backupName, fs::path& backupMade, std::string& error) {
        fs::path backup = entryIgnoringCase(target_.parent_path(), backupName);
        // A file whose backup name is its own name ("x.bak") must not be removed as its own
        // old backup.
        if (backup == target_) backup = entryIgnoringCase(target_.parent_path(), target_.filename().string() + ".bak");
        if (const int err = step(FileOp::Remove, backup, [&] { return ::unlink(backup.c_str()) == 0 || errno == ENOENT ? 0 : -1; }))
            return fail(error, "cannot remove the old backup " + show(backup), err);
        const int err = step(FileOp::Link, backup, [&] { return ::link(target_.c_str(), backup.c_str()); });
        if (err == EPERM || err == EXDEV || err == EMLINK || err == ENOTSUP || err == EOPNOTSUPP || err == ENOSYS) {
            if (!copyTo(backup, old.st_mode & 07777, error)) return false;
        } else if (err) {
            return fail(error, "cannot keep the old file as " + show(backup), err);
        }
        backupMade = backup;
        return true;
    }

    bool copyTo(const fs::path& backup, mode_t mode, std::string& error) {
        std::string bytes;
        if (const int readErr = readWhole(target_, bytes))
            return fail(error, "cannot keep the old file as " + show(backup) + ": cannot read " + show(target_), readErr);
        int out = -1;
        int err = step(FileOp::Create, backup, [&] {
            out = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            return out >= 0 ? 0 : -1;
        });
        if (!err) {
            err = step(FileOp::Write, backup, [&] {
                std::size_t done = 0;
                while (done < bytes.size()) {
                    const ssize_t n = ::write(out, bytes.data() + done, bytes.size() - done);
                    if (n < 0 && errno == EINTR) continue;
                    if (n <= 0) return -1;
                    done += static_cast<std::size_t>(n);
                }
                return 0;
            });
            if (!err) err = step(FileOp::Sync, backup, [&] { return ::fsync(out); });
            if (!err) err = closeChecked(backup, [&] { return ::close(out); });
            else ::close(out);
            if (err) ::unlink(backup.c_str());
        }
        if (err) return fail(error, "cannot keep the old file as " + show(backup), err);
        return true;
    }

    // The renamed entry must reach the disk as well. The file is already in place, so a failure
    // here changes nothing about the result.
    void syncDirectory() {
        const fs::path dir = target_.parent_path();
        const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        step(FileOp::Sync, dir, [&] { return ::fsync(fd); });
        ::close(fd);
    }

    const FileSystem& files_;
    fs::path target_;
    fs::path temp_;
    int fd_ = -1;
};

}  // namespace

bool FileSystem::replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                             fs::path& backupMade, std::string& error) const {
    fs::path target = resolve(path);
    if (!detail::FollowLinks(target, error)) return false;
    Replace replace(*this, target);
    return replace.run(content, backupName, backupMade, error);
}

#endif

}  // namespace tolvane::platform
