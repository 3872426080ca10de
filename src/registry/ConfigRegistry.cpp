#include "registry/ConfigRegistry.h"

#include <algorithm>

#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::registry {

namespace {

std::string RegistryPath(const AppState& s) { return s.strModDir + "\\tolvane.ini"; }

}  // namespace

bool InComboBox(const form::ComboList& list, const std::string& text) {
    return std::find(list.items().begin(), list.items().end(), text) != list.items().end();
}

void ReadConfigRegistry(const Context& ctx, form::ComboList& configNameList, form::TextBox& commandLine,
                        std::string& name) {
    AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) return;
    const std::string path = RegistryPath(st);
    std::string content;
    std::string error;
    if (!FileExists(ctx.fs, path) || !ctx.fs.readFile(path, content, error) || content.empty()) {
        st.bMapsLstChanged = false;
        return;
    }
    FieldReader reader(content);
    std::string field;
    if (!reader.next(field)) {
        st.bMapsLstChanged = false;
        return;
    }
    bool listing = false;
    if (name.empty()) {
        name = field;
        listing = true;
    }
    bool found = false;
    bool inWanted = false;
    int index = 0;  // 1..4 within a record
    while (reader.next(field)) {
        index = index % 4 + 1;
        if (index == 1) {
            inWanted = false;
            // The built-in configuration is already the list's first item, so a record of
            // that name (in any case) is not listed a second time.
            if (listing && !EqualsIgnoringCase(field, "default"))
                configNameList.addItem(field);
            if (!found && EqualsIgnoringCase(field, name)) {
                found = true;
                inWanted = true;
                if (name != st.strConfigName) {
                    if (!InComboBox(configNameList, name)) configNameList.addItem(name);
                    st.strConfigName = name;
                    configNameList.selectText(name);
                }
            }
        } else if (inWanted) {
            if (index == 2) st.strServerCfgFileName = field;
            else if (index == 3) st.strActionIniFileName = field;
            else {
                commandLine.setText(field);
                inWanted = false;
                if (!listing) break;
            }
        }
    }
    st.bMapsLstChanged = false;
}

bool SaveConfig(const Context& ctx, const form::TextBox& commandLine) {
    const AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) return true;
    const std::string path = RegistryPath(st);
    std::string out = FieldLine({st.strConfigName});
    std::string old;
    std::string error;
    if (FileExists(ctx.fs, path) && ctx.fs.readFile(path, old, error) && !old.empty()) {
        FieldReader reader(old);
        std::string field;
        reader.next(field);  // the old current name
        std::vector<std::string> record;
        while (reader.next(field)) {
            record.push_back(field);
            if (record.size() < 4) continue;
            if (!EqualsIgnoringCase(record[0], st.strConfigName)) out += FieldLine(record);
            record.clear();
        }
        // A final record cut short by the end of the file is dropped.
    }
    out += FieldLine({st.strConfigName, st.strServerCfgFileName, st.strActionIniFileName, commandLine.text()});
    return ReplaceFileViaTemp(ctx, path, out);
}

}  // namespace tolvane::registry
