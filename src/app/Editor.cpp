#include "app/Editor.h"

#include <ostream>

#include "maps/Catalogue.h"
#include "maps/Discovery.h"
#include "maps/Sorts.h"
#include "registry/ConfigRegistry.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "state/FileUtils.h"
#include "state/Motd.h"
#include "state/TextReaders.h"

namespace tolvane::app {

std::string VersionText() { return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor); }

std::string WindowTitle() {
    return "Tolvane v" + VersionText() + " - The Quickest Configuration Editor for Action Quake";
}

namespace {

// Hosts without .exe programs run the Linux server build, "quake2", when there is no quake2.exe.
#ifdef _WIN32
constexpr const char* kServerProgramNames = "quake2.exe";
#else
constexpr const char* kServerProgramNames = "quake2.exe (or quake2)";
#endif

// Runs one start-up step. A step that fails part way is abandoned and start-up goes on with
// the next one; the main window is always shown.
template <typename F>
void Step(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

Editor::Editor(platform::FileSystem& fs, platform::Dialogs& dialogs, platform::Progress& progress,
               platform::ProcessLauncher& processLauncher)
    : ctx{fs, dialogs, progress, state},
      launcher(processLauncher),
      frmLoad({ctx, main.ConfigNameList, main.CommandLine}),
      frmSave({ctx, main.ConfigNameList, main.CommandLine}) {
    main.ButtonLoad.setCaption("NEW CONFIG");
    main.ButtonLoad.setToolTip("Create a new config from existing configuration files");
    main.ButtonSave.setCaption("SAVE SETTINGS");
    main.ButtonSave.setToolTip("Save the settings");
    main.ButtonStart.setCaption("START SERVER");
    main.ButtonStart.setToolTip("Save the settings and start the server");
    main.ButtonCancel.setCaption("CANCEL CONFIG");
    main.ButtonCancel.setToolTip("Cancel the current configuration and quit the program");
    main.ButtonAbout.setCaption("About");
    for (auto* b : {&main.Team1Viewer, &main.Team2Viewer, &main.Team3Viewer}) {
        b->setCaption("AQSkinView");
        b->setToolTip("Preview the player models with skins");
    }
    main.SkinViewHelp.setVisible(false);
    main.SkinViewHelp.setCaption(
        "No skin viewer was found in the Quake 2 directory: install AQSkinView (an aqskinview "
        "directory) or MD2View (md2view.exe) to preview models and skins.");
    main.NoBWAdmin0.setVisible(false);
    main.NoBWAdmin0.setCaption("No bw-admin.cfg was found: the BW-Admin files will not be saved.");
    RegisterControls();
    ConnectHandlers();
}

void Editor::RegisterControls() {
    form.add(main.ConfigNameList);
    form.add(main.CommandLine);
    settings::RegisterServerFields(form, server);
    form.add(main.MOTDText);
    maps::RegisterMapFields(form, mapFields);
    form.add(main.ScriptList);
    form.add(main.ScriptDir);
    form.add(main.Team1Model);
    form.add(main.Team2Model);
    form.add(main.Team3Model);
    form.add(main.Strict);
    form.add(main.Logging);
    form.add(main.IPBans);
    form.add(main.NameBans);
    form.add(main.FilterBans);
    form.add(main.AliasBans);
    for (form::Control* c : std::initializer_list<form::Control*>{
             &main.Team1Viewer, &main.Team2Viewer, &main.Team3Viewer, &main.SkinViewHelp, &main.NoBWAdmin0})
        form.trackAppearance(*c);
}

void Editor::ConnectHandlers() {
    // Every change of the MOTD box, by the user or by the reader, marks the file for writing.
    main.MOTDText.changed.connect([this] { state.bMOTDChanged = true; });
    settings::ConnectServerFields(ctx, server);
    main.ButtonCancel.clicked.connect([this] {
        quitRequested_ = true;
        if (onQuit) onQuit();
    });
    main.ButtonAbout.clicked.connect([this] {
        if (onAbout) onAbout();
    });
    main.ButtonSave.clicked.connect([this] { ButtonSave_Click(); });
    main.ButtonStart.clicked.connect([this] { ButtonStart_Click(); });
    main.ButtonLoad.clicked.connect([this] { ButtonLoad_Click(); });
    main.ConfigNameList.selected.connect([this] { ConfigNameList_Click(); });
}

// The viewer buttons follow the viewer found in the Quake 2 directory: AQSkinView (a game
// directory) wins over MD2View (a program); with neither the buttons are off and a help
// label says why.
void Editor::DetectViewers() {
    if (DirExistsConst(ctx.fs, "aqskinview")) return;
    auto buttons = {&main.Team1Viewer, &main.Team2Viewer, &main.Team3Viewer};
    if (FileExists(ctx.fs, "md2view.exe")) {
        for (auto* b : buttons) b->setCaption("MD2View");
        return;
    }
    for (auto* b : buttons) b->setEnabled(false);
    main.SkinViewHelp.setVisible(true);
}

// Every entry of the two players directories is a model, the game's first; a model present in
// both directories is listed twice, as each directory contributes its own.
void Editor::ListPlayerModels() {
    auto addFrom = [this](std::string dir) {
        if (!DirExists(ctx.fs, dir)) return;
        for (const auto& name : ctx.fs.list(dir + "\\*.", true)) {
            const std::string model = LowerCase(name);
            if (model == "." || model == "..") continue;
            main.Team1Model.addItem(model);
            main.Team2Model.addItem(model);
            main.Team3Model.addItem(model);
        }
    };
    addFrom("baseq2\\players");
    addFrom(state.strModDir + "\\players");
}

void Editor::StartUp() {
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
    Step([&] { DetectViewers(); });
    Step([&] { ListPlayerModels(); });
    Step([&] {
        for (auto* list : {&main.Team1Model, &main.Team2Model, &main.Team3Model}) maps::SortList(ctx, *list);
    });
    Step([&] { mapFields.MapDir.clear(); });
    Step([&] { ScanLooseMaps(); });
    Step([&] { ReadBaseMapList(); });
    Step([&] {
        main.Strict.clear();
        for (const char* item : {"Disable Checking", "Enable Checking", "Enable Checking but allow NAT routers"})
            main.Strict.addItem(item);
        main.Logging.clear();
        for (const char* item : {"No logging", "Create new log on server initialization", "Append to existing log"})
            main.Logging.addItem(item);
    });
    Step([&] {
        for (auto* grid : {&main.IPBans, &main.NameBans, &main.FilterBans, &main.AliasBans}) grid->clear();
    });
    Step([&] { ReadBanList(); });
    Step([&] {
        std::string name;
        registry::ReadConfigRegistry(ctx, main.ConfigNameList, main.CommandLine, name);
    });
    Step([&] { LoadConfiguration(state.strConfigName); });
    Step([&] { ReadMOTD(ctx, main.MOTDText, state.strMOTDFileName); });
    Step([&] { ReadMapCatalogue(); });
    Step([&] { ScanPakArchives(); });
    Step([&] { ReadBWAdmin(); });
    Step([&] { MergeAvailableDuplicates(); });
    Step([&] { ctx.progress.show("Sorting map listing..."); });
    Step([&] { maps::SortGrid(mapFields.MapDir); });
    Step([&] { ctx.progress.hide(); });
}

void Editor::LoadConfiguration(std::string& name) {
    name = LowerCase(name);
    state.strMapsLstFileName = "maps.lst";
    state.strMOTDFileName = "motd.txt";
    if (name.empty() || name == "default") {
        state.strActionIniFileName = "action.ini";
        state.strServerCfgFileName = "server.cfg";
    }
    Step([&] { ReadActionIni(); });
    Step([&] { ReadServerSettings(); });
    Step([&] { RebuildScriptLists(); });
}

// Map discovery and the catalogue, each at its place in the start-up sequence.
void Editor::ScanLooseMaps() {
    if (DirExistsConst(ctx.fs, state.strModDir + "\\maps")) maps::ScanBspFiles(ctx, mapFields, state.strModDir + "\\maps");
    if (DirExistsConst(ctx.fs, "baseq2\\maps")) maps::ScanBspFiles(ctx, mapFields, "baseq2\\maps");
}
void Editor::ReadBaseMapList() { maps::ReadBaseMapsLst(ctx, mapFields); }
void Editor::ReadMapCatalogue() { maps::ReadMapsLst(ctx, mapFields, state.strMapsLstFileName); }
void Editor::ScanPakArchives() { maps::ScanPakArchives(ctx, mapFields); }
void Editor::MergeAvailableDuplicates() { maps::MergeAvailableDuplicates(ctx, mapFields.MapDir, true); }

// The readers below belong to subsystems still being built; each is called from its one
// place in the start-up sequence and does nothing until its reader lands.
void Editor::ReadBanList() {}
void Editor::ReadBWAdmin() {}
void Editor::ReadActionIni() {}
void Editor::RebuildScriptLists() {}
void Editor::ReadServerSettings() {
    settings::ReadServerCfg(ctx, server, main.ScriptList, state.strServerCfgFileName);
}
bool Editor::WriteActionIni() { return true; }
bool Editor::WriteMapsLst() { return maps::WriteMapsLst(ctx, mapFields); }
bool Editor::WriteServerSettings() {
    return settings::WriteServerCfg(ctx, server, main.ScriptList, mapFields.MapIni);
}
bool Editor::WriteBWAdmin() { return true; }
bool Editor::WriteBanList() { return true; }

bool Editor::SaveSequence() {
    // Each writer checks its own preconditions and reports its own errors; one that fails does
    // not stop the writers after it.
    bool ok = true;
    ok = WriteActionIni() && ok;
    ok = WriteMapsLst() && ok;
    ok = WriteServerSettings() && ok;
    ok = WriteMOTD(ctx, main.MOTDText) && ok;
    // Without a bw-admin.cfg found at start-up the plug-in is not installed: its files are left
    // alone.
    if (!main.NoBWAdmin0.visible()) {
        ok = WriteBWAdmin() && ok;
        ok = WriteBanList() && ok;
    }
    return ok;
}

bool Editor::ButtonSave_Click() {
    if (!frmSave.GetFileNames()) return false;
    return SaveSequence();
}

std::string Editor::ServerCommandLine() const {
    // The game directory in the command line is fixed text; it does not follow strModDir.
    return "quake2.exe " + main.CommandLine.text() + " +set game action +set ininame " +
           state.strActionIniFileName + " +set game action +set dedicated " +
           std::to_string(server.Dedicated.value()) + " +exec " + state.strServerCfgFileName;
}

bool Editor::ButtonStart_Click() {
    if (!frmSave.GetFileNames()) return false;
    // The server is started even when a writer failed: each failure has been reported.
    SaveSequence();
    std::string error;
    if (!launcher.start(ServerCommandLine(), platform::WindowMode::Minimised, error)) {
        ctx.message(std::string("Cannot start the server program ") + kServerProgramNames + ": " + error);
        return false;
    }
    return true;
}

void Editor::ButtonLoad_Click() {
    if (!frmLoad.GetFileNames()) return;
    Step([&] { ReadActionIni(); });
    Step([&] { ReadServerSettings(); });
}

void Editor::ConfigNameList_Click() {
    if (switching_) return;
    if (frmSave.visible() || frmLoad.visible() || !mainWindowVisible) {
        // The program made this selection: keep the list on the current configuration.
        if (!EqualsIgnoringCase(main.ConfigNameList.text(), state.strConfigName)) {
            if (!registry::InComboBox(main.ConfigNameList, state.strConfigName))
                main.ConfigNameList.addItem(state.strConfigName);
            main.ConfigNameList.selectText(state.strConfigName);
        }
        return;
    }
    switching_ = true;
    const std::string picked = main.ConfigNameList.text();
    // Offer to save the configuration being left; a cancel saves nothing and the switch goes on.
    if (frmSave.GetFileNames()) SaveSequence();
    state.strConfigName = picked;
    main.ConfigNameList.selectText(picked);
    Step([&] { registry::ReadConfigRegistry(ctx, main.ConfigNameList, main.CommandLine, state.strConfigName); });
    LoadConfiguration(state.strConfigName);
    switching_ = false;
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
