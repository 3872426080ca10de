#pragma once
// What the program launchers of both hosts share.
#include <string>

namespace tolvane::platform::detail {

// The game server belongs to the Quake 2 directory: another installation's server found on the
// search path would run with other game files, so it is never looked for there.
bool IsServerProgram(const std::string& name);

}  // namespace tolvane::platform::detail
