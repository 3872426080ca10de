// The safe replace of a whole file with the Windows calls: an exclusive create, a hard link (or
// a copy) for the backup, and MoveFileEx with write-through for the one-step replace.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <initializer_list>
#include <system_error>
#include <thread>

#include "platform/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/ReplaceSupport.h"
#include "platform/SystemErrors.h"

namespace tolvane::platform {

namespace fs = std::filesystem;


namespace {

// A failed step: an error number (from the fault seam) or a Windows error code.
struct Failure {
    int err = 0;
    DWORD code = 0;
    explicit operator bool() const { return err != 0 || code != 0; }
    std::string text() const { return err ? ErrnoText(err) : SystemErrorText(code); }
    bool isCode(std::initializer_list<DWORD> codes) const {
        if (err) return false;
        for (DWORD c : codes)
            if (code == c) return true;
        return false;
    }
};

// Joins what a replace could not keep into one note.
void addNote(std::string& note, const std::string& more) {
    if (!note.empty()) note += "; ";
    note += more;
}

// One replace with the Windows calls: the temporary file and the new backup it owns until they
// take their names, removed on any failure before the file is replaced. The new file's
// attributes and security follow its directory, as for any file the user creates there.
class Replace {
public:
    Replace(const FileSystem& files, fs::path target) : files_(files), target_(std::move(target)) {}
    ~Replace() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        if (!temp_.empty()) DeleteFileW(temp_.c_str());
        if (!backupTemp_.empty()) DeleteFileW(backupTemp_.c_str());
    }
    Replace(const Replace&) = delete;
    Replace& operator=(const Replace&) = delete;

    ReplaceResult run(const std::string& content, const BackupNamer& backupName, const ReplaceOptions& options) {
        const auto began = fs::file_time_type::clock::now();
        const DWORD attributes = GetFileAttributesW(target_.c_str());
        const bool hadOld = attributes != INVALID_FILE_ATTRIBUTES;
        if (!hadOld) {
            const DWORD code = GetLastError();
            if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
                return fail("cannot examine " + show(target_), {0, code});
        }
        if (hadOld && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return fail("cannot replace " + show(target_), {EISDIR, 0});
        const bool readOnly = hadOld && (attributes & FILE_ATTRIBUTE_READONLY);
        if (readOnly && !options.replaceReadOnly) {
            result_.readOnly = true;
            return fail("cannot replace " + show(target_) + ": it is read-only (no write permission)", {});
        }

        removeStale(target_, began);
        if (!createTemporary()) return result_;
        if (!writeAll(content)) return result_;
        fs::path backup;
        if (hadOld && !makeBackup(backupName(target_), backup)) return result_;
        // Windows renames nothing over a read-only file: the operator confirmed, so the mark is
        // taken off for the rename and put on the new file after it.
        if (readOnly && !SetFileAttributesW(target_.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
            return fail("cannot replace " + show(target_), {0, GetLastError()});
        if (const Failure f = renameOver(temp_, target_)) {
            if (readOnly) SetFileAttributesW(target_.c_str(), attributes);
            return fail("cannot replace " + show(target_), f);
        }
        temp_.clear();  // it is the file now
        result_.ok = true;
        if (readOnly) {
            const DWORD now = GetFileAttributesW(target_.c_str());
            if (now == INVALID_FILE_ATTRIBUTES || !SetFileAttributesW(target_.c_str(), now | FILE_ATTRIBUTE_READONLY))
                addNote(result_.note, show(target_) + " is no longer read-only");
        }
        if (hadOld) moveBackupIntoPlace(backup, began);
        return result_;
    }

private:
    std::string show(const fs::path& p) const { return files_.displayPath(p); }

    ReplaceResult& fail(const std::string& what, const Failure& f) {
        result_.ok = false;
        result_.error = f ? what + " (" + f.text() + ")" : what;
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        if (!temp_.empty() && !DeleteFileW(temp_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            result_.error += "; the temporary file " + show(temp_) + " could not be removed";
        temp_.clear();
        // Before the file is replaced the new backup is a second name of the file (or a copy).
        if (!backupTemp_.empty()) DeleteFileW(backupTemp_.c_str());
        backupTemp_.clear();
        return result_;
    }

    // Runs one step through the fault seam.
    template <typename F>
    static Failure step(FileOp op, const fs::path& p, F&& call) {
        if (const int injected = InjectedFault(op, p)) return {injected, 0};
        if (call()) return {};
        const DWORD code = GetLastError();
        return {0, code ? code : static_cast<DWORD>(ERROR_GEN_FAILURE)};
    }

    static bool exists(const Failure& f) { return f.err == EEXIST || f.isCode({ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS}); }

    // Temporary files of this name that an earlier run left behind (stopped part way): only the
    // exact names this program makes, regular files older than this replace. Best effort.
    void removeStale(const fs::path& of, fs::file_time_type before) {
        for (const auto& p : detail::StaleTemporaries(of, before))
            if (p != temp_ && p != backupTemp_) step(FileOp::Remove, p, [&] { return DeleteFileW(p.c_str()) != 0; });
    }

    bool createTemporary() {
        // A name somebody else holds (an earlier leftover, a file planted there) is never opened:
        // the create fails on it and another name is tried.
        const std::string where = "cannot create a temporary file in " + show(target_.parent_path());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = detail::TemporaryNameFor(target_);
            const Failure f = step(FileOp::Create, candidate, [&] {
                h_ = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
                return h_ != INVALID_HANDLE_VALUE;
            });
            if (!f) {
                temp_ = candidate;
                return true;
            }
            if (!exists(f)) return fail(where, f), false;
        }
        return fail(where, {EEXIST, 0}), false;
    }

    bool writeAll(const std::string& content) {
        Failure f = step(FileOp::Write, temp_, [&] {
            std::size_t done = 0;
            while (done < content.size()) {
                const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
                DWORD written = 0;
                if (!WriteFile(h_, content.data() + done, chunk, &written, nullptr)) return false;
                if (written == 0) {
                    SetLastError(ERROR_WRITE_FAULT);
                    return false;
                }
                done += written;
            }
            return true;
        });
        if (!f) f = step(FileOp::Sync, temp_, [&] { return FlushFileBuffers(h_) != 0; });
        // A close is never repeated (the handle is gone either way); an injected failure still
        // closes the file.
        const int injected = f ? 0 : InjectedFault(FileOp::Close, temp_);
        const BOOL closed = CloseHandle(h_);
        const DWORD closeCode = closed ? 0 : GetLastError();
        h_ = INVALID_HANDLE_VALUE;
        if (!f && injected) f = {injected, 0};
        if (!f && !closed) f = {0, closeCode};
        if (f) return fail("cannot write the temporary file " + show(temp_), f), false;
        return true;
    }

    // The new backup: a second name for the old file (NTFS allows that), made under a temporary
    // name beside the backup, so that the old backup stays until the file is replaced. Where
    // links are impossible (FAT, another volume, some network shares) it is a copy.
    bool makeBackup(const std::string& backupName, fs::path& backup) {
        backup = target_.parent_path() / backupName;
        // A file whose backup name is its own name ("x.bak") must not be replaced by its backup.
        if (backup.filename() == target_.filename())
            backup = target_.parent_path() / (target_.filename().string() + ".bak");
        const std::string keep = "cannot keep the old file as " + show(backup);
        // What the backup's name cannot be moved over is found before anything is replaced.
        const DWORD there = GetFileAttributesW(backup.c_str());
        if (there != INVALID_FILE_ATTRIBUTES && (there & FILE_ATTRIBUTE_DIRECTORY)) return fail(keep, {EISDIR, 0}), false;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = detail::TemporaryNameFor(backup);
            const Failure linked = step(FileOp::Link, candidate,
                                        [&] { return CreateHardLinkW(candidate.c_str(), target_.c_str(), nullptr) != 0; });
            if (!linked) {
                backupTemp_ = candidate;
                return true;
            }
            if (exists(linked)) continue;
            const bool impossible =
                linked.err == EPERM || linked.err == EXDEV || linked.err == EMLINK || linked.err == ENOTSUP ||
                linked.err == ENOSYS ||
                linked.isCode({ERROR_NOT_SAME_DEVICE, ERROR_INVALID_FUNCTION, ERROR_NOT_SUPPORTED, ERROR_TOO_MANY_LINKS,
                               ERROR_CALL_NOT_IMPLEMENTED, ERROR_ACCESS_DENIED});
            if (!impossible) return fail(keep, linked), false;
            // The copy goes to a fresh name too (never over a file that is there).
            const Failure copied = step(FileOp::Write, candidate,
                                        [&] { return CopyFileW(target_.c_str(), candidate.c_str(), TRUE) != 0; });
            if (exists(copied)) continue;
            if (copied) {
                DeleteFileW(candidate.c_str());
                return fail(keep, copied), false;
            }
            backupTemp_ = candidate;
            return true;
        }
        return fail(keep, {EEXIST, 0}), false;
    }

    // The file is replaced: the new backup takes the backup's name in one step. When it cannot,
    // the save still succeeded; the old backup stays, and the old file keeps its temporary name
    // so that nothing is lost.
    void moveBackupIntoPlace(const fs::path& backup, fs::file_time_type began) {
        if (const Failure f = renameOver(backupTemp_, backup, FileOp::Rename)) {
            addNote(result_.note, "the backup " + show(backup) + " was not updated (" + f.text() +
                                      "); the old file is kept as " + show(backupTemp_));
            backupTemp_.clear();
            return;
        }
        backupTemp_.clear();
        result_.backupMade = backup;
        // A backup left under a temporary name by an earlier run is now one generation too old.
        removeStale(backup, began);
    }

    // Windows cannot rename over a file another program holds open without letting it be
    // deleted (a virus scanner or an indexer looking at it, the server reading it): that is
    // tried again for a moment before it counts as a failure. The target is untouched either way.
    static Failure renameOver(const fs::path& from, const fs::path& to, FileOp op = FileOp::Rename) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (;;) {
            const Failure f = step(op, to, [&] {
                return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            });
            if (!f.isCode({ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION}) ||
                std::chrono::steady_clock::now() >= deadline)
                return f;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    const FileSystem& files_;
    fs::path target_;
    fs::path temp_;
    fs::path backupTemp_;
    HANDLE h_ = INVALID_HANDLE_VALUE;
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

}  // namespace tolvane::platform

#endif
