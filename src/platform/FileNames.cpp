// The name side of the file system: a Windows-style path resolved on the host (finding names
// ignoring case where the host does not), wildcard patterns and directory listings.
#include "platform/FileSystem.h"

#include <algorithm>
#include <system_error>

#include "platform/FileFaults.h"
#include "platform/PathNames.h"

#ifndef _WIN32
#include <dirent.h>
#endif

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringCase(char a, char b) { return upperAscii(a) == upperAscii(b); }

enum class EntryKind { File, Directory, Other };

// Calls f(name, kind) for every entry of a directory but "." and ".."; the name is a view
// valid during the call only. `failed` is set when the
// directory cannot be read to its end. Large map directories are read straight from the
// system's listing, which carries each entry's type.
template <typename F>
void ForEachEntry(const fs::path& dir, bool& failed, F&& f) {
#ifdef _WIN32
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) {
        failed = true;
        return;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            failed = true;
            return;
        }
        std::error_code tec;
        EntryKind kind = EntryKind::Other;
        if (!it->is_symlink(tec)) {
            if (it->is_regular_file(tec)) kind = EntryKind::File;
            else if (it->is_directory(tec)) kind = EntryKind::Directory;
        }
        const std::string name = it->path().filename().string();
        f(std::string_view(name), kind);
    }
#else
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        failed = true;
        return;
    }
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name == "." || name == "..") continue;
        EntryKind kind = EntryKind::Other;
        if (e->d_type == DT_REG) kind = EntryKind::File;
        else if (e->d_type == DT_DIR) kind = EntryKind::Directory;
        f(name, kind);
        errno = 0;
    }
    if (errno != 0) failed = true;
    ::closedir(d);
#endif
}

// Listing order: NTFS collates names by their upper-cased form, so "_x" comes after "b".
// Names equal but for case are ordered by their raw bytes, which keeps the order total. Each
// name's upper-cased form is made once, not at every comparison.
void SortInListingOrder(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& n : names) {
        std::string folded = n;
        for (char& c : folded) c = upperAscii(c);
        keyed.emplace_back(std::move(folded), std::move(n));
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

#ifndef _WIN32
bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return sameIgnoringCase(x, y);
           });
}

// True when something (even a dangling link) carries exactly this name.
bool entryExists(const fs::path& p) {
    std::error_code ec;
    const auto st = fs::symlink_status(p, ec);
    return st.type() != fs::file_type::not_found && st.type() != fs::file_type::none;
}

// The real name of the entry of `dir` that Windows would open for `name`: the name itself when
// it exists as written, otherwise the first (in byte order) entry equal to it ignoring case.
std::optional<std::string> findEntry(const fs::path& dir, const std::string& name) {
    if (name == "..") return entryExists(dir / name) ? std::optional<std::string>(name) : std::nullopt;
    if (entryExists(dir / name)) return name;
    // Read straight from the system's listing: a folder of hundreds of archives is searched
    // for each name that is missing as written.
    std::optional<std::string> best;
    bool failed = false;
    ForEachEntry(dir, failed, [&](std::string_view candidate, EntryKind) {
        if (sameIgnoringCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
    });
    return best;
}
#endif

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

bool wildcardMatchPlain(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || sameIgnoringCase(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            // Let the last star swallow one more character and retry from there.
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// A pattern worked out once for many names. "*" and a plain ending ("*.bsp"), the pattern of
// map directories of tens of thousands of files, is compared as an ending upper-cased
// beforehand; every other pattern follows the general rules.
class NamePattern {
public:
    explicit NamePattern(std::string_view pattern) : pattern_(pattern) {
        // "*.*" is every name, dotted or not, as on Windows.
        if (pattern == "*.*") {
            kind_ = Kind::Every;
        } else if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, "*.") == 0) {
            // A trailing "." after a star asks for names without an extension.
            kind_ = Kind::NoExtension;
            pattern_.remove_suffix(1);
        } else if (pattern.size() > 1 && pattern[0] == '*' && pattern.find_first_of("*?", 1) == std::string_view::npos) {
            kind_ = Kind::Ending;
            for (const char c : pattern.substr(1)) ending_ += upperAscii(c);
        }
    }

    bool matches(std::string_view name) const {
        switch (kind_) {
        case Kind::Every: return true;
        case Kind::NoExtension:
            return name.find('.') == std::string_view::npos && wildcardMatchPlain(pattern_, name);
        case Kind::Ending: {
            if (name.size() < ending_.size()) return false;
            const std::size_t from = name.size() - ending_.size();
            for (std::size_t i = 0; i < ending_.size(); ++i)
                if (upperAscii(name[from + i]) != ending_[i]) return false;
            return true;
        }
        case Kind::General: break;
        }
        return wildcardMatchPlain(pattern_, name);
    }

private:
    enum class Kind { General, Every, NoExtension, Ending };
    Kind kind_ = Kind::General;
    std::string_view pattern_;
    std::string ending_;
};

}  // namespace

namespace detail {

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty() && current != ".") parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() && current != ".") parts.push_back(current);
    return parts;
}

}  // namespace detail

bool WildcardMatch(std::string_view pattern, std::string_view name) { return NamePattern(pattern).matches(name); }

fs::path FileSystem::resolve(const std::string& path) const {
    fs::path result = root_;
#ifdef _WIN32
    // Windows itself finds names ignoring case: the path is only joined, with no lookup. Each
    // component is appended as text, so one that looks like a drive ("C:") stays a (bad) name
    // below the Quake 2 directory, as action\C:\x is for Windows, and never leads out of it.
    std::wstring joined = result.native();
    for (const auto& part : detail::SplitComponents(path)) {
        if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/') joined += L'\\';
        joined += fs::path(part).native();
    }
    return fs::path(joined);
#else
    // Once a component is missing nothing below it can exist; the rest is kept as written.
    bool present = true;
    for (const auto& part : detail::SplitComponents(path)) {
        if (present) {
            if (auto real = findEntry(result, part)) {
                result /= *real;
                continue;
            }
            present = false;
        }
        result /= part;
    }
    return result;
#endif
}

bool FileSystem::listEach(const std::string& pattern, bool includeDirectories,
                          const std::function<void(std::string_view)>& take) const {
    try {
        const auto cut = pattern.find_last_of("\\/");
        const std::string dirPart = cut == std::string::npos ? std::string() : pattern.substr(0, cut);
        const std::string namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
        if (namePattern.empty() || namePattern == "." || namePattern == "..") return true;

        const fs::path dir = resolve(dirPart);
        // A check of one exact name that finds no regular file records it as absent (while
        // loading): a check that failed reads as absent too, and that must come out later.
        const bool exactName = !hasWildcard(namePattern);
        if (exactName && InjectedFault(FileOp::Examine, dir / namePattern) != 0) {
            recordAbsent(dir / namePattern);
            return true;
        }
        std::error_code ec;
        if (!fs::is_directory(dir, ec)) {
            if (exactName) recordAbsent(dir / namePattern);
            return true;
        }

        // Links count as what they point to; sockets, devices and dangling links are skipped.
        const auto wanted = [includeDirectories](const fs::path& p) {
            std::error_code sec;
            const auto st = fs::status(p, sec);
            if (sec) return false;
            return fs::is_regular_file(st) || (includeDirectories && fs::is_directory(st));
        };

#ifndef _WIN32
        // Windows gives the real name from the listing below, where a plain name matches the
        // one entry equal to it ignoring case.
        if (exactName) {
            const auto real = findEntry(dir, namePattern);
            const bool isRegular = real && fs::is_regular_file(dir / *real, ec);
            if (real && wanted(dir / *real)) take(*real);
            if (!isRegular) recordAbsent(dir / namePattern);
            return true;
        }
#endif
        const NamePattern pattern(namePattern);
        // Entries whose type the listing gives are taken as they are; links and entries of
        // unknown type are looked at through what they point to.
        bool failed = false;
        bool foundFile = false;
        ForEachEntry(dir, failed, [&](std::string_view name, EntryKind kind) {
            if (!pattern.matches(name)) return;
            const bool wantedKind = kind == EntryKind::File || (kind == EntryKind::Directory && includeDirectories) ||
                                    (kind == EntryKind::Other && wanted(dir / name));
            if (exactName && (kind == EntryKind::File || (kind == EntryKind::Other && fs::is_regular_file(dir / name, ec))))
                foundFile = true;
            if (wantedKind) take(name);
        });
        if (exactName && !foundFile) recordAbsent(dir / namePattern);
        return !failed;
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<std::string> FileSystem::list(const std::string& pattern, bool includeDirectories) const {
    std::vector<std::string> names;
    try {
        if (!listEach(pattern, includeDirectories, [&names](std::string_view name) { names.emplace_back(name); }))
            return {};
        SortInListingOrder(names);
    } catch (const std::exception&) {
        return {};
    }
    return names;
}

std::string FileSystem::displayPath(const fs::path& hostPath) const {
    const std::string root = root_.string();
    const std::string full = hostPath.string();
    if (!root.empty() && full.size() > root.size() + 1 && full.compare(0, root.size(), root) == 0 &&
        (full[root.size()] == '/' || full[root.size()] == '\\'))
        return full.substr(root.size() + 1);
    return full;
}

}  // namespace tolvane::platform
