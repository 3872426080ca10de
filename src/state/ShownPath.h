#pragma once
// Paths in messages as the operator's system writes them. The program names its files as the
// Windows server does ("action\server.cfg"); a Linux operator reads "action/server.cfg".
#include <string>
#include <vector>

namespace tolvane {

inline std::string ShownPath(std::string path) {
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

// Several paths, separated by ", ".
inline std::string ShownPaths(const std::vector<std::string>& paths) {
    std::string out;
    for (const auto& p : paths) out += (out.empty() ? "" : ", ") + ShownPath(p);
    return out;
}

}  // namespace tolvane
