#pragma once
// The "Changes" window: every file SAVE SETTINGS would write now, with what it would change in
// each (a unified diff), the files it would create and those it would leave as they are. It
// writes nothing; "Look Again" takes the edits made since it opened.
#include "ui/QtSetup.h"  // first: see there

#include <functional>
#include <vector>

#include <QDialog>

#include "changes/ChangePreview.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace tolvane::ui {

class ChangesDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangesDialog(std::function<std::vector<changes::FileChange>()> preview, QWidget* parent = nullptr);

    // Asks the editor again and shows the answer.
    void refresh();

    QListWidget* files() const { return files_; }
    QPlainTextEdit* diff() const { return diff_; }
    QLabel* summary() const { return summary_; }

    // How a change is named in the file list ("action/server.cfg: changed").
    static QString ItemText(const changes::FileChange& change);

private:
    void showFile(int row);

    std::function<std::vector<changes::FileChange>()> preview_;
    std::vector<changes::FileChange> changes_;
    QLabel* summary_;
    QListWidget* files_;
    QPlainTextEdit* diff_;
};

}  // namespace tolvane::ui
