#pragma once
// A seam for tests: every step of a file replace and of the save lock, the opening of a file
// read whole and the check that a file of one name exists ask this hook first, so a test can
// make any one step fail (or stop the process there) and check what is left on disk.
// Without a hook installed nothing is asked and nothing changes.
#include <filesystem>
#include <functional>

namespace tolvane::platform {

enum class FileOp { Create, ModeChange, Write, Flush, Sync, Close, Remove, Link, Rename, Open, Examine };

const char* FileOpName(FileOp op);

// Returns 0 to let the step run, or an error number that the step then fails with.
using FileFaultHook = std::function<int(FileOp op, const std::filesystem::path& path)>;

// Installs a hook (an empty one removes it). Returns the hook it replaces.
FileFaultHook SetFileFaultHook(FileFaultHook hook);

// Asks the hook about one step: 0, or the error number to fail with.
int InjectedFault(FileOp op, const std::filesystem::path& path);

}  // namespace tolvane::platform
