#pragma once
// A look at a few files before and after an operation: which of them it wrote. Used to tell the
// operator what a save did without each writer having to report it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tolvane::app {

class FileWatch {
public:
    // Takes the first look at each path (relative to the Quake 2 directory).
    FileWatch(const platform::FileSystem& fs, std::vector<std::string> paths);
    // The paths whose file appeared, went, or changed in time stamp, size or content since.
    std::vector<std::string> changed() const;

private:
    struct Look {
        bool exists = false;
        std::filesystem::file_time_type modified{};
        std::string content;
        bool operator==(const Look&) const = default;
    };
    Look look(const std::string& path) const;

    const platform::FileSystem& fs_;
    std::vector<std::string> paths_;
    std::vector<Look> before_;
};

}  // namespace tolvane::app
