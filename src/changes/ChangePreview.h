#pragma once
// What a save will change: the files a rehearsed save would write, each against what the disk
// holds now, and one patch of them all.
#include <string>
#include <vector>

#include "state/AppState.h"

namespace tolvane::changes {

struct FileChange {
    std::string path;         // as the program names it: action\server.cfg
    std::string displayPath;  // relative to the Quake 2 directory, with '/': action/server.cfg
    enum class Kind { Changed, Created, Unchanged, SetAside } kind = Kind::Changed;
    std::string oldText;  // the file's bytes now (empty for a file to be created)
    std::string newText;  // the bytes the save writes (empty for a file set aside)
};

// The planned writes of a rehearsal, each compared with the file's bytes now, read through
// ctx.fs: no file is Created, the same bytes are Unchanged. A file written twice in one save
// is listed once, with its last bytes. A file that is there but cannot be read now counts as
// Changed from empty bytes (the save itself reports such a file).
std::vector<FileChange> ChangesOf(const Context& ctx, const std::vector<SaveSession::Planned>& planned);

// One patch of every change that `patch -p1` applies in the Quake 2 directory: "a/" and "b/"
// before each path, /dev/null for the side of a created file. A file set aside is shown as
// deleted (+++ /dev/null): the save moves it to its backup name, which a patch cannot say.
// Unchanged files add nothing, nor does a file created empty.
std::string UnifiedDiffOf(const std::vector<FileChange>& changes);
// The same for reading on a screen: CR LF ends are not shown as bytes but marked where a hunk
// mixes them with LF ends (see changes/UnifiedDiff.h). Not a patch.
std::string ReadableDiffOf(const std::vector<FileChange>& changes);

}  // namespace tolvane::changes
