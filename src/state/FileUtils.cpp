#include "state/FileUtils.h"

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

void ReportWriteFailure(const Context& ctx, const std::string& target, const std::string& reason) {
    ctx.message("Could not save " + target + ": " + reason + "\r" +
                "The file was left as it was.");
}

}  // namespace

bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& temp,
                        const std::string& content) {
    const auto& fs = ctx.fs;
    std::string error;
    if (fs.isFile(temp) && !fs.removeFile(temp, error)) {
        ReportWriteFailure(ctx, target, "cannot remove the old temporary file " + temp + " (" + error + ")");
        return false;
    }
    // writeFile checks every write, the flush to disk and the close, and removes a partial file.
    if (!fs.writeFile(temp, content, error)) {
        ReportWriteFailure(ctx, target, error);
        return false;
    }
    const bool hadTarget = FileExists(fs, target);
    if (!BackupFile(fs, target, error)) {
        std::string ignored;
        fs.removeFile(temp, ignored);
        ReportWriteFailure(ctx, target, "cannot keep the old file as " + BackupName(target) + " (" + error + ")");
        return false;
    }
    if (!fs.renameFile(temp, target, error)) {
        std::string ignored;
        // Put the old file back from its backup so the target is as it was.
        if (hadTarget) fs.renameFile(BackupName(target), target, ignored);
        fs.removeFile(temp, ignored);
        ReportWriteFailure(ctx, target, error);
        return false;
    }
    return true;
}

bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content) {
    // The temporary file sits beside the target and takes the target's name with ".tmp".
    const std::size_t dot = FirstDotOfName(target);
    const std::string temp = (dot == std::string::npos ? target : target.substr(0, dot)) + ".tmp";
    return ReplaceFileViaTemp(ctx, target, temp, content);
}

}  // namespace tolvane
