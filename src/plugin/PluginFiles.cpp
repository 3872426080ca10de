#include "plugin/PluginFiles.h"

#include "plugin/BWAdminFormat.h"
#include "plugin/BanListFormat.h"
#include "state/FileUtils.h"

namespace tolvane::plugin {

namespace {

// The mod directory's copy when there is one, otherwise the Quake 2 directory's (which may not
// exist either).
std::string PluginFilePath(const Context& ctx, const std::string& name) {
    if (DirExists(ctx.fs, ctx.state.strModDir) && FileExists(ctx.fs, ctx.state.strModDir + "\\" + name))
        return ctx.state.strModDir + "\\" + name;
    return name;
}

// The old content of a target that exists; false (after a message) when it cannot be read, so
// that a file we could not read is never replaced.
bool ReadOld(const Context& ctx, const std::string& target, std::string& content) {
    content.clear();
    if (!FileExists(ctx.fs, target)) return true;
    std::string error;
    if (ctx.fs.readFile(target, content, error)) return true;
    ctx.message("Cannot save " + target + ": the file cannot be read (" + error + ")");
    return false;
}

}  // namespace

void ReadBWAdminCfg(const Context& ctx, PluginFields& fields) {
    ctx.progress.show("Processing BW-Admin Configuration...");
    const std::string path = PluginFilePath(ctx, "bw-admin.cfg");
    if (FileExists(ctx.fs, path)) {
        std::string content;
        std::string error;
        // A file that is there but cannot be read still counts as found; its settings keep
        // their start values and start-up reports nothing.
        if (ctx.fs.readFile(path, content, error)) ParseBWAdmin(content, fields);
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
    const std::string target = PluginFilePath(ctx, "bw-admin.cfg");
    std::string old;
    if (!ReadOld(ctx, target, old)) return false;
    return ReplaceFileViaTemp(ctx, target, BuildBWAdmin(fields, old));
}

void ReadBanList(const Context& ctx, PluginFields& fields) {
    const std::string path = PluginFilePath(ctx, "server_bans.txt");
    if (!FileExists(ctx.fs, path)) return;
    std::string content;
    std::string error;
    if (!ctx.fs.readFile(path, content, error)) return;
    const BanLists lists = ParseBanList(content);
    for (const auto& row : lists.ip) fields.IPBans.append(row);
    for (const auto& row : lists.name) fields.NameBans.append(row);
    for (const auto& row : lists.filter) fields.FilterBans.append(row);
    for (const auto& row : lists.alias) fields.AliasBans.append(row);
}

bool WriteBanList(const Context& ctx, const PluginFields& fields) {
    const std::string target = PluginFilePath(ctx, "server_bans.txt");
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
    return ReplaceFileViaTemp(ctx, target, BuildBanList(lists, old));
}

}  // namespace tolvane::plugin
