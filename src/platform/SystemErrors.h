#pragma once
// Reasons for failed system calls, worded the same on every host where the meaning is the same.
#include <string>

namespace tolvane::platform {

// The reason for an error number (errno), as the C library words it.
std::string ErrnoText(int err);

#ifdef _WIN32
// The reason for a Windows error code (GetLastError). The common failures read as they do on
// other hosts ("No such file or directory", "Permission denied"), so that messages and the
// people who know them stay the same; the others read as Windows words them.
std::string SystemErrorText(unsigned long code);
#endif

}  // namespace tolvane::platform
