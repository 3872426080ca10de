#pragma once
// The two configuration dialogs as models: the load dialog creates a new configuration from
// existing files and makes it current; the save dialog records the current configuration,
// optionally renamed or with other file names, before everything is written.
#include <string>

#include "form/Controls.h"
#include "form/Form.h"
#include "platform/Dialogs.h"
#include "state/AppState.h"

namespace tolvane::registry {

// What both dialogs work on: the main window's configuration list and command-line box.
struct DialogTargets {
    const Context& ctx;
    form::ComboList& configNameList;
    form::TextBox& commandLine;
};

// What both dialogs share: the two file-name boxes, the cancel button and the answer.
class ConfigDialogBase : public platform::DialogModel {
public:
    form::TextBox ServerCfg{"ServerCfg"};
    form::TextBox ActionIni{"ActionIni"};
    form::Button ButtonCancel{"ButtonCancel"};

    // The dialog's text boxes by name, for filling them from the command line.
    form::Form fields;

    bool confirmed() const { return bConfirmed; }
    // Closing the window by its frame answers as the cancel button, never with a stale answer
    // left from an earlier visit.
    void closedByFrame() override { ButtonCancel.click(); }

protected:
    ConfigDialogBase(DialogTargets targets, const std::string& cancelCaption);
    // Fills the file names from the current configuration, shows the dialog modally and
    // answers whether the user confirmed.
    bool Run();
    // Runs the file-name checks; false (after showing the message) when one fails.
    bool FileNamesPass();
    // Records the configuration under name with the typed files, then closes confirmed.
    void Finish(const std::string& name);
    DialogTargets t_;

private:
    bool bConfirmed = false;
};

class LoadDialog : public ConfigDialogBase {
public:
    explicit LoadDialog(DialogTargets targets);
    std::string title() const override { return "Load New Configuration from .INI and .CFG files"; }

    form::TextBox ConfigName{"ConfigName"};
    form::Button ButtonLoad{"ButtonLoad"};

    // Fills the fields from the current configuration, shows the dialog modally and answers
    // whether the user confirmed.
    bool GetFileNames();
    void confirm() override { ButtonLoad.click(); }

private:
    void Load();
};

class SaveDialog : public ConfigDialogBase {
public:
    explicit SaveDialog(DialogTargets targets);
    std::string title() const override { return "Save Configuration"; }

    form::Label ConfigName{"ConfigName"};   // not editable: the name is changed by Rename
    form::Button ButtonRename{"ButtonRename"};
    form::Button ButtonSave{"ButtonSave"};

    bool GetFileNames();
    void confirm() override { ButtonSave.click(); }

private:
    void Rename();
    void Save();
};

// The file-name checks both confirming buttons run, in order; answers the message of the first
// that fails, or an empty string. Both names must be plain file names of the mod directory.
std::string CheckFileNames(const std::string& serverCfg, const std::string& actionIni);

}  // namespace tolvane::registry
