#include "registry/ConfigRegistry.h"


#include "form/Lists.h"
#include "registry/ConfigRegistryFormat.h"
#include "state/FileUtils.h"
#include "state/ShownPath.h"
#include "state/TextReaders.h"

namespace tolvane::registry {

namespace {

std::string RegistryPath(const AppState& s) { return s.strModDir + "\\tolvane.ini"; }

// Why a record cannot be used, or "". Only the fields the record holds are checked.
std::string RecordProblem(const ConfigRecord& r) {
    if (r.fieldCount >= 2)
        if (const std::string p = FileNameProblem(r.serverCfg); !p.empty())
            return "its server settings file \"" + r.serverCfg + "\" " + p;
    if (r.fieldCount >= 3) {
        if (const std::string p = FileNameProblem(r.actionIni); !p.empty())
            return "its mod settings file \"" + r.actionIni + "\" " + p;
        // Saving the teams would overwrite the registry itself.
        if (EqualsIgnoringCase(r.actionIni, "tolvane.ini")) return "its mod settings file is the registry itself";
    }
    return {};
}

void ReportUnusedRecord(const Context& ctx, const std::string& path, const ConfigRecord& r, const std::string& problem) {
    ctx.message(ShownPath(path) + ": the configuration " + r.name + " is not used: " + problem + ".\r" +
                "Its record is kept in the file as it is.");
}

}  // namespace

std::string FileNameProblem(const std::string& name) {
    if (name.empty()) return "is empty";
    if (name.find_first_of("\\/:") != std::string::npos) return "is not a plain file name (it holds \\, / or :)";
    if (name.find("..") != std::string::npos) return "is not a plain file name (it holds \"..\")";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "holds a control character";
    return {};
}

std::optional<std::string> ListedConfigName(const form::ComboList& list, const std::string& name) {
    for (const std::string& item : list.items())
        if (EqualsIgnoringCase(item, name)) return item;
    return std::nullopt;
}

void ReadConfigRegistry(const Context& ctx, form::ComboList& configNameList, form::TextBox& commandLine,
                        std::string& name) {
    AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) return;
    const std::string path = RegistryPath(st);
    std::string content;
    std::string error;
    st.bMapsLstChanged = false;
    if (!FileExists(ctx.fs, path) || !ctx.fs.readFile(path, content, error)) return;
    const ConfigRegistryText text = ParseConfigRegistry(content);
    if (!text.hasCurrent) return;

    const bool listing = name.empty();
    if (listing) name = text.current;
    if (listing) {
        // The built-in configuration is already the list's first item, so a record of that
        // name (in any case) is not listed a second time.
        for (const ConfigRecord& r : text.records) {
            if (EqualsIgnoringCase(r.name, "default") || ListedConfigName(configNameList, r.name)) continue;
            if (const std::string problem = RecordProblem(r); !problem.empty()) {
                // Not listed, so never picked; the current one is reported once, below.
                if (&r != FindConfigRecord(text, name)) ReportUnusedRecord(ctx, path, r, problem);
                continue;
            }
            configNameList.addItem(r.name);
        }
    }
    const ConfigRecord* r = FindConfigRecord(text, name);
    if (!r) return;
    // The configuration in use stays as it was (at start-up: the built-in one, with its own
    // files), rather than writing to files outside the mod directory.
    if (const std::string problem = RecordProblem(*r); !problem.empty()) {
        ReportUnusedRecord(ctx, path, *r, problem);
        if (listing) name = st.strConfigName;
        return;
    }
    if (const auto listed = ListedConfigName(configNameList, name)) name = *listed;
    if (name != st.strConfigName) {
        if (!form::InComboBox(configNameList, name)) configNameList.addItem(name);
        st.strConfigName = name;
        configNameList.selectText(name);
    }
    // A record cut short by the end of the file: its missing fields are not applied.
    if (r->fieldCount >= 2) st.strServerCfgFileName = r->serverCfg;
    if (r->fieldCount >= 3) st.strActionIniFileName = r->actionIni;
    if (r->fieldCount >= 4) commandLine.setText(r->commandLine);
}

bool SaveConfig(const Context& ctx, const form::TextBox& commandLine) {
    const AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) return true;
    const std::string path = RegistryPath(st);
    std::string old;
    std::string error;
    const bool hasOld = FileExists(ctx.fs, path) && ctx.fs.readFile(path, old, error);
    const std::string out = BuildConfigRegistry(
        hasOld ? &old : nullptr,
        {st.strConfigName, st.strServerCfgFileName, st.strActionIniFileName, commandLine.text()});
    // Built from the registry as it is now, read under the save lock: another editor's records
    // are kept, so the file may have changed since start-up.
    return ReplaceFileViaTemp(ctx, path, out, WriteBasis::CurrentFile);
}

}  // namespace tolvane::registry
