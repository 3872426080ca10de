#include "registry/ConfigDialogs.h"

#include <algorithm>
#include <cctype>

#include "registry/ConfigRegistry.h"

namespace tolvane::registry {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Makes the named configuration current with the typed file names and records it in
// tolvane.ini. A different action.ini name means the teams and rotation must be written to the
// new file.
void RecordConfiguration(const DialogTargets& t, const std::string& name, const std::string& serverCfg,
                         const std::string& actionIni) {
    AppState& st = t.ctx.state;
    if (!InComboBox(t.configNameList, name)) t.configNameList.addItem(name);
    st.strConfigName = name;
    t.configNameList.selectText(name);
    st.strServerCfgFileName = serverCfg;
    if (actionIni != st.strActionIniFileName) {
        st.bActionIniChanged = true;
        st.strActionIniFileName = actionIni;
    }
    SaveConfig(t.ctx, t.commandLine);
}

}  // namespace

std::string CheckFileNames(const std::string& serverCfg, const std::string& actionIni) {
    // Only the last three characters count: no dot is required, and upper case fails.
    if (actionIni == "tolvane.ini") return "Invalid Ini File Name!\rYou cannot name the Ini File 'tolvane.ini'!";
    if (!EndsWith(actionIni, "ini")) return "Invalid Ini File Name!\rThe Ini File must end in '.ini'!";
    if (!EndsWith(serverCfg, "cfg")) return "Invalid Cfg File Name!\rThe Cfg File must end in '.cfg'!";
    return {};
}

LoadDialog::LoadDialog(DialogTargets targets) : t_(targets) {
    ConfigName.setCaption("Configuration");
    ConfigName.setText("New");
    ServerCfg.setCaption("CFG FILE");
    ServerCfg.setText("server.cfg");
    ActionIni.setCaption("INI FILE");
    ActionIni.setText("action.ini");
    ButtonLoad.setCaption("LOAD SETTINGS");
    ButtonCancel.setCaption("CANCEL LOAD");
    ButtonLoad.clicked.connect([this] { Load(); });
    ButtonCancel.clicked.connect([this] {
        bConfirmed = false;
        hide();
    });
}

bool LoadDialog::GetFileNames() {
    const AppState& st = t_.ctx.state;
    ConfigName.setText(st.strConfigName);
    ServerCfg.setText(st.strServerCfgFileName);
    ActionIni.setText(st.strActionIniFileName);
    bConfirmed = false;
    t_.ctx.dialogs.showModal(*this);
    return bConfirmed;
}

void LoadDialog::Load() {
    const std::string problem = CheckFileNames(ServerCfg.text(), ActionIni.text());
    if (!problem.empty()) {
        t_.ctx.message(problem);
        return;
    }
    if (InComboBox(t_.configNameList, ConfigName.text())) {
        t_.ctx.message("There is already a configuration named that!");
        return;
    }
    RecordConfiguration(t_, ConfigName.text(), ServerCfg.text(), ActionIni.text());
    bConfirmed = true;
    hide();
}

SaveDialog::SaveDialog(DialogTargets targets) : t_(targets) {
    ConfigName.setCaption("Configuration");
    ServerCfg.setCaption("CFG FILE");
    ServerCfg.setText("server.cfg");
    ActionIni.setCaption("INI FILE");
    ActionIni.setText("action.ini");
    ButtonRename.setCaption("Rename");
    ButtonSave.setCaption("SAVE SETTINGS");
    ButtonCancel.setCaption("CANCEL SAVE");
    ButtonRename.clicked.connect([this] { Rename(); });
    ButtonSave.clicked.connect([this] { Save(); });
    ButtonCancel.clicked.connect([this] {
        bConfirmed = false;
        hide();
    });
}

bool SaveDialog::GetFileNames() {
    const AppState& st = t_.ctx.state;
    ConfigName.setCaption(st.strConfigName);
    ServerCfg.setText(st.strServerCfgFileName);
    ActionIni.setText(st.strActionIniFileName);
    bConfirmed = false;
    t_.ctx.dialogs.showModal(*this);
    return bConfirmed;
}

void SaveDialog::Rename() {
    const std::string current = ConfigName.caption();
    const auto answer = t_.ctx.dialogs.input("Rename " + current + " to?", "Rename Configuration", current);
    if (!answer || answer->empty()) return;
    std::string name = *answer;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (InComboBox(t_.configNameList, name)) {
        t_.ctx.dialogs.message("You can't rename it to that!  That configuration already exists!",
                               "Rename Configuration");
        return;
    }
    ConfigName.setCaption(name);
}

void SaveDialog::Save() {
    const std::string problem = CheckFileNames(ServerCfg.text(), ActionIni.text());
    if (!problem.empty()) {
        t_.ctx.message(problem);
        return;
    }
    RecordConfiguration(t_, ConfigName.caption(), ServerCfg.text(), ActionIni.text());
    bConfirmed = true;
    hide();
}

}  // namespace tolvane::registry
