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
//
// A writer whose bytes come from what the editor shows (WriteBasis::View) replaces only the file
// it read: one that changed, appeared or went since it was read (another editor, a script) is
// refused with a message, so no stale view is written over another's work. A writer that builds
// its bytes from the file as it reads it now, under the save lock (the registry), says
// WriteBasis::CurrentFile. New bytes equal to the file's are not written: the file and its backup
// stay as they are (the save lists it as unchanged). A file without write permission is replaced
// only when the operator confirms it.
enum class WriteBasis { View, CurrentFile };
bool ReplaceFileViaTemp(const Context& ctx, const std::string& target, const std::string& content,
                        WriteBasis basis = WriteBasis::View);
// Moves an existing file to its backup name (the catalogue emptied), with the checks of a replace:
// a file that could not be read, or that changed since it was read, is left alone and reported.
// True when done or when there is no file.
bool SetFileAside(const Context& ctx, const std::string& path);

// How a file stands against what the editor last read or wrote of it.
enum class FileStanding { AsRead, Changed, Appeared };
// Nothing recorded of the path counts as AsRead: the operator named a file the editor never
// looked at (the save dialog), and the merging writers keep what it holds.
FileStanding StandingOf(const platform::FileSystem& fs, const std::string& path);
// The reason a standing other than AsRead gives, for messages ("changed since it was read").
std::string StandingReason(FileStanding standing);
// The in-place pattern (MOTD, maps.lst): the same safe replace, so a failed write never leaves a
// partial or missing file.
bool WriteFileWithBackup(const Context& ctx, const std::string& target, const std::string& content);

}  // namespace tolvane
