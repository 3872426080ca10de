#pragma once
// The two configuration dialogs as models: the load dialog creates a new configuration from
// existing files and makes it current; the save dialog records the current configuration,
// optionally renamed or with other file names, before everything is written.
#include <string>

#include "form/Controls.h"
#include "platform/Dialogs.h"
#include "state/AppState.h"

namespace tolvane::registry {

// What both dialogs work on: the main window's configuration list and command-line box.
struct DialogTargets {
    const Context& ctx;
    form::ComboList& configNameList;
    form::TextBox& commandLine;
};

class LoadDialog : public platform::DialogModel {
public:
    explicit LoadDialog(DialogTargets targets);
    std::string title() const override { return "Load New Configuration from .INI and .CFG files"; }

    form::TextBox ConfigName{"ConfigName"};
    form::TextBox ServerCfg{"ServerCfg"};
    form::TextBox ActionIni{"ActionIni"};
    form::Button ButtonLoad{"ButtonLoad"};
    form::Button ButtonCancel{"ButtonCancel"};

    // Fills the fields from the current configuration, shows the dialog modally and answers
    // whether the user confirmed.
    bool GetFileNames();
    bool confirmed() const { return bConfirmed; }

    // Closing the window by its frame answers as the cancel button, never with a stale answer
    // left from an earlier visit.
    void closedByFrame() override { ButtonCancel.click(); }
    void confirm() override { ButtonLoad.click(); }

private:
    void Load();
    DialogTargets t_;
    bool bConfirmed = false;
};

class SaveDialog : public platform::DialogModel {
public:
    explicit SaveDialog(DialogTargets targets);
    std::string title() const override { return "Save Configuration"; }

    form::Label ConfigName{"ConfigName"};   // not editable: the name is changed by Rename
    form::TextBox ServerCfg{"ServerCfg"};
    form::TextBox ActionIni{"ActionIni"};
    form::Button ButtonRename{"ButtonRename"};
    form::Button ButtonSave{"ButtonSave"};
    form::Button ButtonCancel{"ButtonCancel"};

    bool GetFileNames();
    bool confirmed() const { return bConfirmed; }

    void closedByFrame() override { ButtonCancel.click(); }
    void confirm() override { ButtonSave.click(); }

private:
    void Rename();
    void Save();
    DialogTargets t_;
    bool bConfirmed = false;
};

// The file-name checks both confirming buttons run, in order; answers the message of the first
// that fails, or an empty string.
std::string CheckFileNames(const std::string& serverCfg, const std::string& actionIni);

}  // namespace tolvane::registry
