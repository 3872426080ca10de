#include "app/HeadlessModes.h"

#include "changes/ChangePreview.h"
#include "server/ServerCommands.h"

namespace tolvane::app {

int RunHeadlessMode(Options::Mode mode, Editor& editor, bool& confirmDialogs, std::ostream& out,
                    std::ostream& err) {
    switch (mode) {
        case Options::Mode::Check: {
            const check::Findings findings = editor.Check();
            for (const auto& finding : findings) out << check::FindingLine(finding) << '\n';
            return findings.empty() ? 0 : 1;
        }
        case Options::Mode::Diff: {
            // The patch of what SAVE SETTINGS would write; nothing is written. A file the save
            // would create empty is a change too, though the patch has no line of it.
            const std::vector<changes::FileChange> changes = editor.PreviewChanges();
            out << changes::UnifiedDiffOf(changes);
            for (const changes::FileChange& c : changes)
                if (c.kind != changes::FileChange::Kind::Unchanged) return 1;
            return 0;
        }
        case Options::Mode::Status:
            // The server at the configured port: the Port field and a "+set ip" of the
            // command-line options, as the start uses them.
            return server::PrintServerStatus(editor.ServerAddress(), editor.ServerPort(), out, err);
        case Options::Mode::Stop:
            return server::StopRecordedServer(editor.ModDirOnDisk(), out, err);
        default:
            break;
    }
    // A start without a window asks nobody: the findings go to standard error and it starts.
    editor.confirmStartWithFindings = [&err](const check::Findings& findings) {
        for (const auto& finding : findings) err << "check: " << check::FindingLine(finding) << '\n';
        return true;
    };
    switch (mode) {
        case Options::Mode::Save:
            confirmDialogs = true;
            return editor.ButtonSave_Click() ? 0 : 1;
        case Options::Mode::Start:
            confirmDialogs = true;
            return editor.ButtonStart_Click() ? 0 : 1;
        default:
            return 0;
    }
}

}  // namespace tolvane::app
