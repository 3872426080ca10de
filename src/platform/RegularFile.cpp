#include "platform/RegularFile.h"

#include <cerrno>

#include "platform/SystemErrors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane::platform::detail {

bool Opened::missing() const { return err == ENOENT || err == ENOTDIR; }

std::string Opened::reason() const {
    if (directory) return ErrnoText(EISDIR);
    if (notRegular) return "not a regular file";
    return ErrnoText(err);
}

#ifdef _WIN32

std::FILE* OpenRegularFile(const std::filesystem::path& p, Opened& how) {
    how = {};
    std::FILE* f = ::_wfopen(p.c_str(), L"rb");
    if (!f) {
        how.err = errno ? errno : EIO;
        return nullptr;
    }
    // A device name (CON, NUL, COM1) opens a device, not a file on disk.
    if (GetFileType(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(f)))) != FILE_TYPE_DISK) {
        std::fclose(f);
        how.notRegular = true;
        return nullptr;
    }
    return f;
}

#else

int OpenRegularFile(const std::filesystem::path& p, int flags, Opened& how, unsigned mode) {
    how = {};
    // Without O_NONBLOCK the open of a pipe waits for a writer that never comes.
    int fd;
    do {
        fd = ::open(p.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, static_cast<mode_t>(mode));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        how.err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        how.err = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        how.notRegular = true;
        how.directory = S_ISDIR(st.st_mode);
        ::close(fd);
        return -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
        how.err = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

#endif

}  // namespace tolvane::platform::detail
