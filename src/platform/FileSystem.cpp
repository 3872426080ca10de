#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <system_error>
#include <type_traits>

#include "platform/FileFaults.h"
#include "platform/RegularFile.h"
#include "platform/SystemErrors.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

std::string reasonFor(int err) { return std::generic_category().message(err); }

// Windows accepts both separators; empty components (doubled or trailing separators) and "."
// change nothing.
std::vector<std::string> splitComponents(const std::string& path) {
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

// Reads a whole file that is a regular file.
detail::Opened readRegular(const fs::path& p, std::string& data) {
    detail::Opened how;
    if (const int injected = InjectedFault(FileOp::Open, p)) {
        how.err = injected;
        return how;
    }
    char buffer[65536];
#ifdef _WIN32
    std::FILE* f = detail::OpenRegularFile(p, how);
    if (!f) return how;
    std::size_t got;
    errno = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, got);
    if (std::ferror(f)) how.err = errno ? errno : EIO;
    std::fclose(f);
#else
    const int fd = detail::OpenRegularFile(p, O_RDONLY, how);
    if (fd < 0) return how;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            how.err = errno ? errno : EIO;
            break;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
#endif
    return how;
}

// Windows names one file by its path in any case: a failure is remembered under one spelling.
fs::path failureKey(const fs::path& p) {
#ifdef _WIN32
    std::wstring folded = p.native();
    for (auto& c : folded)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return fs::path(folded);
#else
    return p;
#endif
}

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

std::FILE* openFile(const fs::path& p, const char* mode) {
#ifdef _WIN32
    const std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(p.c_str(), wmode.c_str());
#else
    return std::fopen(p.c_str(), mode);
#endif
}

int syncToDisk(std::FILE* f) {
#ifdef _WIN32
    return ::_commit(::_fileno(f));
#else
    return ::fsync(::fileno(f));
#endif
}

#ifdef _WIN32
int seekTo(std::FILE* f, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        errno = EINVAL;
        return -1;
    }
    return ::_fseeki64(f, static_cast<__int64>(offset), SEEK_SET);
}
#endif

#ifndef _WIN32
// After a rename the directory entry itself must reach the disk as well; best effort.
void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

namespace {

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

bool WildcardMatch(std::string_view pattern, std::string_view name) { return NamePattern(pattern).matches(name); }

FileSystem::FileSystem(std::filesystem::path root) : root_(std::move(root)) {}

fs::path FileSystem::resolve(const std::string& path) const {
    fs::path result = root_;
#ifdef _WIN32
    // Windows itself finds names ignoring case: the path is only joined, with no lookup. Each
    // component is appended as text, so one that looks like a drive ("C:") stays a (bad) name
    // below the Quake 2 directory, as action\C:\x is for Windows, and never leads out of it.
    std::wstring joined = result.native();
    for (const auto& part : splitComponents(path)) {
        if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/') joined += L'\\';
        joined += fs::path(part).native();
    }
    return fs::path(joined);
#else
    // Once a component is missing nothing below it can exist; the rest is kept as written.
    bool present = true;
    for (const auto& part : splitComponents(path)) {
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

std::vector<std::string> FileSystem::list(const std::string& pattern, bool includeDirectories, Order order) const {
    std::vector<std::string> names;
    try {
        if (!listEach(pattern, includeDirectories, [&names](std::string_view name) { names.emplace_back(name); }))
            return {};
        if (order == Order::Sorted) SortInListingOrder(names);
    } catch (const std::exception&) {
        return {};
    }
    return names;
}

bool FileSystem::isDirectory(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(resolve(path), ec);
}

bool FileSystem::isFile(const std::string& path) const {
    const fs::path p = resolve(path);
    std::error_code ec;
    const bool found = InjectedFault(FileOp::Examine, p) == 0 && fs::is_regular_file(p, ec);
    if (!found) recordAbsent(p);
    return found;
}

std::optional<std::uintmax_t> FileSystem::fileSize(const std::string& path) const {
    std::error_code ec;
    const auto size = fs::file_size(resolve(path), ec);
    if (ec) return std::nullopt;
    return size;
}

ReadResult FileSystem::readFile(const std::string& path, std::string& content, std::string& error) const {
    const fs::path p = resolve(path);
    std::string data;
    const detail::Opened how = readRegular(p, data);
    if (!how) {
        error = how.reason();
        // Nothing of that name (or a directory part that is not a directory) is no file at all;
        // anything else means the file is there and could not be read.
        if (how.missing()) {
            recordRead(p, FileRecord{});
            return {ReadResult::Status::Missing};
        }
        rememberReadFailure(p, error);
        recordRead(p, FileRecord{FileRecord::Kind::Unreadable});
        return {ReadResult::Status::Failed};
    }
    if (loading_ > 0) {
        readFailures_.erase(failureKey(p));
        recordRead(p, RecordOf(data));
    }
    content = std::move(data);
    return {ReadResult::Status::Read};
}

void FileSystem::rememberReadFailure(const fs::path& p, const std::string& reason) const {
    readFailures_[failureKey(p)] = reason;
}

FileRecord FileSystem::examine(const std::string& path) const {
    std::string data;
    const detail::Opened how = readRegular(resolve(path), data);
    if (how) return RecordOf(data);
    return how.missing() ? FileRecord{} : FileRecord{FileRecord::Kind::Unreadable};
}

std::optional<std::string> FileSystem::readFailure(const std::string& path) const {
    const auto found = readFailures_.find(failureKey(resolve(path)));
    if (found == readFailures_.end()) return std::nullopt;
    return found->second;
}

bool FileSystem::readAt(const std::string& path, std::uint64_t offset, std::size_t length, std::string& out) const {
    detail::Opened how;
    std::string data(length, '\0');
#ifdef _WIN32
    std::FILE* f = detail::OpenRegularFile(resolve(path), how);
    if (!f) return false;
    bool ok = seekTo(f, offset) == 0;
    if (ok) {
        const std::size_t got = length == 0 ? 0 : std::fread(data.data(), 1, length, f);
        ok = !std::ferror(f);
        data.resize(got);
    }
    std::fclose(f);
#else
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    const int fd = detail::OpenRegularFile(resolve(path), O_RDONLY, how);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd, data.data() + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;  // an error, or the end of the file
        got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    ::close(fd);
#endif
    if (ok) out = std::move(data);
    return ok;
}

bool FileSystem::writeFile(const std::string& path, const std::string& content, std::string& error) const {
    const fs::path target = resolve(path);
    std::FILE* f = openFile(target, "wb");
    if (!f) {
        // Nothing was created (or the existing file could not be opened): leave it alone.
        error = reasonFor(errno);
        return false;
    }
    int err = 0;
    errno = 0;
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), f) != content.size())
        err = errno ? errno : EIO;
    if (!err && std::fflush(f) != 0) err = errno ? errno : EIO;
    // Special files (a pipe, a terminal) cannot be synced; that is not a failed write.
    if (!err && syncToDisk(f) != 0 && errno != EINVAL) err = errno;
    if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
    if (err) {
        std::error_code ec;
        fs::remove(target, ec);
        error = reasonFor(err);
        return false;
    }
    return true;
}

bool FileSystem::removeFile(const std::string& path, std::string& error) const {
    const fs::path target = resolve(path);
    std::error_code ec;
    const auto st = fs::symlink_status(target, ec);
    if (st.type() == fs::file_type::not_found) return true;
    if (ec) {
        error = ec.message();
        return false;
    }
    if (fs::is_directory(st)) {
        error = reasonFor(EISDIR);
        return false;
    }
    if (!fs::remove(target, ec) && ec) {
        error = ec.message();
        return false;
    }
    return true;
}

bool FileSystem::renameFile(const std::string& from, const std::string& to, std::string& error) const {
#ifdef _WIN32
    // MoveFileEx replaces an existing target, and gives a name that differs only in case as
    // written. The entry reaches the disk before it returns.
    if (!MoveFileExW(resolve(from).c_str(), resolve(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = SystemErrorText(GetLastError());
        return false;
    }
    return true;
#else
    const fs::path source = resolve(from);
    fs::path target = resolve(to);
    // A rename that only changes the case of the name resolves to the source itself; give the
    // entry the name as written, as Windows does.
    if (target == source) {
        const auto parts = splitComponents(to);
        if (!parts.empty()) target = target.parent_path() / parts.back();
    }
    std::error_code ec;
    fs::rename(source, target, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    syncDirectory(target.parent_path());
    return true;
#endif
}

}  // namespace tolvane::platform
