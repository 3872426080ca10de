#include "registry/ConfigDialogs.h"


#include "registry/ConfigRegistry.h"
#include "state/TextReaders.h"

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
    // A name listed under another spelling is the same configuration (the registry matches
    // names ignoring case): it is selected, not listed a second time.
    const auto listed = ListedConfigName(t.configNameList, name);
    if (!listed) t.configNameList.addItem(name);
    st.strConfigName = name;
    t.configNameList.selectText(listed.value_or(name));
    st.strServerCfgFileName = serverCfg;
    if (actionIni != st.strActionIniFileName) {
        st.bActionIniChanged = true;
        st.strActionIniFileName = actionIni;
    }
    SaveConfig(t.ctx, t.commandLine);
}

}  // namespace

std::string CheckFileNames(const std::string& serverCfg, const std::string& actionIni) {
    // Only the last three characters count: no dot is required, and upper case fails. The
    // registry's own name is refused in any case: the file system finds it ignoring case, so
    // the teams would be written over it.
    if (EqualsIgnoringCase(actionIni, "tolvane.ini"))
        return "Invalid Ini File Name!\rYou cannot name the Ini File 'tolvane.ini'!";
    if (!EndsWith(actionIni, "ini")) return "Invalid Ini File Name!\rThe Ini File must end in '.ini'!";
    if (!EndsWith(serverCfg, "cfg")) return "Invalid Cfg File Name!\rThe Cfg File must end in '.cfg'!";
    // The server's command line ("+exec <name>") and the script's "set ininame <name>" would
    // split such a name, so the server would read another file than the one written.
    const char* kSplitting = " \t;\"";
    if (actionIni.find_first_of(kSplitting) != std::string::npos)
        return "Invalid Ini File Name!\rThe Ini File name cannot hold a blank, a semicolon or a double quote!";
    if (serverCfg.find_first_of(kSplitting) != std::string::npos)
        return "Invalid Cfg File Name!\rThe Cfg File name cannot hold a blank, a semicolon or a double quote!";
    // A save writes both files into the mod directory and nowhere else.
    if (const std::string problem = FileNameProblem(actionIni); !problem.empty())
        return "Invalid Ini File Name!\rThe Ini File must be a file of the action directory: '" + actionIni + "' " +
               problem + "!";
    if (const std::string problem = FileNameProblem(serverCfg); !problem.empty())
        return "Invalid Cfg File Name!\rThe Cfg File must be a file of the action directory: '" + serverCfg + "' " +
               problem + "!";
    return {};
}

ConfigDialogBase::ConfigDialogBase(DialogTargets targets, const std::string& cancelCaption) : t_(targets) {
    ServerCfg.setCaption("CFG FILE");
    ServerCfg.setText("server.cfg");
    ActionIni.setCaption("INI FILE");
    ActionIni.setText("action.ini");
    ButtonCancel.setCaption(cancelCaption);
    fields.add(ServerCfg);
    fields.add(ActionIni);
    ButtonCancel.clicked.attach([this] {
        bConfirmed = false;
        hide();
    });
}

bool ConfigDialogBase::Run() {
    ServerCfg.setText(t_.ctx.state.strServerCfgFileName);
    ActionIni.setText(t_.ctx.state.strActionIniFileName);
    bConfirmed = false;
    t_.ctx.dialogs.showModal(*this);
    return bConfirmed;
}

bool ConfigDialogBase::FileNamesPass() {
    const std::string problem = CheckFileNames(ServerCfg.text(), ActionIni.text());
    if (problem.empty()) return true;
    t_.ctx.message(problem);
    return false;
}

void ConfigDialogBase::Finish(const std::string& name) {
    RecordConfiguration(t_, name, ServerCfg.text(), ActionIni.text());
    bConfirmed = true;
    hide();
}

LoadDialog::LoadDialog(DialogTargets targets) : ConfigDialogBase(targets, "CANCEL LOAD") {
    ConfigName.setCaption("Configuration");
    ConfigName.setText("New");
    fields.add(ConfigName);
    ButtonLoad.setCaption("LOAD SETTINGS");
    ButtonLoad.clicked.attach([this] { Load(); });
}

bool LoadDialog::GetFileNames() {
    ConfigName.setText(t_.ctx.state.strConfigName);
    // The proposed name is selected: typing replaces it.
    ConfigName.selectAll();
    return Run();
}

void LoadDialog::Load() {
    if (!FileNamesPass()) return;
    if (ListedConfigName(t_.configNameList, ConfigName.text())) {
        t_.ctx.message("There is already a configuration named that!");
        // The refused name stays selected, so that typing a new one replaces it.
        ConfigName.selectAll();
        ConfigName.requestFocus();
        return;
    }
    Finish(ConfigName.text());
}

SaveDialog::SaveDialog(DialogTargets targets) : ConfigDialogBase(targets, "CANCEL SAVE") {
    ConfigName.setCaption("Configuration");
    ButtonRename.setCaption("Rename");
    ButtonSave.setCaption("SAVE SETTINGS");
    ButtonRename.clicked.attach([this] { Rename(); });
    ButtonSave.clicked.attach([this] { Save(); });
}

bool SaveDialog::GetFileNames() {
    ConfigName.setCaption(t_.ctx.state.strConfigName);
    return Run();
}

void SaveDialog::Rename() {
    const std::string current = ConfigName.caption();
    const auto answer = t_.ctx.dialogs.input("Rename " + current + " to?", "Rename Configuration", current);
    if (!answer || answer->empty()) return;
    const std::string name = LowerCase(*answer);
    if (ListedConfigName(t_.configNameList, name)) {
        t_.ctx.dialogs.message("You can't rename it to that!  That configuration already exists!",
                               "Rename Configuration");
        return;
    }
    ConfigName.setCaption(name);
}

void SaveDialog::Save() {
    if (FileNamesPass()) Finish(ConfigName.caption());
}

}  // namespace tolvane::registry
