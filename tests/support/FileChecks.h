#pragma once
// Helpers for tests of the safe file layer: what is on disk beyond the file contents.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileFaults.h"

namespace tolvane::test {

// Every temporary file (a name ending in ".tmp") anywhere under dir.
inline std::vector<std::string> TemporaryFilesUnder(const std::filesystem::path& dir) {
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) found.push_back(it->path().string());
    }
    return found;
}

#ifndef _WIN32
// The entry itself (not what a link names).
inline struct stat EntryStat(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}
#endif

// Installs a fault hook for the life of the object, and puts the previous one back.
class FaultHookScope {
public:
    explicit FaultHookScope(platform::FileFaultHook hook) : previous_(platform::SetFileFaultHook(std::move(hook))) {}
    ~FaultHookScope() { platform::SetFileFaultHook(std::move(previous_)); }
    FaultHookScope(const FaultHookScope&) = delete;
    FaultHookScope& operator=(const FaultHookScope&) = delete;

private:
    platform::FileFaultHook previous_;
};

}  // namespace tolvane::test
