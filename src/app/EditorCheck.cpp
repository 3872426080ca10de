// The editor's side of the check: the configuration as a save would write it, gathered from
// the controls into the check's input.
#include "app/Editor.h"
#include "maps/MapIndex.h"
#include "maps/MapsLstFormat.h"
#include "modini/ActionIniFormat.h"
#include "settings/ServerCfgWriter.h"

namespace tolvane::app {

// The single place where the teams feed the check: each team's name and "model/skin" as
// action.ini will hold them once saved, with the controls that show them. A save writes action.ini
// only when a team or the rotation changed; otherwise the server reads the file's own teams,
// so those are the ones checked (read here without the whole-file read, which would remember a
// failure: the check only looks). A file that cannot be read leaves the controls to check.
std::vector<check::TeamEntry> Editor::TeamsToCheck() const {
    const form::TextBox* names[] = {&teams.Team1Name, &teams.Team2Name, &teams.Team3Name};
    const form::ComboList* models[] = {&teams.Team1Model, &teams.Team2Model, &teams.Team3Model};
    const form::ComboList* skins[] = {&teams.Team1Skin, &teams.Team2Skin, &teams.Team3Skin};
    std::vector<check::TeamEntry> out;
    if (!state.bActionIniChanged) {
        const std::string path = state.strModDir + "\\" + state.strActionIniFileName;
        if (!ctx.fs.isFile(path)) return out;  // no file: the mod has no teams of the editor's
        std::string content;
        const auto size = ctx.fs.fileSize(path);
        if (size && ctx.fs.readAt(path, 0, static_cast<std::size_t>(*size), content)) {
            const modini::ActionIni ini = modini::ParseActionIni(content);
            for (std::size_t i = 0; i < 3; ++i)
                if (ini.teams[i].present)
                    out.push_back({names[i]->name(), ini.teams[i].name, skins[i]->name(), ini.teams[i].modelSkin});
            return out;
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        // No model chosen (no players directory offered one): there is no model to look for.
        const std::string skin = models[i]->text().empty() ? std::string() : models[i]->text() + "/" + skins[i]->text();
        out.push_back({names[i]->name(), names[i]->text(), skins[i]->name(), skin});
    }
    return out;
}

check::Findings Editor::Check() const {
    check::CheckInput in;
    in.modDir = state.strModDir;
    in.serverCfgFileName = state.strServerCfgFileName;
    in.actionIniFileName = state.strActionIniFileName;
    in.commandLine = main.CommandLine.text();

    // The server script exactly as SAVE SETTINGS would write it over the file on disk.
    // Read without the whole-file read, which would remember a failure and so keep a later
    // save from replacing the file: the check only looks.
    const std::string path = state.strModDir + "\\" + state.strServerCfgFileName;
    std::string old;
    const auto size = ctx.fs.isFile(path) ? ctx.fs.fileSize(path) : std::nullopt;
    const bool haveOld = size && ctx.fs.readAt(path, 0, static_cast<std::size_t>(*size), old);
    in.serverCfg = settings::BuildServerCfg(server, scripts.ScriptList, mapFields.MapIni, state.strServerCfgFileName,
                                            state.strActionIniFileName, haveOld ? &old : nullptr);
    // The serverinfo texts; an empty one is not written at all (the host name always is).
    in.infoFields.emplace_back("HostName", server.HostName.text());
    for (const form::TextBox* box : {&server.AdminName, &server.WebSite, &server.Location, &server.Email})
        if (!box->text().empty()) in.infoFields.emplace_back(box->name(), box->text());

    for (const auto& row : scripts.ScriptList.rows()) in.scripts.push_back(row.text);
    for (const auto& row : mapFields.MapIni.rows()) in.rotation.emplace_back(maps::MapKey(row.text));
    for (const auto& row : mapFields.MapList.rows()) {
        std::string description;
        std::string name;
        maps::SplitCatalogueRow(row.text, description, name);
        in.catalogue.push_back(name);
    }
    in.teams = TeamsToCheck();
    in.allowDownload = server.AllowDownload.value() != 0;
    in.allowDownloadMaps = server.AllowDownloadMaps.value() != 0;
    return check::RunChecks(ctx.fs, in);
}

}  // namespace tolvane::app
