#pragma once
// A file opened once for reading pieces of it: an archive's header, then its directory,
// without opening it again for each.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tolvane::platform {

class ReadOnlyFile {
public:
    // Opens only a regular file (not a pipe, a device or a directory).
    explicit ReadOnlyFile(const std::filesystem::path& hostPath);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const;
    // Its length in bytes; nothing when it cannot be examined.
    std::optional<std::uint64_t> size() const;
    // Up to `length` bytes at `offset`, fewer at the end of the file; false on a read error.
    bool readAt(std::uint64_t offset, std::size_t length, std::string& out) const;

private:
#ifdef _WIN32
    std::FILE* file_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace tolvane::platform
