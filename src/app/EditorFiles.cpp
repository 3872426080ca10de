// The files a save writes, checked against what the editor read of them before anything is
// written, and the question asked before unsaved edits would be read over.
#include "app/Editor.h"

#include <algorithm>

#include "maps/Catalogue.h"
#include "modini/ActionIni.h"
#include "plugin/PluginFiles.h"
#include "state/ShownPath.h"
#include "state/FileUtils.h"
#include "state/Motd.h"
#include "state/TextReaders.h"

namespace tolvane::app {

std::vector<Editor::SavedFile> Editor::FilesToSave() {
    const std::string mod = state.strModDir + "\\";
    std::vector<SavedFile> files;
    if (state.bActionIniChanged) files.push_back({mod + state.strActionIniFileName, [this] { modini::ReadActionIni(ctx, teams, mapFields, state.strActionIniFileName); }});
    if (state.bMapsLstChanged) files.push_back({mod + state.strMapsLstFileName, [this] { maps::ReadMapsLst(ctx, mapFields, state.strMapsLstFileName); }});
    files.push_back({mod + state.strServerCfgFileName, [this] { ReadServerSettings(); }});
    if (state.bMOTDChanged)
        files.push_back({mod + state.strMOTDFileName, [this] { ReadMOTD(ctx, main.MOTDText, state.strMOTDFileName); }});
    // The plug-in's files are in the mod directory when it has them, else in the Quake 2
    // directory, as their readers and writers find them.
    auto pluginPath = [&](const std::string& name) {
        return ctx.fs.examine(mod + name).kind == platform::FileRecord::Kind::Absent ? name : mod + name;
    };
    const bool pluginFound = !plugin.NoBWAdmin[0].visible();
    // A bw-admin.cfg that start-up did not see (none, or one it could not look at) leaves the
    // plug-in's files unwritten; one there now is put to the operator rather than left unsaid.
    files.push_back({pluginPath("bw-admin.cfg"), [this] {
                         for (form::Label& notice : plugin.NoBWAdmin) notice.setVisible(false);
                         plugin::ReadBWAdminCfg(ctx, plugin);
                     }});
    if (pluginFound) {
        files.push_back({pluginPath("server_bans.txt"), [this] {
                             for (auto* grid : {&plugin.IPBans, &plugin.NameBans, &plugin.FilterBans, &plugin.AliasBans})
                                 grid->clear();
                             plugin::ReadBanList(ctx, plugin);
                         }});
    }
    return files;
}

void Editor::RememberUnreadFiles() {
    const std::string mod = state.strModDir + "\\";
    for (const std::string& path :
         {mod + state.strActionIniFileName, mod + state.strMapsLstFileName, mod + state.strServerCfgFileName,
          mod + state.strMOTDFileName, mod + "bw-admin.cfg", std::string("bw-admin.cfg"), mod + "server_bans.txt",
          std::string("server_bans.txt")})
        if (!ctx.fs.recorded(path)) ctx.fs.setRecord(path, platform::FileRecord{});
}

bool Editor::SettleChangedFile(const std::string& path, FileStanding standing, bool writesIt) {
    std::vector<SavedFile> files = FilesToSave();
    const auto file = std::find_if(files.begin(), files.end(),
                                   [&](const SavedFile& f) { return EqualsIgnoringCase(f.path, path); });
    // A plug-in file the save leaves alone (none was found at start-up) is not written over
    // either way: the choice is to read it now or to save without it.
    const std::vector<std::string> choices = writesIt ? std::vector<std::string>{"Overwrite", "Reload", "Cancel"}
                                                      : std::vector<std::string>{"Save without it", "Read it", "Cancel"};
    const std::string question =
        writesIt ? "Overwrite it with what this window shows, reload it (your changes to it are dropped), "
                   "or cancel the save?"
                 : "The editor saves no plug-in files when it found none at start-up. Save without it, read it "
                   "now, or cancel the save?";
    const auto answer = ctx.dialogs.ask(ShownPath(path) + ": " + StandingReason(standing) + ".\r" + question, kProgramName, choices);
    if (!answer || *answer == 2 || (*answer == 1 && file == files.end())) {
        // Nobody to ask (a run without a window) or the operator cancelled: nothing is written,
        // so the other program's work stays as it is.
        ctx.message("Could not save " + ShownPath(path) + ": " + StandingReason(standing) + ".\r" +
                    "Nothing was saved: load the file again before saving it.");
        state.save.failed = true;
        return false;
    }
    if (*answer == 0) {
        // The operator's word: the file as it is now may be written over.
        ctx.fs.setRecord(path, ctx.fs.examine(path));
        return true;
    }
    const platform::FileSystem::LoadingScope loading(ctx.fs);
    file->reload();
    state.save.reloaded.push_back(path);
    return true;
}

bool Editor::ResolveChangedFiles() {
    // The rehearsal: every writer builds its bytes from the editor's view, and nothing is
    // written or shown.
    SaveSession& session = state.save;
    const bool failedBefore = session.failed;
    session.rehearsal = true;
    session.planned.clear();
    WriteAll();
    session.rehearsal = false;
    session.failed = failedBefore;
    const std::vector<SaveSession::Planned> planned = std::move(session.planned);
    session.planned.clear();
    for (const SaveSession::Planned& p : planned) {
        // The registry is built from the file as it is now: nothing to settle.
        if (p.fromCurrentFile) continue;
        const FileStanding standing = StandingOf(ctx.fs, p.target);
        if (standing == FileStanding::AsRead) continue;
        // Bytes the file holds already lose nothing of anybody's: the save leaves it as it is.
        if (!p.setAside && ctx.fs.examine(p.target) == platform::FileSystem::RecordOf(p.content)) continue;
        if (!SettleChangedFile(p.target, standing, true)) return false;
    }
    if (plugin.NoBWAdmin[0].visible()) {
        const std::string mod = state.strModDir + "\\";
        for (const std::string& path : {mod + "bw-admin.cfg", std::string("bw-admin.cfg")}) {
            const FileStanding standing = StandingOf(ctx.fs, path);
            if (standing != FileStanding::Appeared) continue;
            if (!SettleChangedFile(path, standing, false)) return false;
            break;
        }
    }
    return true;
}

bool Editor::KeepOrDropConfigurationEdits(const std::string& doing) {
    if (!ConfigurationUnsaved()) return true;
    const auto answer = ctx.dialogs.ask("The configuration " + state.strConfigName +
                                            " has changes that are not saved.\rSave them before " + doing + "?",
                                        kProgramName, {"Save", "Discard", "Cancel"});
    // Without a window nobody answers: the edits are kept and nothing is read over them.
    if (!answer) {
        ctx.message("Not " + doing + ": the configuration " + state.strConfigName +
                    " has changes that are not saved.\rSave them first.");
        return false;
    }
    if (*answer == 2) return false;
    if (*answer == 1) return true;
    return ButtonSave_Click();
}

}  // namespace tolvane::app
