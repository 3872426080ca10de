#pragma once
// How the file system splits a Windows-style path, shared by its name and content sides.
#include <string>
#include <vector>

namespace tolvane::platform::detail {

// The components of a path. Windows accepts both separators; empty components (doubled or
// trailing separators) and "." change nothing.
std::vector<std::string> SplitComponents(const std::string& path);

}  // namespace tolvane::platform::detail
