#include "state/FileUtils.h"

#include <filesystem>

#include "state/ShownPath.h"
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
    ctx.message("Could not save " + ShownPath(target) + ": " + reason + "\r" +
                (existed ? "The file was left as it was." : "The file was not created."));
}

}  // namespace

SaveScope::SaveScope(const Context& ctx) : ctx_(ctx) {
    SaveSession& s = ctx.state.save;
    if (s.depth++ > 0) return;
    s.refused = false;
    s.failed = false;
    s.backups.clear();
    s.unchanged.clear();
    s.notes.clear();
    s.reloaded.clear();
    s.planned.clear();
    // Without a mod directory there is nothing to lock; each writer reports the directory. A run
    // that only looks writes nothing, not even the lock file, and neither does a rehearsal that
    // opens its own session (a preview of the changes).
    if (ctx.state.noWrites || s.rehearsal || !DirExistsConst(ctx.fs, ctx.state.strModDir)) return;
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
            ctx.message("Could not save: cannot lock " + ShownPath(lockPath) + " (" + error + ")\r" + "Nothing was saved.");
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

FileStanding StandingOf(const platform::FileSystem& fs, const std::string& path) {
    using Kind = platform::FileRecord::Kind;
    const auto record = fs.recorded(path);
    if (!record) return FileStanding::AsRead;
    const platform::FileRecord now = fs.examine(path);
    // An entry there now that cannot be read is the writer's to report (it cannot replace it).
    if (now.kind == Kind::Unreadable || *record == now) return FileStanding::AsRead;
    if (record->kind == Kind::Absent) return FileStanding::Appeared;
    // A file removed since it was read loses nothing when it is written anew.
    if (now.kind == Kind::Absent) return FileStanding::AsRead;
    // A file unreadable when read has its own rule (never replaced); readable now, it changed.
    return FileStanding::Changed;
}

std::string StandingReason(FileStanding standing) {
    switch (standing) {
        case FileStanding::AsRead: return "it is as it was read";
        case FileStanding::Changed: return "it was changed by another program since the editor read it";
        case FileStanding::Appeared: return "it was created, or could not be seen, when the editor read its files";
    }
    return {};
}

namespace {

// Refuses a write of a run that only looks; true when the write may go on.
bool WritesAllowed(const Context& ctx, const std::string& target) {
    if (!ctx.state.noWrites) return true;
    ctx.message("Could not save " + ShownPath(target) + ": this run only reads files.\rThe file was left as it was.");
    ctx.state.save.failed = true;
    return false;
}

// A file that could not be read when it was loaded is never replaced: what the editor shows of
// it is not what it holds.
bool ReadableWhenLoaded(const Context& ctx, const std::string& target) {
    const auto why = ctx.fs.readFailure(target);
    if (!why) return true;
    ctx.message("Could not save " + ShownPath(target) + ": the file could not be read (" + *why +
                "), and saving would lose what it holds.\r" + "The file was left as it was.");
    ctx.state.save.failed = true;
    return false;
}

// A file that is no longer what the editor read is not overwritten from the editor's view. The
// save sequence has asked the operator before any write; what is left here changed since then.
bool StillAsRead(const Context& ctx, const std::string& target) {
    const FileStanding standing = StandingOf(ctx.fs, target);
    if (standing == FileStanding::AsRead) return true;
    ctx.message("Could not save " + ShownPath(target) + ": " + StandingReason(standing) +
                ", and saving would write over what it holds now.\r" +
                "The file was left as it was: reload it, or save again to overwrite it.");
    ctx.state.save.failed = true;
    return false;
}

}  // namespace

bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& content, WriteBasis basis) {
    // A write on its own (outside a save) still takes the lock for itself.
    SaveScope scope(ctx);
    if (!scope.ok()) return false;
    SaveSession& session = ctx.state.save;
    const auto& fs = ctx.fs;
    if (!WritesAllowed(ctx, target) || !ReadableWhenLoaded(ctx, target)) return false;
    if (session.rehearsal) {
        session.planned.push_back({target, content, false, basis == WriteBasis::CurrentFile});
        return true;
    }
    const bool existed = fs.isFile(target);
    // Bytes equal to the file's are not written: the file keeps its time stamp and its backup
    // keeps the version before it, which a rewrite would turn into a second copy of the file.
    // Nobody's work is lost by that, so it holds also for a file another program wrote since.
    if (existed) {
        std::string now;
        std::string error;
        if (fs.readFile(target, now, error) && now == content) {
            fs.setRecord(target, platform::FileSystem::RecordOf(content));
            session.unchanged.push_back(target);
            return true;
        }
    }
    if (basis == WriteBasis::View && !StillAsRead(ctx, target)) return false;
    // The backup keeps its usual name unless a file saved earlier in this save has just made a
    // backup of that name (ctf.cfg and ctf.ini): then it takes the file's full name plus ".bak".
    const platform::BackupNamer backupName = [&session](const std::filesystem::path& replaced) {
        const std::string name = replaced.filename().string();
        std::string backup = BackupName(name);
        if (session.backups.count(BackupKey(replaced.parent_path() / backup))) backup = name + ".bak";
        return backup;
    };
    platform::ReplaceOptions options;
    platform::ReplaceResult result = fs.replaceFile(target, content, backupName, options);
    if (!result.ok && result.readOnly) {
        // A file without write permission was made so on purpose, most likely: replaced only when
        // the operator says so (a run without a window asks nobody and leaves it).
        const auto answer = ctx.dialogs.ask(target + " is read-only: you have no permission to write it.\r" +
                                                "Replace it anyway?",
                                            kProgramName, {"Replace", "Leave it"});
        if (answer && *answer == 0) {
            options.replaceReadOnly = true;
            result = fs.replaceFile(target, content, backupName, options);
        }
    }
    if (!result.ok) {
        ReportWriteFailure(ctx, target, result.error, existed);
        session.failed = true;
        return false;
    }
    fs.setRecord(target, platform::FileSystem::RecordOf(content));
    if (!result.backupMade.empty()) session.backups.insert(BackupKey(result.backupMade));
    if (!result.note.empty()) session.notes.push_back(target + ": " + result.note);
    return true;
}

bool SetFileAside(const Context& ctx, const std::string& path) {
    SaveScope scope(ctx);
    if (!scope.ok()) return false;
    if (!FileExists(ctx.fs, path)) {
        // The file went since it was read: nothing to set aside, and the catalogue is empty. A
        // rehearsal changes no record.
        if (!ctx.state.save.rehearsal) ctx.fs.setRecord(path, platform::FileRecord{});
        return true;
    }
    if (!WritesAllowed(ctx, path) || !ReadableWhenLoaded(ctx, path)) return false;
    if (ctx.state.save.rehearsal) {
        ctx.state.save.planned.push_back({path, {}, true});
        return true;
    }
    if (!StillAsRead(ctx, path)) return false;
    std::string error;
    if (!BackupFile(ctx.fs, path, error)) {
        ctx.message("Could not set " + ShownPath(path) + " aside as " + ShownPath(BackupName(path)) + ": " + error +
                    "\rThe file was left as it was.");
        ctx.state.save.failed = true;
        return false;
    }
    ctx.fs.setRecord(path, platform::FileRecord{});
    return true;
}

bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content) {
    // The in-place pattern gets the same safe replace: a file written in place would be
    // missing or partial if the write failed part way.
    return ReplaceFileViaTemp(ctx, target, content);
}

}  // namespace tolvane
