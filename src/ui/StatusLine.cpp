#include "ui/StatusLine.h"

#include <QLabel>
#include <QTimer>

namespace tolvane::ui {

StatusLine::StatusLine(app::Editor& editor, Bindings& bindings, QWidget* parent)
    : QStatusBar(parent),
      editor_(editor),
      result_(new ElidingLabel),
      unsaved_(new QLabel),
      notice_(new QLabel),
      directory_(new QLabel) {
    setObjectName(QStringLiteral("StatusLine"));
    setSizeGripEnabled(false);
    result_->setObjectName(QStringLiteral("StatusResult"));
    unsaved_->setObjectName(QStringLiteral("StatusUnsaved"));
    notice_->setObjectName(QStringLiteral("StatusNotice"));
    directory_->setObjectName(QStringLiteral("StatusDirectory"));
    for (QLabel* label : {static_cast<QLabel*>(result_), unsaved_, notice_, directory_}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    // A long result (a start's whole command line) gives way to the rest, ending in an
    // ellipsis; its tool tip keeps it whole.
    result_->setMinimumWidth(80);
    QFont bold = notice_->font();
    bold.setBold(true);
    notice_->setFont(bold);
    unsaved_->setFont(bold);
    addWidget(result_, 1);
    addPermanentWidget(notice_);
    addPermanentWidget(unsaved_);
    addPermanentWidget(directory_);
    bindings.keep(editor_.resultChanged.connect([this] { refresh(); }));
    // Every edit, the user's or the program's, fires a change of its control: the unsaved mark
    // is looked at again once the event that made it is over.
    bindings.keep(editor_.edited.connect([this] { refreshSoon(); }));
    refresh();
}

void StatusLine::refresh() {
    showUnsaved();
    // The directory and its mod directory change only with what a command did.
    const QString dir = QString::fromStdString(editor_.Directory());
    directory_->setText(QStringLiteral("Quake 2 directory: %1").arg(dir));
    directory_->setToolTip(dir);
    const bool missing = editor_.ModDirMissing();
    notice_->setVisible(missing);
    if (missing)
        notice_->setText(QStringLiteral("No %1 directory here: this is not the Quake 2 directory, nothing can be saved")
                             .arg(toQt(editor_.state.strModDir)));
}

void StatusLine::showUnsaved() {
    pending_ = false;
    const bool changed = editor_.HasUnsavedChanges();
    const QString result = toQt(editor_.lastResult());
    if (result != lastResult_) {
        lastResult_ = result;
        resultCameClean_ = !changed;
    }
    QString shown = result;
    if (changed && resultCameClean_) {
        // New edits since the result: what it says was saved is no longer what the window
        // shows. A started server is still running, so that part stays.
        shown = result.startsWith(QLatin1String("Server started")) ? result.section(QStringLiteral(": "), 0, 0) : QString();
    }
    result_->setFullText(shown);
    unsaved_->setText(changed ? QStringLiteral("Unsaved changes") : QString());
    unsaved_->setVisible(changed);
}

void StatusLine::refreshSoon() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (pending_) showUnsaved();
    });
}

}  // namespace tolvane::ui
