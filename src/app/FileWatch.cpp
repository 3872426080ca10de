#include "app/FileWatch.h"

#include <algorithm>

namespace tolvane::app {

FileWatch::FileWatch(const platform::FileSystem& fs, std::vector<std::string> paths) : fs_(fs) {
    for (auto& path : paths) {
        // The same file named twice (two names that differ only in case) is looked at once.
        if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) continue;
        before_.push_back(look(path));
        paths_.push_back(std::move(path));
    }
}

FileWatch::Look FileWatch::look(const std::string& path) const {
    Look l;
    if (!fs_.isFile(path)) return l;
    l.exists = true;
    std::error_code ec;
    l.modified = std::filesystem::last_write_time(fs_.resolve(path), ec);
    std::string error;
    if (!fs_.readFile(path, l.content, error)) l.content.clear();
    return l;
}

std::vector<std::string> FileWatch::changed() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < paths_.size(); ++i)
        if (!(look(paths_[i]) == before_[i])) out.push_back(paths_[i]);
    return out;
}

}  // namespace tolvane::app
