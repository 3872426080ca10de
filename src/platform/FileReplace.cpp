// The safe replace of a whole file on POSIX hosts: write a temporary file, keep the backup,
// rename over the target. The Windows calls are in FileReplaceWindows.cpp, the steps shared by
// both in ReplaceSupport.cpp.
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

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

#ifndef _WIN32

namespace {

std::string reasonFor(int err) { return std::generic_category().message(err); }

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

// Joins what a replace could not keep into one note.
void addNote(std::string& note, const std::string& more) {
    if (!note.empty()) note += "; ";
    note += more;
}

// One replace: the temporary file and the new backup it owns until they take their names,
// removed on any failure before the file is replaced.
class Replace {
public:
    Replace(const FileSystem& files, fs::path target) : files_(files), target_(std::move(target)) {}
    ~Replace() {
        if (fd_ >= 0) ::close(fd_);
        if (!temp_.empty()) ::unlink(temp_.c_str());
        if (!backupTemp_.empty()) ::unlink(backupTemp_.c_str());
    }
    Replace(const Replace&) = delete;
    Replace& operator=(const Replace&) = delete;

    ReplaceResult run(const std::string& content, const BackupNamer& backupName, const ReplaceOptions& options) {
        const auto began = fs::file_time_type::clock::now();
        struct stat old {};
        const bool hadOld = ::lstat(target_.c_str(), &old) == 0;
        if (!hadOld && errno != ENOENT) return fail("cannot examine " + show(target_), errno);
        if (hadOld && S_ISDIR(old.st_mode)) return fail("cannot replace " + show(target_), EISDIR);
        if (hadOld && !S_ISREG(old.st_mode)) return fail("cannot replace " + show(target_) + ": it is not a regular file", 0);
        if (hadOld && !options.replaceReadOnly && !writable(old)) {
            result_.readOnly = true;
            return fail("cannot replace " + show(target_) + ": it is read-only (no write permission)", 0);
        }

        removeStale(target_, began);
        if (!createTemporary()) return result_;
        if (!giveMode(hadOld ? &old : nullptr)) return result_;
        if (!writeAll(content)) return result_;
        fs::path backup;
        if (hadOld && !makeBackup(old, backupName(target_), backup)) return result_;
        if (const int err = step(FileOp::Rename, target_, [&] { return ::rename(temp_.c_str(), target_.c_str()); }))
            return fail("cannot replace " + show(target_), err);
        temp_.clear();  // it is the file now
        result_.ok = true;
        if (hadOld) moveBackupIntoPlace(backup, began);
        syncDirectory();
        return result_;
    }

private:
    std::string show(const fs::path& p) const { return files_.displayPath(p); }

    ReplaceResult& fail(const std::string& what, int err) {
        result_.ok = false;
        result_.error = err ? what + " (" + reasonFor(err) + ")" : what;
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!temp_.empty() && ::unlink(temp_.c_str()) != 0 && errno != ENOENT)
            result_.error += "; the temporary file " + show(temp_) + " could not be removed";
        temp_.clear();
        // Before the file is replaced the new backup is a second name of the file (or a copy).
        if (!backupTemp_.empty()) ::unlink(backupTemp_.c_str());
        backupTemp_.clear();
        return result_;
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

    // Write permission as this user has it; a file nobody may write (0444) counts as read-only
    // even for the superuser, whom the system lets write anything.
    bool writable(const struct stat& old) const {
        if ((old.st_mode & 0222) == 0) return false;
        return ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) == 0 || errno != EACCES;
    }

    // Temporary files of this name that an earlier run left behind (stopped part way): only the
    // exact names this program makes, regular files older than this replace. Best effort.
    void removeStale(const fs::path& of, fs::file_time_type before) {
        for (const auto& p : detail::StaleTemporaries(of, before))
            if (p != temp_ && p != backupTemp_) step(FileOp::Remove, p, [&] { return ::unlink(p.c_str()); });
    }

    bool createTemporary() {
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
            if (err != EEXIST) return fail("cannot create a temporary file in " + show(target_.parent_path()), err), false;
        }
        return fail("cannot create a temporary file in " + show(target_.parent_path()), EEXIST), false;
    }

    // The old file's mode, owner and group; a new file gets the process's default mode. The owner
    // goes first: a change of owner clears the set-ID bits, which the mode then gives back.
    bool giveMode(const struct stat* old) {
        mode_t mode;
        if (old) {
            mode = old->st_mode & 07777;
            struct stat mine {};
            if (::fstat(fd_, &mine) == 0 && (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid)) {
                // Only where the process may: an ordinary user cannot give a file away, but may
                // still keep its group when a member of it.
                int err = step(FileOp::ModeChange, temp_, [&] { return ::fchown(fd_, old->st_uid, old->st_gid); });
                bool ownerKept = err == 0, groupKept = err == 0;
                if (err && mine.st_gid != old->st_gid)
                    groupKept = step(FileOp::ModeChange, temp_,
                                     [&] { return ::fchown(fd_, static_cast<uid_t>(-1), old->st_gid); }) == 0;
                ownerKept = ownerKept || mine.st_uid == old->st_uid;
                groupKept = groupKept || mine.st_gid == old->st_gid;
                if (!ownerKept || !groupKept) {
                    const char* what = !ownerKept && !groupKept ? "owner and group" : !ownerKept ? "owner" : "group";
                    addNote(result_.note, std::string("the ") + what + " of " + show(target_) + " could not be kept (" +
                                              reasonFor(err) + ")");
                }
                // A set-ID bit is never given to a file of another owner or group than the old one.
                const mode_t dropped = mode & ((ownerKept ? 0 : S_ISUID) | (groupKept ? 0 : S_ISGID));
                if (dropped) {
                    mode &= ~dropped;
                    addNote(result_.note, "its set-ID bits were not kept");
                }
            }
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (const int err = step(FileOp::ModeChange, temp_, [&] { return ::fchmod(fd_, mode); }))
            return fail("cannot set the mode of the temporary file " + show(temp_), err), false;
        // The system itself drops a set-group-ID bit for a group the process is not in.
        struct stat given {};
        if ((mode & (S_ISUID | S_ISGID)) && ::fstat(fd_, &given) == 0 && (given.st_mode & 07777) != mode)
            addNote(result_.note, "its set-ID bits were not kept");
        return true;
    }

    bool writeAll(const std::string& content) {
        std::FILE* f = ::fdopen(fd_, "wb");
        if (!f) return fail("cannot write the temporary file " + show(temp_), errno), false;
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
        if (err) return fail("cannot write the temporary file " + show(temp_), err), false;
        return true;
    }

    // The new backup: a second name for the old file, made under a temporary name beside the
    // backup, so that the old backup stays until the file is replaced. Where links are
    // impossible it is a copy.
    bool makeBackup(const struct stat& old, const std::string& backupName, fs::path& backup) {
        backup = detail::EntryIgnoringCase(target_.parent_path(), backupName);
        // A file whose backup name is its own name ("x.bak") must not be replaced by its backup.
        if (backup == target_) backup = detail::EntryIgnoringCase(target_.parent_path(), target_.filename().string() + ".bak");
        const std::string keep = "cannot keep the old file as " + show(backup);
        // What the backup's name cannot be moved over is found before anything is replaced.
        struct stat there {};
        if (::lstat(backup.c_str(), &there) == 0 && S_ISDIR(there.st_mode)) return fail(keep, EISDIR), false;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = detail::TemporaryNameFor(backup);
            const int err = step(FileOp::Link, candidate, [&] { return ::link(target_.c_str(), candidate.c_str()); });
            if (err == 0) {
                backupTemp_ = candidate;
                return true;
            }
            if (err == EEXIST) continue;
            if (err == EPERM || err == EXDEV || err == EMLINK || err == ENOTSUP || err == EOPNOTSUPP || err == ENOSYS)
                return copyTo(backup, old.st_mode & 07777);
            return fail(keep, err), false;
        }
        return fail(keep, EEXIST), false;
    }

    bool copyTo(const fs::path& backup, mode_t mode) {
        const std::string keep = "cannot keep the old file as " + show(backup);
        std::string bytes;
        if (const int readErr = readWhole(target_, bytes)) return fail(keep + ": cannot read " + show(target_), readErr), false;
        int out = -1;
        fs::path candidate;
        int err = EEXIST;
        for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
            candidate = detail::TemporaryNameFor(backup);
            err = step(FileOp::Create, candidate, [&] {
                out = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
                return out >= 0 ? 0 : -1;
            });
        }
        if (err) return fail(keep, err), false;
        backupTemp_ = candidate;  // removed by any failure from here on
        err = step(FileOp::Write, candidate, [&] {
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::write(out, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) return -1;
                done += static_cast<std::size_t>(n);
            }
            return 0;
        });
        if (!err) err = step(FileOp::Sync, candidate, [&] { return ::fsync(out); });
        if (!err) err = closeChecked(candidate, [&] { return ::close(out); });
        else ::close(out);
        if (err) return fail(keep, err), false;
        return true;
    }

    // The file is replaced: the new backup takes the backup's name in one step. When it cannot,
    // the save still succeeded; the old backup stays, and the old file keeps its temporary name
    // so that nothing is lost.
    void moveBackupIntoPlace(const fs::path& backup, fs::file_time_type began) {
        if (const int err = step(FileOp::Rename, backup, [&] { return ::rename(backupTemp_.c_str(), backup.c_str()); })) {
            addNote(result_.note, "the backup " + show(backup) + " was not updated (" + reasonFor(err) +
                                      "); the old file is kept as " + show(backupTemp_));
            backupTemp_.clear();
            return;
        }
        backupTemp_.clear();
        result_.backupMade = backup;
        // A backup left under a temporary name by an earlier run is now one generation too old.
        removeStale(backup, began);
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
    fs::path backupTemp_;
    int fd_ = -1;
    ReplaceResult result_;
};

}  // namespace

ReplaceResult FileSystem::replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                                      const ReplaceOptions& options) const {
    ReplaceResult result;
    fs::path target;
    if (!detail::ReplaceTarget(*this, path, target, result.error)) return result;
    Replace replace(*this, target);
    return replace.run(content, backupName, options);
}

#endif

bool FileSystem::replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                             fs::path& backupMade, std::string& error) const {
    const ReplaceResult result = replaceFile(path, content, backupName, ReplaceOptions{});
    backupMade = result.backupMade;
    error = result.error;
    return result.ok;
}

}  // namespace tolvane::platform
