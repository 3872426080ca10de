#pragma once
// The state shared by the whole editor (the public variables of the main window), and the
// context every procedure of the core is given: files, dialogs, progress and this state.
#include <string>

#include "form/ShowMessage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "state/SaveSession.h"

namespace tolvane {

inline constexpr const char* kProgramName = "Tolvane";
inline constexpr int kVersionMajor = TOLVANE_VERSION_MAJOR;
inline constexpr int kVersionMinor = TOLVANE_VERSION_MINOR;

struct AppState {
    std::string strModDir = "action";
    std::string strConfigName = "default";
    // The file names stay empty until start-up loads the first configuration.
    std::string strServerCfgFileName;
    std::string strActionIniFileName;
    std::string strMapsLstFileName;
    std::string strMOTDFileName;
    bool bActionIniChanged = false;
    bool bMapsLstChanged = false;
    bool bMOTDChanged = false;
    // A run that only looks (a dump, a check): every file write is refused, so nothing a button
    // pressed on the way does can change the disk.
    bool noWrites = false;
    // The save under way, if any.
    SaveSession save;
};

struct Context {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Progress& progress;
    AppState& state;
    // Shows a message box titled with the program's name. A rehearsal of a save shows none: the
    // save itself shows them when it runs.
    void message(const std::string& text) const {
        if (!state.save.rehearsal) dialogs.message(text, kProgramName);
    }
    // The same message box for the form-level helpers; it holds a copy of this context, so only
    // the objects the context names must outlive it.
    form::ShowMessage showMessage() const {
        return [ctx = *this](const std::string& text) { ctx.message(text); };
    }
};

}  // namespace tolvane
