#include "registry/ConfigRegistry.h"

#include <algorithm>

#include "registry/ConfigRegistryFormat.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::registry {

namespace {

std::string RegistryPath(const AppState& s) { return s.strModDir + "\\tolvane.ini"; }

}  // namespace

bool InComboBox(const form::ComboList& list, const std::string& text) {
    return std::find(list.items().begin(), list.items().end(), text) != list.items().end();
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
        for (const ConfigRecord& r : text.records)
            if (!EqualsIgnoringCase(r.name, "default") && !ListedConfigName(configNameList, r.name))
                configNameList.addItem(r.name);
    }
    const ConfigRecord* r = FindConfigRecord(text, name);
    if (!r) return;
    if (const auto listed = ListedConfigName(configNameList, name)) name = *listed;
    if (name != st.strConfigName) {
        if (!InComboBox(configNameList, name)) configNameList.addItem(name);
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
    return ReplaceFileViaTemp(ctx, path, out);
}

}  // namespace tolvane::registry
