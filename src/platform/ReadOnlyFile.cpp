#include "platform/ReadOnlyFile.h"

#include <cerrno>
#include <cstdio>
#include <limits>

#include "platform/RegularFile.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

#ifdef _WIN32

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& hostPath) {
    detail::Opened how;
    file_ = detail::OpenRegularFile(hostPath, how);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (file_) std::fclose(file_);
}

bool ReadOnlyFile::isOpen() const { return file_ != nullptr; }

std::optional<std::uint64_t> ReadOnlyFile::size() const {
    if (!file_) return std::nullopt;
    const __int64 length = ::_filelengthi64(::_fileno(file_));
    if (length < 0) return std::nullopt;
    return static_cast<std::uint64_t>(length);
}

bool ReadOnlyFile::readAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (!file_ || offset > static_cast<std::uint64_t>(std::numeric_limits<__int64>::max())) return false;
    if (::_fseeki64(file_, static_cast<__int64>(offset), SEEK_SET) != 0) return false;
    std::string data(length, '\0');
    const std::size_t got = length == 0 ? 0 : std::fread(data.data(), 1, length, file_);
    if (std::ferror(file_)) return false;
    data.resize(got);
    out = std::move(data);
    return true;
}

#else

// Only a regular file is opened: a pipe would hang the open and every read.
ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& hostPath) {
    detail::Opened how;
    fd_ = detail::OpenRegularFile(hostPath, O_RDONLY, how);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool ReadOnlyFile::isOpen() const { return fd_ >= 0; }

std::optional<std::uint64_t> ReadOnlyFile::size() const {
    struct stat st{};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool ReadOnlyFile::readAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (fd_ < 0 || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    std::string data(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd_, data.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;  // the end of the file
        got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    out = std::move(data);
    return true;
}

#endif

}  // namespace tolvane::platform
