#pragma once
// What a benchmark's child process wrote on a pipe, read to its end (the child has exited or
// closed it).
#include <unistd.h>

#include <string>

namespace tolvane::bench {

inline std::string ReadToEnd(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

}  // namespace tolvane::bench
