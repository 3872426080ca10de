// The command line split into arguments by Windows rules and the launch directory, alike on
// every host. The launchers are in ProcessWindows.cpp and ProcessPosix.cpp.
#include "platform/Process.h"

#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProcessSupport.h"

namespace tolvane::platform {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

namespace detail {

bool IsServerProgram(const std::string& name) {
    std::string lower;
    for (char c : name) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "quake2.exe" || lower == "quake2";
}

std::vector<std::string> SearchPathDirectories(const std::string& path) {
    std::vector<std::string> dirs;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        std::string dir = path.substr(start, end - start);
        start = end + 1;
        if (!dir.empty() && dir[0] == '/') dirs.push_back(std::move(dir));
    }
    return dirs;
}

}  // namespace detail

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    const std::size_t n = line.size();
    std::size_t i = 0;
    // The runtime would take leading blanks as an empty program name, which nothing can start;
    // they are skipped instead.
    while (i < n && isBlank(line[i])) ++i;
    if (i == n) return args;

    // The program name follows simpler rules than the arguments: quotes only group, and
    // backslashes are always literal (it must be a valid file name anyway).
    std::string program;
    bool inQuotes = false;
    for (; i < n; ++i) {
        const char c = line[i];
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && isBlank(c)) {
            break;
        } else {
            program += c;
        }
    }
    args.push_back(std::move(program));

    for (;;) {
        while (i < n && isBlank(line[i])) ++i;
        if (i == n) break;
        std::string arg;
        inQuotes = false;
        for (;;) {
            std::size_t slashes = 0;
            while (i < n && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            bool copyChar = true;
            if (i < n && line[i] == '"') {
                // 2N backslashes and a quote: N backslashes, and the quote groups.
                // 2N+1 backslashes and a quote: N backslashes and a literal quote.
                if (slashes % 2 == 0) {
                    if (inQuotes && i + 1 < n && line[i + 1] == '"') {
                        ++i;  // "" inside quotes is one literal quote; quoting goes on
                    } else {
                        copyChar = false;
                        inQuotes = !inQuotes;
                    }
                }
                slashes /= 2;
            }
            arg.append(slashes, '\\');
            if (i == n || (!inQuotes && isBlank(line[i]))) break;
            if (copyChar) arg += line[i];
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::optional<Launch> PrepareLaunch(const std::string& commandLine, const std::string& workingDir, std::string& error) {
    Launch launch{SplitCommandLine(commandLine), {}};
    if (launch.args.empty()) {
        error = "empty command line";
        return std::nullopt;
    }
    std::error_code ec;
    launch.workingDir = std::filesystem::absolute(workingDir.empty() ? std::filesystem::path(".")
                                                                     : std::filesystem::path(workingDir), ec);
    if (ec || !std::filesystem::is_directory(launch.workingDir, ec)) {
        error = "working directory not found";
        return std::nullopt;
    }
    return launch;
}

}  // namespace tolvane::platform
