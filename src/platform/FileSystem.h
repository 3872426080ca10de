#pragma once
// The file system as the program sees it: Windows-style paths relative to the Quake 2
// directory ("action\\server.cfg"), mapped onto the host. Backslashes become the native
// separator; on a case-sensitive file system a path component that does not exist as written
// resolves to the entry whose name matches ignoring case, as Windows would find it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::platform {

// What a whole-file read found: the content, no file at all, or a file that exists but could
// not be read (no permission, an input/output error). Converts to true only when the content
// was read, so callers that only ask "did it work" read as before.
struct ReadResult {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    operator bool() const { return status == Status::Read; }
    bool missing() const { return status == Status::Missing; }
    bool failed() const { return status == Status::Failed; }
};

// Gives the file name (without directory) the backup of a replaced file takes, from the host
// path of the file actually replaced (after links are followed).
using BackupNamer = std::function<std::string(const std::filesystem::path& replaced)>;

class FileSystem {
public:
    // root: the Quake 2 directory every relative path starts from.
    explicit FileSystem(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // Host path for a relative Windows-style path (case-insensitive lookup per component;
    // components that do not exist are kept as written). On Windows, which finds names
    // ignoring case itself, the components are only joined.
    std::filesystem::path resolve(const std::string& path) const;

    // Lists the names (not paths) matching the last component of a pattern such as
    // "action\\maps\\*.bsp", "baseq2\\players\\*." or "action\\server.cfg". Wildcards * and ?
    // match ignoring case; "*." matches names without an extension. Files only, or files and
    // directories. "." and ".." are never returned. Sorted ascending by case-folded name, or
    // in the system's own order when the caller has no use for the order (a map directory of
    // tens of thousands of files is then not sorted twice). Any failure yields an empty list.
    enum class Order { Sorted, Unsorted };
    std::vector<std::string> list(const std::string& pattern, bool includeDirectories,
                                  Order order = Order::Sorted) const;
    // The same names handed one at a time (each a view valid during the call), in the
    // system's order, with no list held: a map
    // directory of tens of thousands of files costs no list of its names. False when the
    // listing failed part way (the names already handed are then not the whole directory).
    bool listEach(const std::string& pattern, bool includeDirectories,
                  const std::function<void(std::string_view)>& take) const;

    bool isDirectory(const std::string& path) const;
    bool isFile(const std::string& path) const;
    // Length in bytes, or nothing when the file cannot be examined.
    std::optional<std::uintmax_t> fileSize(const std::string& path) const;

    // Whole-file read. On failure tests false, says whether the file is missing or unreadable,
    // and sets error to the reason. A file that exists but cannot be read is remembered (see
    // readFailure) until it is read again successfully while loading.
    ReadResult readFile(const std::string& path, std::string& content, std::string& error) const;
    // The reason an existing file could not be read, when a read of it failed and no later read
    // while loading succeeded; nothing otherwise.
    std::optional<std::string> readFailure(const std::string& path) const;
    // While loading, a successful read forgets an earlier failure of that file: what the editor
    // shows now comes from the file. Reads outside loading (a writer reading the old file it is
    // about to replace) say nothing about what the editor shows, so they forget nothing.
    class LoadingScope {
    public:
        explicit LoadingScope(const FileSystem& files) : files_(files) { ++files_.loading_; }
        ~LoadingScope() { --files_.loading_; }
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        const FileSystem& files_;
    };
    // Reads up to `length` bytes at `offset`; fewer when the file is shorter.
    bool readAt(const std::string& path, std::uint64_t offset, std::size_t length, std::string& out) const;

    // Creates (truncating) the file and writes all bytes, checking every write, the flush to
    // disk and the close. On failure the partial file is removed and error names the reason.
    bool writeFile(const std::string& path, const std::string& content, std::string& error) const;
    // Deletes a file; true when it is gone afterwards (also when it never existed).
    bool removeFile(const std::string& path, std::string& error) const;
    // Renames (replacing an existing target). On failure error names the reason.
    bool renameFile(const std::string& from, const std::string& to, std::string& error) const;

    // Replaces a file's content safely: the content goes to a new temporary file with a unique
    // name in the file's own directory (created exclusively, never through a link), written,
    // flushed and synced with every step checked, given the old file's mode (and owner and
    // group where allowed); the old file is kept under the backup name by a hard link (a copy
    // where links are impossible); then the temporary file is renamed over the file in one step.
    // The file is always its old or its new bytes. A link is written through: the file it names
    // is replaced in its own directory, the backup goes beside that file and the link stays.
    // On failure the file is untouched, no temporary file is left, and error names the step,
    // the file and the reason. backupMade is the backup's host path, empty when there was no
    // old file.
    bool replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                     std::filesystem::path& backupMade, std::string& error) const;

    // A host path as messages show it: relative to the Quake 2 directory when inside it.
    std::string displayPath(const std::filesystem::path& hostPath) const;

private:
    void rememberReadFailure(const std::filesystem::path& p, const std::string& reason) const;
    std::filesystem::path root_;
    mutable std::map<std::filesystem::path, std::string> readFailures_;
    mutable int loading_ = 0;
};

// True when a name matches a wildcard pattern (* and ?), ignoring ASCII case. A pattern ending
// in "*." matches names without a dot in them, as the Windows listing does.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace tolvane::platform
