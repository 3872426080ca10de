// The steps of the safe replace that every host takes alike: the temporary file's name, the
// link followed to the file replaced, and the temporaries a stopped run left behind.
#include "platform/ReplaceSupport.h"

#include <cerrno>
#include <random>
#include <system_error>

#include "platform/FileSystem.h"

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

std::string reasonFor(int err) { return std::generic_category().message(err); }

// Six letters and digits, fresh for every attempt.
std::string uniqueSuffix() {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string s;
    for (int i = 0; i < 6; ++i) s += kChars[pick(generator)];
    return s;
}

}  // namespace

namespace detail {

#ifndef _WIN32
fs::path EntryIgnoringCase(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dir / name, ec))) return dir / name;
    fs::directory_iterator it(dir, ec);
    if (ec) return dir / name;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string candidate = it->path().filename().string();
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
            same = lower(candidate[i]) == lower(name[i]);
        }
        if (same) return it->path();
    }
    return dir / name;
}
#endif

// The temporary file beside `target`: its name, a unique part, then ".tmp".
fs::path TemporaryNameFor(const fs::path& target) {
    return target.parent_path() / (target.filename().string() + "." + uniqueSuffix() + ".tmp");
}

// Follows a chain of links to the file it finally names (which need not exist yet), so that the
// file is replaced and the link stays. Relative links count from their own directory.
bool FollowLinks(fs::path& p, std::string& error) {
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        const auto st = fs::symlink_status(p, ec);
        if (ec || !fs::is_symlink(st)) return true;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            error = "cannot follow the link " + p.string() + " (" + ec.message() + ")";
            return false;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    error = "cannot follow the link " + p.string() + " (" + reasonFor(ELOOP) + ")";
    return false;
}

bool IsOwnTemporaryName(std::string_view name, std::string_view of) {
    const auto same = [](char a, char b) {
#ifdef _WIN32
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
#else
        return a == b;
#endif
    };
    constexpr std::size_t kUnique = 6;
    if (of.empty() || name.size() != of.size() + 1 + kUnique + 4) return false;
    for (std::size_t i = 0; i < of.size(); ++i)
        if (!same(name[i], of[i])) return false;
    if (name[of.size()] != '.' || name.substr(name.size() - 4) != ".tmp") return false;
    for (const char c : name.substr(of.size() + 1, kUnique))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

std::vector<fs::path> StaleTemporaries(const fs::path& of, fs::file_time_type before) {
    std::vector<fs::path> stale;
    try {
        const std::string name = of.filename().string();
        std::error_code ec;
        fs::directory_iterator it(of.parent_path().empty() ? fs::path(".") : of.parent_path(), ec);
        for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
            if (!IsOwnTemporaryName(it->path().filename().string(), name)) continue;
            std::error_code sec;
            if (!fs::is_regular_file(fs::symlink_status(it->path(), sec))) continue;
            const auto written = fs::last_write_time(it->path(), sec);
            if (!sec && written < before) stale.push_back(it->path());
        }
    } catch (const std::exception&) {
        // A name the host cannot convert is no name this program made.
    }
    return stale;
}

bool ReplaceTarget(const FileSystem& files, const std::string& path, fs::path& target, std::string& error) {
    target = files.resolve(path);
    const fs::path link = target;
    if (!FollowLinks(target, error)) return false;
    if (target == link) return true;
    // Both sides absolute, normal and with every link in them followed, so that neither "..",
    // nor a link in a directory part, leads out unseen.
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(fs::absolute(files.root(), ec), ec);
    const fs::path final = ec ? fs::path() : fs::weakly_canonical(fs::absolute(target, ec), ec);
    bool inside = !ec && !root.empty();
    if (inside) {
        auto r = root.begin(), f = final.begin();
        for (; r != root.end() && !r->empty(); ++r, ++f)
            if (f == final.end() || *f != *r) {
                inside = false;
                break;
            }
        // The Quake 2 directory itself is no file inside it.
        inside = inside && f != final.end() && !f->empty();
    }
    if (!inside) {
        error = "cannot write through the link " + files.displayPath(link) + ": it leads to " +
                (final.empty() ? target : final).string() + ", outside the Quake 2 directory";
        return false;
    }
    return true;
}

}  // namespace detail

}  // namespace tolvane::platform
