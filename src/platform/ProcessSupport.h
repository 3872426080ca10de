#pragma once
// What the program launchers of both hosts share.
#include <string>
#include <vector>

namespace tolvane::platform::detail {

// The game server belongs to the Quake 2 directory: another installation's server found on the
// search path would run with other game files, so it is never looked for there.
bool IsServerProgram(const std::string& name);

// The directories of a POSIX search path (PATH) in order, absolute ones only: an empty or
// relative entry would make what is found depend on the editor's own directory.
std::vector<std::string> SearchPathDirectories(const std::string& path);

}  // namespace tolvane::platform::detail
