#pragma once
// Existence checks, the backup step and the two rewrite patterns every file writer follows.
#include <string>

#include "state/AppState.h"

namespace tolvane {

// True when a listing of the path (a name or a wildcard pattern), normal files only, yields a
// name. Directories do not count. Any failure reads as absent.
bool FileExists(const platform::FileSystem& fs, const std::string& path);
// Removes one trailing backslash from the caller's string, then answers whether the path
// names a directory. Any failure reads as absent.
bool DirExists(const platform::FileSystem& fs, std::string& path);
// The same check for a path the caller keeps as it is (the trailing backslash is dropped from
// a copy).
inline bool DirExistsConst(const platform::FileSystem& fs, std::string path) { return DirExists(fs, path); }

// The backup name of a path: up to and including the first "." of the file name, then "bak"
// (action\server.cfg -> action\server.bak; my.mod\server.cfg -> my.mod\server.bak).
// A file name without a dot gets ".bak" added.
std::string BackupName(const std::string& path);
// Moves an existing file to its backup name, replacing an older backup. Does nothing when the
// file does not exist. Returns false with a reason when the move failed.
bool BackupFile(const platform::FileSystem& fs, const std::string& path, std::string& error);

// Writes a whole file the safe way (see FileSystem::replaceFile): the target is always its old
// or its complete new bytes, and the old file stays as its backup. A file that could not be read
// when it was loaded is never replaced. Backups already made in the same save are not
// overwritten. On any failure one message naming the file and the reason is shown, the save's
// failure is recorded, and false returned. Outside a save the write takes the save lock itself.
bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& content);
// The in-place pattern (MOTD, maps.lst): the same safe replace, so a failed write never leaves a
// partial or missing file.
bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content);

}  // namespace tolvane
