#include "state/FileUtils.h"

#include <filesystem>

#include "state/TextReaders.h"

namespace tolvane {

bool FileExists(const platform::FileSystem& fs, const std::string& path) {
    if (path.empty()) return false;
    return !fs.list(path, false).empty();
}

bool DirExists(const platform::FileSystem& fs, std::string& path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return false;
    return !fs.list(path, true).empty() && fs.isDirectory(path);
}

namespace {

// Position of the first dot of the file name (not of the whole path, so a directory such as
// my.mod keeps its name), or npos when the name has none.
std::size_t FirstDotOfName(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return path.find('.', slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

std::string BackupName(const std::string& path) {
    const std::size_t dot = FirstDotOfName(path);
    if (dot == std::string::npos) return path + ".bak";
    return path.substr(0, dot + 1) + "bak";
}

bool BackupFile(const platform::FileSystem& fs, const std::string& path, std::string& error) {
    if (!FileExists(fs, path)) return true;
    const std::string backup = BackupName(path);
    if (fs.isFile(backup) && !fs.removeFile(backup, error)) return false;
    return fs.renameFile(path, backup, error);
}

namespace {

// Backups are told apart the way the file system finds names: ignoring case.
std::string BackupKey(const std::filesystem::path& p) { return LowerCase(p.string()); }

void ReportWriteFailure(const Context& ctx, const std::string& target, const std::string& reason, bool existed) {
    ctx.message("Could not save " + target + ": " + reason + "\r" +
                (existed ? "The file was left as it was." : "The file was not created."));
}

}  // namespace

SaveScope::SaveScope(const Context& ctx) : ctx_(ctx) {
    SaveSession& s = ctx.state.save;
    if (s.depth++ > 0) return;
    s.refused = false;
    s.failed = false;
    s.backups.clear();
    // Without a mod directory there is nothing to lock; each writer reports the directory.
    if (!DirExistsConst(ctx.fs, ctx.state.strModDir)) return;
    const std::string lockPath = ctx.state.strModDir + "\\" + kSaveLockName;
    std::string error;
    switch (s.lock.acquire(ctx.fs.resolve(lockPath), s.lockWait, error)) {
        case platform::FileLock::Result::Locked:
            return;
        case platform::FileLock::Result::Busy:
            ctx.message("Another save is running in " + ctx.state.strModDir + ".\r" +
                        "Nothing was saved: try again when it has finished.");
            break;
        case platform::FileLock::Result::Failed:
            ctx.message("Could not save: cannot lock " + lockPath + " (" + error + ")\r" + "Nothing was saved.");
            break;
    }
    s.refused = true;
    s.failed = true;
}

SaveScope::~SaveScope() {
    SaveSession& s = ctx_.state.save;
    if (--s.depth == 0) s.lock.release();
}

bool SaveScope::ok() const { return !ctx_.state.save.refused; }

bool SaveScope::succeeded() const { return !ctx_.state.save.failed; }

bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& content) {
    // A write on its own (outside a save) still takes the lock for itself.
    SaveScope scope(ctx);
    if (!scope.ok()) return false;
    SaveSession& session = ctx.state.save;
    const auto& fs = ctx.fs;
    const bool existed = fs.isFile(target);
    // What the editor shows of a file it could not read is not what the file holds: writing it
    // would lose the file's content. The file stays as it is until it can be read.
    if (const auto why = fs.readFailure(target)) {
        ctx.message("Could not save " + target + ": the file could not be read (" + *why +
                    "), and saving would lose what it holds.\r" + "The file was left as it was.");
        session.failed = true;
        return false;
    }
    // The backup keeps its usual name unless a file saved earlier in this save has just made a
    // backup of that name (ctf.cfg and ctf.ini): then it takes the file's full name plus ".bak".
    const platform::BackupNamer backupName = [&session](const std::filesystem::path& replaced) {
        const std::string name = replaced.filename().string();
        std::string backup = BackupName(name);
        if (session.backups.count(BackupKey(replaced.parent_path() / backup))) backup = name + ".bak";
        return backup;
    };
    std::filesystem::path backupMade;
    std::string error;
    if (!fs.replaceFile(target, content, backupName, backupMade, error)) {
        ReportWriteFailure(ctx, target, error, existed);
        session.failed = true;
        return false;
    }
    if (!backupMade.empty()) session.backups.insert(BackupKey(backupMade));
    return true;
}

bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content) {
    // The in-place pattern gets the same safe replace: a file written in place would be
    // missing or partial if the write failed part way.
    return ReplaceFileViaTemp(ctx, target, content);
}

}  // namespace tolvane
