#pragma once
// Steps the safe replace takes the same way on every host.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::platform {
class FileSystem;
}

namespace tolvane::platform::detail {

#ifndef _WIN32
// The name an existing entry of `dir` has for `name` ignoring case, as the rest of the program
// finds files; the name as given when there is none. (Windows finds names ignoring case.)
std::filesystem::path EntryIgnoringCase(const std::filesystem::path& dir, const std::string& name);
#endif

// A fresh name for the temporary file beside `target`: its name, a unique part, then ".tmp".
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target);

// Follows a chain of links to the file it finally names (which need not exist yet), so that
// the file is replaced and the link stays. False, with the reason in error, for a loop or a
// link that cannot be read.
bool FollowLinks(std::filesystem::path& p, std::string& error);

// The host file a replace of `path` writes: its own, or the file a link at it finally names
// when that lies inside the Quake 2 directory. False, with the reason in error, otherwise.
bool ReplaceTarget(const FileSystem& files, const std::string& path, std::filesystem::path& target,
                   std::string& error);

// True for a name this program gives a temporary file of `of`: of + "." + six letters or
// digits + ".tmp" (ignoring case where the file system does).
bool IsOwnTemporaryName(std::string_view name, std::string_view of);

// This program's temporary files of the file `of` (regular files, not links) written before
// `before`: left behind by a run that stopped part way.
std::vector<std::filesystem::path> StaleTemporaries(const std::filesystem::path& of,
                                                    std::filesystem::file_time_type before);

}  // namespace tolvane::platform::detail
