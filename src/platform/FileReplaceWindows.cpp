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

// One replace with the Windows calls: the temporary file it owns until the rename, removed on
// any failure. The new file's attributes and security follow its directory, as for any file
// the user creates there.
class Replace {
public:
    Replace(const FileSystem& files, fs::path target) : files_(files), target_(std::move(target)) {}
    ~Replace() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        if (!temp_.empty()) DeleteFileW(temp_.c_str());
    }
    Replace(const Replace&) = delete;
    Replace& operator=(const Replace&) = delete;

    bool run(const std::string& content, const BackupNamer& backupName, fs::path& backupMade, std::string& error) {
        backupMade.clear();
        const DWORD attributes = GetFileAttributesW(target_.c_str());
        const bool hadOld = attributes != INVALID_FILE_ATTRIBUTES;
        if (!hadOld) {
            const DWORD code = GetLastError();
            if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
                return fail(error, "cannot examine " + show(target_), {0, code});
        }
        if (hadOld && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return fail(error, "cannot replace " + show(target_), {EISDIR, 0});

        if (!createTemporary(error)) return false;
        if (!writeAll(content, error)) return false;
        if (hadOld && !keepBackup(backupName(target_), backupMade, error)) return false;
        if (const Failure f = renameOver()) return fail(error, "cannot replace " + show(target_), f);
        temp_.clear();  // it is the file now
        return true;
    }

private:
    std::string show(const fs::path& p) const { return files_.displayPath(p); }

    bool fail(std::string& error, const std::string& what, const Failure& f) {
        error = what + " (" + f.text() + ")";
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        if (!temp_.empty() && !DeleteFileW(temp_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            error += "; the temporary file " + show(temp_) + " could not be removed";
        temp_.clear();
        return false;
    }

    // Runs one step through the fault seam.
    template <typename F>
    static Failure step(FileOp op, const fs::path& p, F&& call) {
        if (const int injected = InjectedFault(op, p)) return {injected, 0};
        if (call()) return {};
        const DWORD code = GetLastError();
        return {0, code ? code : static_cast<DWORD>(ERROR_GEN_FAILURE)};
    }

    bool createTemporary(std::string& error) {
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
            if (f.err != EEXIST && !f.isCode({ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS})) return fail(error, where, f);
        }
        return fail(error, where, {EEXIST, 0});
    }

    bool writeAll(const std::string& content, std::string& error) {
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
        if (f) return fail(error, "cannot write the temporary file " + show(temp_), f);
        return true;
    }

    // The old file stays under the backup name: a second name for the same file (NTFS allows
    // that), so there is no moment without it. Where links are impossible (FAT, another volume,
    // some network shares) the backup is a copy.
    bool keepBackup(const std::string& backupName, fs::path& backupMade, std::string& error) {
        fs::path backup = target_.parent_path() / backupName;
        // A file whose backup name is its own name ("x.bak") must not be removed as its own
        // old backup.
        if (backup.filename() == target_.filename())
            backup = target_.parent_path() / (target_.filename().string() + ".bak");
        if (const Failure f = step(FileOp::Remove, backup, [&] {
                return DeleteFileW(backup.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
            }))
            return fail(error, "cannot remove the old backup " + show(backup), f);
        const std::string keep = "cannot keep the old file as " + show(backup);
        const Failure linked =
            step(FileOp::Link, backup, [&] { return CreateHardLinkW(backup.c_str(), target_.c_str(), nullptr) != 0; });
        if (linked) {
            const bool impossible =
                linked.err == EPERM || linked.err == EXDEV || linked.err == EMLINK || linked.err == ENOTSUP ||
                linked.err == ENOSYS ||
                linked.isCode({ERROR_NOT_SAME_DEVICE, ERROR_INVALID_FUNCTION, ERROR_NOT_SUPPORTED, ERROR_TOO_MANY_LINKS,
                               ERROR_CALL_NOT_IMPLEMENTED, ERROR_ACCESS_DENIED});
            if (!impossible) return fail(error, keep, linked);
            if (const Failure f = step(FileOp::Write, backup,
                                       [&] { return CopyFileW(target_.c_str(), backup.c_str(), TRUE) != 0; })) {
                DeleteFileW(backup.c_str());
                return fail(error, keep, f);
            }
        }
        backupMade = backup;
        return true;
    }

    // Windows cannot rename over a file another program holds open without letting it be
    // deleted (a virus scanner or an indexer looking at it, the server reading it): that is
    // tried again for a moment before it counts as a failure. The target is untouched either way.
    Failure renameOver() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (;;) {
            const Failure f = step(FileOp::Rename, target_, [&] {
                return MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

}  // namespace

bool FileSystem::replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                             fs::path& backupMade, std::string& error) const {
    fs::path target = resolve(path);
    if (!detail::FollowLinks(target, error)) return false;
    Replace replace(*this, target);
    return replace.run(content, backupName, backupMade, error);
}

}  // namespace tolvane::platform

#endif
