#pragma once
// Steps the safe replace takes the same way on every host.
#include <filesystem>
#include <string>

namespace tolvane::platform::detail {

// A fresh name for the temporary file beside `target`: its name, a unique part, then ".tmp".
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

// Follows a chain of links to the file it finally names (which need not exist yet), so that
// the file is replaced and the link stays. False, with the reason in error, for a loop or a
// link that cannot be read.
bool FollowLinks(std::filesystem::path& p, std::string& error);

}  // namespace tolvane::platform::detail
