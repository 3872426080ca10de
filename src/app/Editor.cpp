#include "app/Editor.h"

#include <filesystem>
#include <ostream>

#include "app/FileWatch.h"
#include "app/StartupTrace.h"
#include "form/Lists.h"
#include "maps/Catalogue.h"
#include "maps/Discovery.h"
#include "maps/MapEditing.h"
#include "modini/ActionIni.h"
#include "plugin/BanEditing.h"
#include "plugin/PluginFiles.h"
#include "registry/ConfigRegistry.h"
#include "scripts/Scripts.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "state/FileUtils.h"
#include "state/ShownPath.h"
#include "state/Motd.h"
#include "state/TextReaders.h"
#include "teams/TeamHandlers.h"

namespace tolvane::app {

std::string VersionText() { return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor); }

std::string WindowTitle() {
    return "Tolvane v" + VersionText() + " - The Quickest Configuration Editor for Action Quake";
}

namespace {

// Runs one start-up step. A step that fails part way is abandoned and start-up goes on with
// the next one; the main window is always shown. The developer trace names the step's line.
template <typename F>
void Step(F&& f, const char* file = __builtin_FILE(), unsigned line = __builtin_LINE()) {
    const SourcePlace where{file, line};
    try {
        f();
    } catch (const std::exception& e) {
        TraceFailedStep(where, &e);
    } catch (...) {
        TraceFailedStep(where, nullptr);
    }
}

}  // namespace

Editor::Editor(platform::FileSystem& fs, platform::Dialogs& dialogs, platform::Progress& progress,
               platform::ProcessLauncher& processLauncher)
    : ctx{fs, dialogs, progress, state},
      launcher(processLauncher),
      frmLoad({ctx, main.ConfigNameList, main.CommandLine}),
      frmSave({ctx, main.ConfigNameList, main.CommandLine}),
      frmBans(ctx) {
    main.ButtonLoad.setCaption("NEW CONFIG");
    main.ButtonLoad.setToolTip("Create a new config from existing configuration files");
    main.ButtonSave.setCaption("SAVE SETTINGS");
    main.ButtonSave.setToolTip("Save the settings");
    main.ButtonStart.setCaption("START SERVER");
    main.ButtonStart.setToolTip("Save the settings and start the server");
    main.ButtonCancel.setCaption("CANCEL CONFIG");
    main.ButtonCancel.setToolTip("Cancel the current configuration and quit the program");
    main.ButtonAbout.setCaption("About");
    RegisterControls();
    ConnectHandlers();
}

void Editor::RegisterControls() {
    form.add(main.ConfigNameList);
    form.add(main.CommandLine);
    settings::RegisterServerFields(form, server);
    form.add(main.MOTDText);
    maps::RegisterMapFields(form, mapFields);
    scripts::RegisterScriptFields(form, scripts);
    teams::RegisterTeamFields(form, teams);
    plugin::RegisterPluginFields(form, plugin);
    // Buttons are registered so that a headless run can press them by name.
    for (form::Button* b : {&main.ButtonLoad, &main.ButtonSave, &main.ButtonStart, &main.ButtonCancel, &main.ButtonAbout})
        form.add(*b);
    for (form::Button* b : teams.viewerButtons()) form.add(*b);
    // The same controls again, by the file they are saved to, for the unsaved-changes digests.
    configurationValues_.add(main.CommandLine);
    settings::RegisterServerFields(configurationValues_, server);
    configurationValues_.add(mapFields.MapIni, true);
    configurationValues_.add(mapFields.MapDir, true);
    scripts::RegisterScriptFields(configurationValues_, scripts);
    teams::RegisterTeamFields(configurationValues_, teams);
    sharedValues_.add(main.MOTDText);
    sharedValues_.add(mapFields.MapList);
    plugin::RegisterPluginFields(sharedValues_, plugin);
    configurationMarks_.watch(configurationValues_);
    sharedMarks_.watch(sharedValues_);
    configurationMarks_.touched.attach([this] { edited.emit(); });
    sharedMarks_.touched.attach([this] { edited.emit(); });
}

void Editor::ConnectHandlers() {
    // Every change of the MOTD box, by the user or by the reader, marks the file for writing.
    main.MOTDText.changed.attach([this] { state.bMOTDChanged = true; });
    settings::ConnectServerFields(ctx, server);
    plugin::ConnectPluginFields(ctx, plugin);
    plugin::ConnectBanButtons(ctx, plugin, frmBans);
    scripts::ConnectScriptButtons(ctx, launcher, scripts, plugin);
    teams::ConnectTeamFields(ctx, launcher, teams);
    maps::ConnectMapButtons(ctx, mapFields, random);
    main.ButtonCancel.clicked.attach([this] {
        quitRequested_ = true;
        if (onQuit) onQuit();
    });
    main.ButtonAbout.clicked.attach([this] {
        if (onAbout) onAbout();
    });
    main.ButtonSave.clicked.attach([this] { ButtonSave_Click(); });
    main.ButtonStart.clicked.attach([this] { ButtonStart_Click(); });
    main.ButtonLoad.clicked.attach([this] { ButtonLoad_Click(); });
    main.ConfigNameList.selected.attach([this] { ConfigNameList_Click(); });
}

void Editor::StartUp() {
    // What start-up reads is what the editor shows: a file read now forgets an earlier failure.
    const platform::FileSystem::LoadingScope loading(ctx.fs);
    Step([&] { main.bwAdmin1TabEnabled = false; });
    Step([&] {
        state.strConfigName = "default";
        main.ConfigNameList.addItem("default");
        main.ConfigNameList.selectText("default");
    });
    Step([&] { state.strModDir = "action"; });
    Step([&] { main.windowTitle = WindowTitle(); });
    Step([&] {
        main.AboutBox.setCaption("\rTolvane v" + VersionText() + "\r\r" +
                                 "Written by the Tolvane developers\r" +
                                 "Questions and reports: see the README that came with the program");
    });
    Step([&] { teams::DetectViewers(ctx.fs, teams); });
    Step([&] { teams::ListPlayerModels(ctx.fs, state.strModDir, teams); });
    Step([&] {
        for (form::ComboList* list : teams.modelLists()) form::SortList(ctx.showMessage(), *list);
    });
    Step([&] { mapFields.MapDir.clear(); });
    Step([&] { ScanLooseMaps(); });
    Step([&] { maps::ReadBaseMapsLst(ctx, mapFields); });
    Step([&] { plugin::FillPluginChoiceLists(plugin); });
    Step([&] {
        for (auto* grid : {&plugin.IPBans, &plugin.NameBans, &plugin.FilterBans, &plugin.AliasBans}) grid->clear();
    });
    Step([&] { plugin::ReadBanList(ctx, plugin); });
    Step([&] {
        std::string name;
        registry::ReadConfigRegistry(ctx, main.ConfigNameList, main.CommandLine, name);
    });
    Step([&] { LoadConfiguration(state.strConfigName); });
    Step([&] { ReadMOTD(ctx, main.MOTDText, state.strMOTDFileName); });
    Step([&] { maps::ReadMapsLst(ctx, mapFields, state.strMapsLstFileName); });
    Step([&] { maps::ScanPakArchives(ctx, mapFields); });
    Step([&] { plugin::ReadBWAdminCfg(ctx, plugin); });
    // The merge leaves the maps in the order of their names, which the sort that follows then
    // only has to confirm.
    Step([&] { maps::MergeAvailableDuplicates(mapFields.MapDir, maps::MergeOrder::ByName); });
    Step([&] { ctx.progress.show("Sorting map listing..."); });
    Step([&] { form::SortGrid(mapFields.MapDir); });
    Step([&] { ctx.progress.hide(); });
    RememberUnreadFiles();
    MarkSaved();
}

void Editor::LoadConfiguration(std::string& name) {
    const platform::FileSystem::LoadingScope loading(ctx.fs);
    name = LowerCase(name);
    state.strMapsLstFileName = "maps.lst";
    state.strMOTDFileName = "motd.txt";
    if (name.empty() || name == "default") {
        state.strActionIniFileName = "action.ini";
        state.strServerCfgFileName = "server.cfg";
    }
    Step([&] { modini::ReadActionIni(ctx, teams, mapFields, state.strActionIniFileName); });
    Step([&] { ReadServerSettings(); });
    RememberUnreadFiles();
}

// Map discovery and the catalogue, each at its place in the start-up sequence.
void Editor::ScanLooseMaps() {
    std::vector<std::string> dirs;
    for (const std::string& dir : {state.strModDir + "\\maps", std::string("baseq2\\maps")})
        if (DirExistsConst(ctx.fs, dir)) dirs.push_back(dir);
    maps::ScanBspFolders(ctx, mapFields, dirs);
}
void Editor::ReadServerSettings() {
    settings::ReadServerCfg(ctx, server, scripts.ScriptList, state.strServerCfgFileName);
    // The execution list comes from server.cfg: the available scripts follow it, so that no
    // script is offered twice or lost from both lists.
    scripts::FindScripts(ctx, scripts);
}

bool Editor::SaveSequence() {
    const SaveScope save(ctx);
    if (!save.ok()) return false;
    if (!ResolveChangedFiles()) return false;
    return WriteAll() && save.succeeded();
}

bool Editor::WriteAll() {
    // Each writer checks its own preconditions and reports its own errors; one that fails does
    // not stop the writers after it.
    bool ok = true;
    ok = modini::WriteActionIni(ctx, teams, mapFields) && ok;
    ok = maps::WriteMapsLst(ctx, mapFields) && ok;
    ok = settings::WriteServerCfg(ctx, server, scripts.ScriptList, mapFields.MapIni) && ok;
    ok = WriteMOTD(ctx, main.MOTDText) && ok;
    // Without a bw-admin.cfg found at start-up the plug-in is not installed: its files are left
    // alone.
    if (!plugin.NoBWAdmin[0].visible()) {
        ok = plugin::WriteBWAdminCfg(ctx, plugin) && ok;
        ok = plugin::WriteBanList(ctx, plugin) && ok;
    }
    return ok;
}

namespace {

std::string JoinShown(const std::vector<std::string>& paths) { return ShownPaths(paths); }

}  // namespace

bool Editor::SaveAndReport() {
    const std::string mod = state.strModDir + "\\";
    FileWatch watch(ctx.fs, {mod + state.strActionIniFileName, mod + state.strMapsLstFileName,
                             mod + state.strServerCfgFileName, mod + state.strMOTDFileName, mod + "bw-admin.cfg",
                             mod + "server_bans.txt"});
    const bool ok = SaveSequence();
    const std::vector<std::string> written = watch.changed();
    // Files left alone because their bytes would not change, files read again at the operator's
    // word instead of being written, and what a write could not keep.
    std::string more;
    const SaveSession& session = state.save;
    if (!session.unchanged.empty()) more += "; unchanged: " + JoinShown(session.unchanged);
    if (!session.reloaded.empty()) more += "; reloaded from disk: " + JoinShown(session.reloaded);
    for (const std::string& note : session.notes) more += "; " + ShownPath(note);
    if (ok) {
        MarkSaved();
        SetResult((written.empty() ? std::string("Saved: no file needed writing") : "Saved " + JoinShown(written)) + more);
    } else {
        // Each writer that failed has shown its own message naming its file.
        SetResult("Not every file was saved (see the message shown)" +
                  (written.empty() ? std::string("; nothing was written") : "; saved " + JoinShown(written)) + more);
    }
    return ok;
}

void Editor::MarkSaved() {
    MarkConfigurationRead();
    sharedMarks_.markSaved();
}

void Editor::MarkConfigurationRead() { configurationMarks_.markSaved(); }

bool Editor::ConfigurationUnsaved() const { return configurationMarks_.unsaved(); }

bool Editor::HasUnsavedChanges() const { return ConfigurationUnsaved() || sharedMarks_.unsaved(); }

void Editor::SetResult(std::string text) {
    lastResult_ = std::move(text);
    resultChanged.emit();
}

std::string Editor::Directory() const { return ctx.fs.root().string(); }

bool Editor::ModDirMissing() const { return !DirExistsConst(ctx.fs, state.strModDir); }

Editor::DialogSave Editor::SaveThroughDialog(const std::function<bool()>& save) {
    // One save from the registry record the dialog writes to the last file: the lock is held
    // throughout, and a failure anywhere (the registry included) fails the save. It is taken
    // before the dialog opens, because the dialog reads and rewrites tolvane.ini; another
    // editor's save meanwhile waits, then reports that this one is running.
    const SaveScope scope(ctx);
    if (!scope.ok()) return DialogSave::Busy;
    if (!frmSave.GetFileNames()) return DialogSave::Cancelled;
    const bool ok = save();
    return ok && scope.succeeded() ? DialogSave::Saved : DialogSave::Failed;
}

bool Editor::ButtonSave_Click() {
    switch (SaveThroughDialog([this] { return SaveAndReport(); })) {
        case DialogSave::Busy:
            SetResult("Another save is running: nothing was written");
            return false;
        case DialogSave::Cancelled:
            SetResult("Save cancelled: nothing was written");
            return false;
        case DialogSave::Saved:
            return true;
        case DialogSave::Failed:
            break;
    }
    return false;
}

bool Editor::ButtonLoad_Click() {
    // The new configuration's files are read over the controls: edits not saved yet are saved
    // or dropped at the operator's word first.
    if (!KeepOrDropConfigurationEdits("making a new configuration")) return false;
    {
        // The dialog records the new configuration in the registry: a save of its own.
        const SaveScope save(ctx);
        if (!save.ok() || !frmLoad.GetFileNames() || !save.succeeded()) return false;
    }
    const platform::FileSystem::LoadingScope loading(ctx.fs);
    Step([&] { modini::ReadActionIni(ctx, teams, mapFields, state.strActionIniFileName); });
    Step([&] { ReadServerSettings(); });
    RememberUnreadFiles();
    // Only the configuration's own files were read: edits of the shared files stay unsaved.
    MarkConfigurationRead();
    SetResult("Editing configuration " + state.strConfigName);
    return true;
}

void Editor::ConfigNameList_Click() {
    if (switching_) return;
    if (frmSave.visible() || frmLoad.visible() || !mainWindowVisible) {
        // The program made this selection: keep the list on the current configuration.
        if (!EqualsIgnoringCase(main.ConfigNameList.text(), state.strConfigName)) {
            if (!form::InComboBox(main.ConfigNameList, state.strConfigName))
                main.ConfigNameList.addItem(state.strConfigName);
            main.ConfigNameList.selectText(state.strConfigName);
        }
        return;
    }
    const std::string picked = main.ConfigNameList.text();
    // Picking the configuration already being edited again is no switch: nothing to save or load.
    if (EqualsIgnoringCase(picked, state.strConfigName)) return;
    switching_ = true;
    // Offer to save the configuration being left. After a cancel, edits that the switch would
    // read over are saved or dropped at the operator's word, or the switch does not happen.
    {
        // While another editor saves, this one cannot: the message has said so, and the switch
        // goes on as after a cancel.
        const bool saved = SaveThroughDialog([this] { return SaveSequence(); }) == DialogSave::Saved;
        if (!saved && !KeepOrDropConfigurationEdits("switching to " + picked)) {
            main.ConfigNameList.selectText(state.strConfigName);
            switching_ = false;
            SetResult("Still editing configuration " + state.strConfigName);
            return;
        }
    }
    // What is read from here on is what the editor shows for the configuration picked.
    const platform::FileSystem::LoadingScope loading(ctx.fs);
    state.strConfigName = picked;
    main.ConfigNameList.selectText(picked);
    // The catalogue is no file of a configuration: an edit of it made before the switch is still
    // to be saved, whatever reading the registry does with its flag.
    const bool catalogueChanged = state.bMapsLstChanged;
    Step([&] { registry::ReadConfigRegistry(ctx, main.ConfigNameList, main.CommandLine, state.strConfigName); });
    state.bMapsLstChanged = catalogueChanged;
    LoadConfiguration(state.strConfigName);
    switching_ = false;
    // Only the configuration's own files were read anew; edits of the shared ones stay unsaved.
    MarkConfigurationRead();
    SetResult("Editing configuration " + state.strConfigName);
}

void Editor::Dump(std::ostream& out) const {
    out << "WindowTitle=" << main.windowTitle << '\n';
    out << "Tabs.count=11\n";
    out << "Tab[8].enabled=" << (main.bwAdmin1TabEnabled ? 1 : 0) << '\n';
    out << "strModDir=" << state.strModDir << '\n';
    out << "strConfigName=" << state.strConfigName << '\n';
    out << "strServerCfgFileName=" << state.strServerCfgFileName << '\n';
    out << "strActionIniFileName=" << state.strActionIniFileName << '\n';
    out << "strMapsLstFileName=" << state.strMapsLstFileName << '\n';
    out << "strMOTDFileName=" << state.strMOTDFileName << '\n';
    out << "bActionIniChanged=" << (state.bActionIniChanged ? 1 : 0) << '\n';
    out << "bMapsLstChanged=" << (state.bMapsLstChanged ? 1 : 0) << '\n';
    out << "bMOTDChanged=" << (state.bMOTDChanged ? 1 : 0) << '\n';
    form.dump(out);
}

}  // namespace tolvane::app
