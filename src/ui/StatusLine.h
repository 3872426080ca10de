#pragma once
// The status line under the main window's buttons: what the last command did, whether anything
// is unsaved, and which Quake 2 directory is being edited (with a notice when it has no mod
// directory, so a start in the wrong place shows at once).
#include "ui/QtSetup.h"  // first: see there

#include <QStatusBar>

#include "app/Editor.h"
#include "ui/Bindings.h"
#include "ui/ElidingLabel.h"

class QLabel;

namespace tolvane::ui {

class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    StatusLine(app::Editor& editor, Bindings& bindings, QWidget* parent = nullptr);

    // Reads everything again from the editor.
    void refresh();
    // Looks at the unsaved changes once the event being handled is over: an edit fires many
    // changes (a typed key, a row moved between two grids), all looked at once.
    void refreshSoon();

    ElidingLabel* result() const { return result_; }
    QLabel* unsaved() const { return unsaved_; }
    QLabel* directory() const { return directory_; }
    QLabel* notice() const { return notice_; }

private:
    // The unsaved mark, and the result (which a later edit may make out of date).
    void showUnsaved();

    app::Editor& editor_;
    ElidingLabel* result_;
    QLabel* unsaved_;
    QLabel* notice_;
    QLabel* directory_;
    bool pending_ = false;
    // The result last shown, and whether nothing was unsaved when it came: a report of a save
    // is out of date once new edits are unsaved.
    QString lastResult_;
    bool resultCameClean_ = false;
};

}  // namespace tolvane::ui
