#include "ui/ChangesDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QVBoxLayout>

#include "ui/Bindings.h"

namespace tolvane::ui {

namespace {

using changes::FileChange;

// Lines taken out in red, lines put in in green, hunk heads in blue.
class DiffColours : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& line) override {
        if (line.startsWith(QLatin1String("+++")) || line.startsWith(QLatin1String("---"))) {
            QTextCharFormat f;
            f.setFontWeight(QFont::Bold);
            setFormat(0, static_cast<int>(line.size()), f);
        } else if (line.startsWith(QLatin1Char('+'))) {
            setFormat(0, static_cast<int>(line.size()), QColor(0x1a, 0x7f, 0x37));
        } else if (line.startsWith(QLatin1Char('-'))) {
            setFormat(0, static_cast<int>(line.size()), QColor(0xb3, 0x1d, 0x28));
        } else if (line.startsWith(QLatin1String("@@"))) {
            setFormat(0, static_cast<int>(line.size()), QColor(0x1f, 0x4e, 0xa8));
        }
    }
};

QString Count(std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

}  // namespace

QString ChangesDialog::ItemText(const FileChange& change) {
    const QString path = toQt(change.displayPath);
    switch (change.kind) {
        case FileChange::Kind::Changed: return path + QStringLiteral(": changed");
        case FileChange::Kind::Created: return path + QStringLiteral(": created");
        case FileChange::Kind::Unchanged: return path + QStringLiteral(": left as it is");
        case FileChange::Kind::SetAside: return path + QStringLiteral(": set aside as its backup");
    }
    return path;
}

ChangesDialog::ChangesDialog(std::function<std::vector<FileChange>()> preview, QWidget* parent)
    : QDialog(parent), preview_(std::move(preview)), summary_(new QLabel), files_(new QListWidget), diff_(new QPlainTextEdit) {
    setObjectName(QStringLiteral("frmChanges"));
    setWindowTitle(QStringLiteral("Changes"));
    summary_->setObjectName(QStringLiteral("ChangesSummary"));
    summary_->setWordWrap(true);
    files_->setObjectName(QStringLiteral("ChangedFiles"));
    files_->setToolTip(QStringLiteral("The files SAVE SETTINGS would write, create or leave as they are"));
    diff_->setObjectName(QStringLiteral("ChangesDiff"));
    diff_->setReadOnly(true);
    diff_->setLineWrapMode(QPlainTextEdit::NoWrap);
    diff_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    new DiffColours(diff_->document());
    connect(files_, &QListWidget::currentRowChanged, this, &ChangesDialog::showFile);

    auto* split = new QSplitter;
    split->addWidget(files_);
    split->addWidget(diff_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);

    auto* buttons = new QDialogButtonBox;
    QPushButton* again = buttons->addButton(QStringLiteral("Look &Again"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("ChangesAgain"));
    again->setToolTip(QStringLiteral("Compare the window's edits with the files once more"));
    connect(again, &QPushButton::clicked, this, &ChangesDialog::refresh);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(980, 560);
    refresh();
}

void ChangesDialog::refresh() {
    const int wasRow = files_->currentRow();
    changes_ = preview_ ? preview_() : std::vector<FileChange>{};
    files_->clear();
    std::size_t changed = 0, created = 0, unchanged = 0, setAside = 0;
    for (const FileChange& c : changes_) {
        files_->addItem(ItemText(c));
        switch (c.kind) {
            case FileChange::Kind::Changed: ++changed; break;
            case FileChange::Kind::Created: ++created; break;
            case FileChange::Kind::Unchanged: ++unchanged; break;
            case FileChange::Kind::SetAside: ++setAside; break;
        }
    }
    QStringList parts;
    if (changed) parts << QStringLiteral("change %1").arg(Count(changed, "file", "files"));
    if (created) parts << QStringLiteral("create %1").arg(Count(created, "file", "files"));
    if (setAside) parts << QStringLiteral("set %1 aside").arg(Count(setAside, "file", "files"));
    QString text = parts.isEmpty() ? QStringLiteral("SAVE SETTINGS would write no file: the files hold what the window shows.")
                                   : QStringLiteral("SAVE SETTINGS would %1.").arg(parts.join(QStringLiteral(", ")));
    if (unchanged) text += QStringLiteral(" %1 would be left as %2.").arg(Count(unchanged, "file", "files"),
                                                                       QString::fromLatin1(unchanged == 1 ? "it is" : "they are"));
    summary_->setText(text + QStringLiteral(" Nothing has been written."));
    // The first file with something to show, or the one looked at before.
    int row = wasRow >= 0 && wasRow < files_->count() ? wasRow : -1;
    for (int i = 0; row < 0 && i < static_cast<int>(changes_.size()); ++i)
        if (changes_[static_cast<std::size_t>(i)].kind != FileChange::Kind::Unchanged) row = i;
    files_->setCurrentRow(row < 0 && files_->count() > 0 ? 0 : row);
    if (files_->count() == 0) diff_->clear();
}

void ChangesDialog::showFile(int row) {
    if (row < 0 || row >= static_cast<int>(changes_.size())) {
        diff_->clear();
        return;
    }
    const FileChange& change = changes_[static_cast<std::size_t>(row)];
    if (change.kind == FileChange::Kind::Unchanged) {
        diff_->setPlainText(QStringLiteral("%1 already holds what the save would write: it is left as it is, "
                                           "and its backup keeps the version before.").arg(toQt(change.displayPath)));
        return;
    }
    const std::string text = changes::ReadableDiffOf({change});
    diff_->setPlainText(text.empty() ? QStringLiteral("%1 would be created empty.").arg(toQt(change.displayPath)) : toQt(text));
}

}  // namespace tolvane::ui
