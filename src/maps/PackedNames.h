#pragma once
// Names packed one after another in one buffer: a few bytes a name rather than a string
// each, for the tens of thousands of names a scan reads before it makes rows.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::maps {

class PackedNames {
public:
    void add(std::string_view name) {
        bytes_ += name;
        ends_.push_back(bytes_.size());
    }
    // Adds the name lower-cased (ASCII letters only, as map names are compared).
    void addLowerCase(std::string_view name) {
        const std::size_t begin = bytes_.size();
        bytes_ += name;
        for (std::size_t i = begin; i < bytes_.size(); ++i)
            if (bytes_[i] >= 'A' && bytes_[i] <= 'Z') bytes_[i] = static_cast<char>(bytes_[i] - 'A' + 'a');
        ends_.push_back(bytes_.size());
    }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(begin, ends_[i] - begin);
    }
    std::size_t size() const { return ends_.size(); }
    void clear() {
        bytes_.clear();
        ends_.clear();
    }

private:
    std::string bytes_;
    std::vector<std::size_t> ends_;  // where each name ends in bytes_
};

}  // namespace tolvane::maps
