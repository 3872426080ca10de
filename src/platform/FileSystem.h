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

// What a path held when the editor looked at it.
struct FileRecord {
    enum class Kind { Absent, Read, Unreadable };
    Kind kind = Kind::Absent;
    std::uintmax_t size = 0;      // Read only
    std::uint64_t digest = 0;     // Read only: a 64-bit hash of the bytes
    bool operator==(const FileRecord&) const = default;
};

struct ReplaceOptions {
    bool replaceReadOnly = false;  // the operator confirmed replacing a file without write permission
};

struct ReplaceResult {
    bool ok = false;
    bool readOnly = false;                 // refused: no write permission and not confirmed
    std::filesystem::path backupMade;      // empty when there was no old file
    std::string error;                     // why it failed
    std::string note;                      // done, but something was not kept (owner, group, backup)
};

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
    // directories. "." and ".." are never returned. Sorted ascending by case-folded name. Any
    // failure yields an empty list.
    std::vector<std::string> list(const std::string& pattern, bool includeDirectories) const;
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
    // and sets error to the reason. Only a regular file is opened: a pipe or a device at the
    // name is unreadable ("not a regular file"), never waited on. A file that exists but cannot be read is remembered (see
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
    // The record of what a path held when the editor last saw it: read while loading, found
    // absent while loading, there but unreadable, or last written by this program. Nothing
    // when the path was never looked at.
    std::optional<FileRecord> recorded(const std::string& path) const;
    // Sets the record (after this program wrote the file, or the operator chose to overwrite).
    void setRecord(const std::string& path, const FileRecord& record) const;
    // The record that bytes make (Read, with their size and digest).
    static FileRecord RecordOf(std::string_view bytes);
    // The file as it is now, looked at without recording anything: Absent (no entry of that
    // name), Read with its digest, or Unreadable (an entry that is not a regular file, or cannot
    // be read).
    FileRecord examine(const std::string& path) const;

    // Reads up to `length` bytes at `offset`; fewer when the file is shorter.
    bool readAt(const std::string& path, std::uint64_t offset, std::size_t length, std::string& out) const;

    // Deletes a file; true when it is gone afterwards (also when it never existed).
    bool removeFile(const std::string& path, std::string& error) const;
    // Renames (replacing an existing target). On failure error names the reason.
    bool renameFile(const std::string& from, const std::string& to, std::string& error) const;

    // Replaces a file's content safely: the content goes to a new temporary file with a unique
    // name in the file's own directory (created exclusively, never through a link), written,
    // flushed and synced with every step checked, given the old file's mode (and owner and
    // group where allowed; the note says when not). The old file gets a second name (a hard
    // link, or a copy where links are impossible) under a temporary name beside the backup;
    // the temporary file is renamed over the file in one step, and only then does the new
    // backup take the backup's name, so a failure before leaves the old backup as it was. The
    // file is always its old or its new bytes. When the backup's last move fails the file is
    // replaced all the same: ok, with a note, the old backup stays and the old file keeps its
    // temporary name. Temporary files of this file (and of its backup) that an earlier run
    // left behind (NAME.XXXXXX.tmp, regular files older than this replace) are removed.
    // A link is written through only to a file inside the Quake 2 directory: that file is
    // replaced in its own directory, the backup goes beside it and the link stays; a link
    // leading elsewhere is refused. A file without write permission for this user is refused
    // (readOnly) unless the options say the operator confirmed. On failure the file is
    // untouched, no temporary file is left, and error names the step, the file and the reason.
    // backupMade is the backup's host path, empty when there was no old file (or its backup
    // could not take its name).
    ReplaceResult replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                              const ReplaceOptions& options) const;
    // The same without confirmation: a read-only file is a failure.
    bool replaceFile(const std::string& path, const std::string& content, const BackupNamer& backupName,
                     std::filesystem::path& backupMade, std::string& error) const;

    // A host path as messages show it: relative to the Quake 2 directory when inside it.
    std::string displayPath(const std::filesystem::path& hostPath) const;

private:
    void rememberReadFailure(const std::filesystem::path& p, const std::string& reason) const;
    // While loading: what a read found, and an exact-name check that found no regular file.
    void recordRead(const std::filesystem::path& p, const FileRecord& record) const;
    void recordAbsent(const std::filesystem::path& p) const;
    std::filesystem::path root_;
    mutable std::map<std::filesystem::path, std::string> readFailures_;
    mutable std::map<std::filesystem::path, FileRecord> records_;
    mutable int loading_ = 0;
};

// True when a name matches a wildcard pattern (* and ?), ignoring ASCII case. A pattern ending
// in "*." matches names without a dot in them, as the Windows listing does.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace tolvane::platform
