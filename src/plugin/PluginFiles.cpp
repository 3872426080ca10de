#include "plugin/PluginFiles.h"

#include <filesystem>

#include "state/ShownPath.h"
#include "plugin/BWAdminFormat.h"
#include "plugin/BanListFormat.h"
#include "state/FileUtils.h"

namespace tolvane::plugin {

namespace {

// What stands under a plug-in file's name: nothing, a regular file, or an entry of another kind
// (a directory, a pipe, a device, a link that leads nowhere).
enum class Entry { None, File, Other };

struct PluginFile {
    std::string path;
    Entry entry = Entry::None;
};

Entry EntryAt(const Context& ctx, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path host = ctx.fs.resolve(path);
    std::error_code ec;
    const fs::file_type own = fs::symlink_status(host, ec).type();
    if (own == fs::file_type::none || own == fs::file_type::not_found) return Entry::None;
    return fs::is_regular_file(fs::status(host, ec)) ? Entry::File : Entry::Other;
}

// The mod directory's entry of that name when there is one, whatever its kind, otherwise the
// Quake 2 directory's (which may not exist either). An entry in the mod directory that is no
// regular file is still the plug-in's file: the one in the Quake 2 directory is never read or
// written in its place.
PluginFile LocatePluginFile(const Context& ctx, const std::string& name) {
    if (DirExists(ctx.fs, ctx.state.strModDir)) {
        const std::string inMod = ctx.state.strModDir + "\\" + name;
        if (const Entry entry = EntryAt(ctx, inMod); entry != Entry::None) return {inMod, entry};
    }
    return {name, EntryAt(ctx, name)};
}

// The content of the file found; false when there is none or it cannot be read. An entry that
// is no regular file is refused by the read (never opened) and so recorded as unreadable.
bool ReadFound(const Context& ctx, const PluginFile& file, std::string& content) {
    if (file.entry == Entry::None) return false;
    std::string error;
    return static_cast<bool>(ctx.fs.readFile(file.path, content, error));
}

// The old content of the target; false (after a message) when the target is not a regular file
// or cannot be read, so that what we could not read is never replaced.
bool ReadOld(const Context& ctx, const PluginFile& target, std::string& content) {
    content.clear();
    if (target.entry == Entry::None) return true;
    if (target.entry == Entry::Other) {
        ctx.message("Could not save " + ShownPath(target.path) + ": it is not a regular file (a directory or a pipe, say).\r" +
                    "Nothing was written.");
        return false;
    }
    std::string error;
    if (ctx.fs.readFile(target.path, content, error)) return true;
    ctx.message("Cannot save " + ShownPath(target.path) + ": the file cannot be read (" + error + ")");
    return false;
}

}  // namespace

void ReadBWAdminCfg(const Context& ctx, PluginFields& fields) {
    ctx.progress.show("Processing BW-Admin Configuration...");
    const PluginFile file = LocatePluginFile(ctx, "bw-admin.cfg");
    if (file.entry != Entry::None) {
        // A file that is there but cannot be read (or is no regular file) still counts as
        // found; its settings keep their start values and start-up reports nothing.
        std::string content;
        if (ReadFound(ctx, file, content)) ParseBWAdmin(content, fields);
    } else {
        for (form::Label& notice : fields.NoBWAdmin) notice.setVisible(true);
    }
    ctx.progress.hide();
}

bool WriteBWAdminCfg(const Context& ctx, const PluginFields& fields) {
    if (!DirExists(ctx.fs, ctx.state.strModDir)) {
        ctx.message("ERROR: " + ctx.state.strModDir + " directory not found!\rCannot save bw-admin.cfg");
        return false;
    }
    const PluginFile target = LocatePluginFile(ctx, "bw-admin.cfg");
    std::string old;
    if (!ReadOld(ctx, target, old)) return false;
    return ReplaceFileViaTemp(ctx, target.path, BuildBWAdmin(fields, old));
}

void ReadBanList(const Context& ctx, PluginFields& fields) {
    std::string content;
    if (!ReadFound(ctx, LocatePluginFile(ctx, "server_bans.txt"), content)) return;
    const BanLists lists = ParseBanList(content);
    for (const auto& row : lists.ip) fields.IPBans.append(row);
    for (const auto& row : lists.name) fields.NameBans.append(row);
    for (const auto& row : lists.filter) fields.FilterBans.append(row);
    for (const auto& row : lists.alias) fields.AliasBans.append(row);
}

bool WriteBanList(const Context& ctx, const PluginFields& fields) {
    const PluginFile target = LocatePluginFile(ctx, "server_bans.txt");
    std::string old;
    if (!ReadOld(ctx, target, old)) return false;
    BanLists lists;
    auto rows = [](const form::Grid& grid) {
        std::vector<std::string> texts;
        for (const auto& row : grid.rows()) texts.push_back(row.text);
        return texts;
    };
    lists.ip = rows(fields.IPBans);
    lists.name = rows(fields.NameBans);
    lists.filter = rows(fields.FilterBans);
    lists.alias = rows(fields.AliasBans);
    return ReplaceFileViaTemp(ctx, target.path, BuildBanList(lists, old));
}

}  // namespace tolvane::plugin
