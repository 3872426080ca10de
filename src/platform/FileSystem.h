#pragma once
// The file system as the program sees it: Windows-style paths relative to the Quake 2
// directory ("action\\server.cfg"), mapped onto the host. Backslashes become the native
// separator; on a case-sensitive file system a path component that does not exist as written
// resolves to the entry whose name matches ignoring case, as Windows would find it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tolvane::platform {

class FileSystem {
public:
    // root: the Quake 2 directory every relative path starts from.
    explicit FileSystem(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // Host path for a relative Windows-style path (case-insensitive lookup per component;
    // components that do not exist are kept as written).
    std::filesystem::path resolve(const std::string& path) const;

    // Lists the names (not paths) matching the last component of a pattern such as
    // "action\\maps\\*.bsp", "baseq2\\players\\*." or "action\\server.cfg". Wildcards * and ?
    // match ignoring case; "*." matches names without an extension. Files only, or files and
    // directories. "." and ".." are never returned. Sorted ascending by case-folded name.
    // Any failure yields an empty list.
    std::vector<std::string> list(const std::string& pattern, bool includeDirectories) const;

    bool isDirectory(const std::string& path) const;
    bool isFile(const std::string& path) const;
    // Length in bytes, or nothing when the file cannot be examined.
    std::optional<std::uintmax_t> fileSize(const std::string& path) const;

    // Whole-file read. On failure returns false and sets error to the reason.
    bool readFile(const std::string& path, std::string& content, std::string& error) const;
    // Reads up to `length` bytes at `offset`; fewer when the file is shorter.
    bool readAt(const std::string& path, std::uint64_t offset, std::size_t length, std::string& out) const;

    // Creates (truncating) the file and writes all bytes, checking every write, the flush to
    // disk and the close. On failure the partial file is removed and error names the reason.
    bool writeFile(const std::string& path, const std::string& content, std::string& error) const;
    // Deletes a file; true when it is gone afterwards (also when it never existed).
    bool removeFile(const std::string& path, std::string& error) const;
    // Renames (replacing an existing target). On failure error names the reason.
    bool renameFile(const std::string& from, const std::string& to, std::string& error) const;

private:
    std::filesystem::path root_;
};

// True when a name matches a wildcard pattern (* and ?), ignoring ASCII case. A pattern ending
// in "*." matches names without a dot in them, as the Windows listing does.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace tolvane::platform
