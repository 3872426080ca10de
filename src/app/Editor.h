#pragma once
// The editor: owns the state, every control and the wiring between them; runs the start-up
// sequence and (as the work goes on) the save sequence, starting the server and switching
// configuration. Only this folder sees every subsystem.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/MainFields.h"
#include "changes/ChangePreview.h"
#include "check/Check.h"
#include "form/EditMarks.h"
#include "form/Form.h"
#include "maps/MapFields.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Random.h"
#include "plugin/BanDialog.h"
#include "plugin/PluginFields.h"
#include "registry/ConfigDialogs.h"
#include "scripts/ScriptFields.h"
#include "settings/ServerFields.h"
#include "state/AppState.h"
#include "state/FileUtils.h"
#include "teams/TeamFields.h"

namespace tolvane::server {
class ServerProcess;
}

namespace tolvane::app {

class Editor {
public:
    Editor(platform::FileSystem& fs, platform::Dialogs& dialogs, platform::Progress& progress,
           platform::ProcessLauncher& launcher);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // The main window's loading: scans the Quake 2 directory and reads every file of the
    // current configuration. A failing step is abandoned silently and the next one runs (with
    // TOLVANE_TRACE=1 in the environment, each such failure is named on standard error).
    void StartUp();
    // Loads the named configuration's files; lower-cases the name in place.
    void LoadConfiguration(std::string& name);

    // Writes every editor file in the fixed order; true when every write succeeded.
    bool SaveSequence();
    // The three commands of the main window and the switch of configuration.
    bool ButtonSave_Click();    // true when the dialog was confirmed and every write succeeded
    bool ButtonStart_Click();   // true when every write succeeded and the server was started
    // True when the new configuration was made and loaded; false when cancelled or refused.
    bool ButtonLoad_Click();
    void ConfigNameList_Click();
    // The server's command line for the current configuration.
    std::string ServerCommandLine() const;
    // Where the server listens: the address the command line gives it ("+set ip", empty for
    // every address) and the Port field. See EditorStart.cpp.
    std::string ServerAddress() const;
    int ServerPort() const;
    // The mod directory as the system names it.
    std::filesystem::path ModDirOnDisk() const;
    // The server the window watches, when there is a window: starts go through it, so that its
    // output and its end are seen. Without it the server is started and let go.
    server::ServerProcess* supervisedServer = nullptr;
    // What the server would misread in the configuration as a save would write it.
    check::Findings Check() const;
    // What SAVE SETTINGS would change now (its dialog confirmed as proposed), file by file, the
    // registry first; writes nothing, shows nothing and leaves the editor as it was. See
    // EditorChanges.cpp.
    std::vector<changes::FileChange> PreviewChanges();
    // Asked by START SERVER when the check has findings, after the save: true starts the server
    // anyway. Without it the server starts (the findings are warnings).
    std::function<bool(const check::Findings&)> confirmStartWithFindings;

    // Set by the window layer once the main window is shown (and by runs without a window once
    // start-up is over): selections of the configuration list before that are the program's.
    bool mainWindowVisible = false;

    // What the window's status line tells the operator. The Quake 2 directory being edited (its
    // full path), and whether it holds the mod directory at all.
    std::string Directory() const;
    bool ModDirMissing() const;
    // True while any control differs from what was loaded or last saved.
    bool HasUnsavedChanges() const;
    // True while a control of the configuration's own files (its server settings file, its
    // action.ini, its command-line text) differs from what was loaded or last saved: what a
    // switch of configuration or NEW CONFIG would read anew.
    bool ConfigurationUnsaved() const;
    // Fires on every change of a control that is saved to a file, whoever made it; asking
    // HasUnsavedChanges then compares only the controls changed since it was last asked.
    form::Signal<> edited;
    // What the last SAVE SETTINGS, START SERVER or switch of configuration did, in a line for
    // the operator; resultChanged fires when it changes.
    const std::string& lastResult() const { return lastResult_; }
    form::Signal<> resultChanged;

    // Prints every control and the state variables, one `Name=value` a line.
    void Dump(std::ostream& out) const;

    // Set when the program is to end (CANCEL CONFIG); the window layer closes on it.
    bool quitRequested() const { return quitRequested_; }
    std::function<void()> onQuit;   // called when CANCEL CONFIG is pressed
    std::function<void()> onAbout;  // called when About is pressed

    AppState state;
    Context ctx;
    platform::ProcessLauncher& launcher;
    // The shuffle's random numbers; tests point it at draws of their own.
    platform::SystemRandom systemRandom;
    platform::Random* random = &systemRandom;
    MainFields main;
    settings::ServerFields server;
    plugin::PluginFields plugin;
    scripts::ScriptFields scripts;
    teams::TeamFields teams;
    maps::MapFields mapFields;
    form::Form form;
    registry::LoadDialog frmLoad;
    registry::SaveDialog frmSave;
    plugin::BanDialog frmBans;

private:
    void RegisterControls();
    void ConnectHandlers();
    void ScanLooseMaps();
    // Reads the server settings file; the script lists follow the execution list it holds. For
    // start-up, a switch of configuration and a reload after another editor's save.
    void ReadServerSettings();
    // True when the Quake 2 directory holds the server program.
    bool ServerProgramPresent() const;
    // The server program a start runs, as messages name it.
    std::string ServerProgramName() const;
    // A start while the watched server still runs: restart it or leave it, as the operator says.
    bool SettleRunningServer(const std::string& savedNote);
    // The teams as action.ini will hold them, for the check; see EditorCheck.cpp.
    std::vector<check::TeamEntry> TeamsToCheck() const;
    // The save sequence with a record of what it wrote, for the status line.
    bool SaveAndReport();
    // What SAVE SETTINGS, START SERVER and a switch of configuration do first: the save dialog
    // under the save lock, then `save` once it is confirmed.
    enum class DialogSave { Busy, Cancelled, Saved, Failed };
    DialogSave SaveThroughDialog(const std::function<bool()>& save);
    // Before any write: the save is rehearsed, and each file it would write with new bytes that
    // is no longer what the editor read (another editor saved it, it appeared) is put to the
    // operator: overwrite, reload, or cancel the save. Without a window nobody is asked and
    // nothing is written. See EditorFiles.cpp.
    bool ResolveChangedFiles();
    // The writers in the fixed order; true when every write succeeded.
    bool WriteAll();
    // Files that start-up looked for through ways that keep no record are remembered as absent
    // when nothing read them, so one that appears later is not taken for the file read.
    void RememberUnreadFiles();
    struct SavedFile {
        std::string path;
        std::function<void()> reload;  // reads the file into the editor again
    };
    std::vector<SavedFile> FilesToSave();
    // Asks what to do with one file that changed since it was read; false to stop the save.
    bool SettleChangedFile(const std::string& path, FileStanding standing, bool writesIt);
    // Asked before unsaved edits of the configuration's files would be read over: true to go on
    // (saved or discarded), false to stay.
    bool KeepOrDropConfigurationEdits(const std::string& doing);
    void MarkSaved();
    void MarkConfigurationRead();
    void SetResult(std::string text);
    bool switching_ = false;
    // The controls of the configuration's own files, and those of the files every configuration
    // shares (catalogue, MOTD, plug-in files), each with its digest when last read or saved: a
    // switch reads the first anew and leaves the second unsaved.
    form::Form configurationValues_;
    form::Form sharedValues_;
    form::EditMarks configurationMarks_;
    form::EditMarks sharedMarks_;
    std::string lastResult_;
    bool quitRequested_ = false;
};

// "Tolvane v1.3 - The Quickest Configuration Editor for Action Quake"
std::string WindowTitle();
std::string VersionText();  // "1.3"

}  // namespace tolvane::app
