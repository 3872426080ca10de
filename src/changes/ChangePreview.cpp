#include "changes/ChangePreview.h"

#include <filesystem>

#include "changes/UnifiedDiff.h"
#include "state/TextReaders.h"

namespace tolvane::changes {

namespace {

// The path relative to the Quake 2 directory as the disk spells it (the file system finds
// names ignoring case), with '/' between the parts.
std::string DisplayPathOf(const platform::FileSystem& fs, const std::string& path) {
    const std::filesystem::path relative = fs.resolve(path).lexically_relative(fs.root());
    std::string shown = relative.empty() ? path : relative.generic_string();
    if (relative.empty() || shown.rfind("..", 0) == 0) shown = path;
    for (char& c : shown)
        if (c == '\\') c = '/';
    return shown;
}

std::string Diff(const FileChange& c, bool readable) {
    using Kind = FileChange::Kind;
    if (c.kind == Kind::Unchanged) return {};
    const std::string oldLabel = c.kind == Kind::Created ? "/dev/null" : "a/" + c.displayPath;
    const std::string newLabel = c.kind == Kind::SetAside ? "/dev/null" : "b/" + c.displayPath;
    const std::string& newText = c.kind == Kind::SetAside ? std::string() : c.newText;
    return readable ? ReadableDiff(c.oldText, newText, oldLabel, newLabel)
                    : UnifiedDiff(c.oldText, newText, oldLabel, newLabel);
}

}  // namespace

std::vector<FileChange> ChangesOf(const Context& ctx, const std::vector<SaveSession::Planned>& planned) {
    using Kind = FileChange::Kind;
    using RecordKind = platform::FileRecord::Kind;
    std::vector<FileChange> changes;
    std::vector<bool> existsNow;
    for (const SaveSession::Planned& p : planned) {
        std::size_t at = 0;
        while (at < changes.size() && !EqualsIgnoringCase(changes[at].path, p.target)) ++at;
        if (at == changes.size()) {
            FileChange c;
            c.path = p.target;
            c.displayPath = DisplayPathOf(ctx.fs, p.target);
            // Looked at first, so that a file that cannot be read is not read (a failed read
            // would be remembered against the file and refuse its next save).
            const RecordKind now = ctx.fs.examine(p.target).kind;
            if (now == RecordKind::Read) {
                std::string error;
                if (!ctx.fs.readFile(p.target, c.oldText, error)) c.oldText.clear();
            }
            changes.push_back(std::move(c));
            existsNow.push_back(now != RecordKind::Absent);
        }
        // The last write of a file is what it holds after the save.
        FileChange& c = changes[at];
        c.newText = p.setAside ? std::string() : p.content;
        if (p.setAside) c.kind = existsNow[at] ? Kind::SetAside : Kind::Unchanged;
        else if (!existsNow[at]) c.kind = Kind::Created;
        else c.kind = c.oldText == c.newText ? Kind::Unchanged : Kind::Changed;
    }
    return changes;
}

std::string UnifiedDiffOf(const std::vector<FileChange>& changes) {
    std::string out;
    for (const FileChange& c : changes) out += Diff(c, false);
    return out;
}

std::string ReadableDiffOf(const std::vector<FileChange>& changes) {
    std::string out;
    for (const FileChange& c : changes) out += Diff(c, true);
    return out;
}

}  // namespace tolvane::changes
