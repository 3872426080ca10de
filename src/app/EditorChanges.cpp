// What a save would change, found by rehearsing it: every writer builds its bytes as SAVE
// SETTINGS would and hands them in instead of writing. Nothing is written, nothing is shown,
// and the editor is left as it was.
#include "app/Editor.h"

#include <set>
#include <string>
#include <vector>

#include "registry/ConfigDialogs.h"
#include "registry/ConfigRegistry.h"

namespace tolvane::app {

namespace {

// The state a rehearsal touches, given back as it was when the preview ends (whatever way it
// ends).
class KeptState {
public:
    explicit KeptState(AppState& state)
        : state_(state),
          noWrites_(state.noWrites),
          rehearsal_(state.save.rehearsal),
          refused_(state.save.refused),
          failed_(state.save.failed),
          backups_(state.save.backups),
          unchanged_(state.save.unchanged),
          notes_(state.save.notes),
          reloaded_(state.save.reloaded),
          planned_(state.save.planned),
          names_{state.strModDir, state.strConfigName, state.strServerCfgFileName, state.strActionIniFileName,
                 state.strMapsLstFileName, state.strMOTDFileName},
          flags_{state.bActionIniChanged, state.bMapsLstChanged, state.bMOTDChanged} {}
    ~KeptState() {
        AppState& s = state_;
        s.noWrites = noWrites_;
        s.save.rehearsal = rehearsal_;
        s.save.refused = refused_;
        s.save.failed = failed_;
        s.save.backups = std::move(backups_);
        s.save.unchanged = std::move(unchanged_);
        s.save.notes = std::move(notes_);
        s.save.reloaded = std::move(reloaded_);
        s.save.planned = std::move(planned_);
        s.strModDir = names_[0];
        s.strConfigName = names_[1];
        s.strServerCfgFileName = names_[2];
        s.strActionIniFileName = names_[3];
        s.strMapsLstFileName = names_[4];
        s.strMOTDFileName = names_[5];
        s.bActionIniChanged = flags_[0];
        s.bMapsLstChanged = flags_[1];
        s.bMOTDChanged = flags_[2];
    }
    KeptState(const KeptState&) = delete;
    KeptState& operator=(const KeptState&) = delete;

private:
    AppState& state_;
    bool noWrites_, rehearsal_, refused_, failed_;
    std::set<std::string> backups_;
    std::vector<std::string> unchanged_, notes_, reloaded_;
    std::vector<SaveSession::Planned> planned_;
    std::string names_[6];
    bool flags_[3];
};

}  // namespace

std::vector<changes::FileChange> Editor::PreviewChanges() {
    std::vector<SaveSession::Planned> planned;
    {
        const KeptState kept(state);
        // A rehearsal writes nothing, so a run that only looks may have one; a session opened
        // for a rehearsal takes no lock, so not even the lock file is made.
        state.noWrites = false;
        state.save.rehearsal = true;
        const SaveScope scope(ctx);
        state.save.planned.clear();
        // The registry first, as SAVE SETTINGS writes it when its dialog is confirmed as
        // proposed: the same configuration with the same file names, so that all the dialog
        // records is the registry. Names the dialog would refuse leave it out (that save would
        // ask for other names first).
        if (registry::CheckFileNames(state.strServerCfgFileName, state.strActionIniFileName).empty())
            registry::SaveConfig(ctx, main.CommandLine);
        // Then every file of the save sequence, from what the editor shows: a file another
        // program changed since it was read shows as the save would write it over (the
        // "Overwrite" answer of the save's question).
        WriteAll();
        planned = std::move(state.save.planned);
    }
    return changes::ChangesOf(ctx, planned);
}

}  // namespace tolvane::app
