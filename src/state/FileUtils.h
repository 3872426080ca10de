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

// Writes a whole file the safe way: the content goes to the temporary file first (checked,
// flushed), then the old target becomes its backup and the temporary file takes its name.
// On any failure the target is left as it was (or restored from its backup), the temporary
// file is removed, one message naming the file and the reason is shown, and false returned.
// `temp` is the temporary file's path ("action\\server.tmp").
bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& temp,
                        const std::string& content);
// The in-place pattern (MOTD, maps.lst): visibly a backup, then the new file. It goes through a
// temporary file beside the target as well, so a failed write never leaves a partial file.
bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content);

}  // namespace tolvane
