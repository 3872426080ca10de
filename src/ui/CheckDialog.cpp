#include "ui/CheckDialog.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/Bindings.h"

namespace tolvane::ui {

namespace {

// The caption the operator reads beside a field of the main window: a list's frame title, else
// the label that leads to it, else a check box's own text; empty when there is none.
QString CaptionOfField(const QWidget* window, const std::string& control) {
    if (!window || control.empty()) return {};
    auto* field = window->findChild<QWidget*>(toQt(control));
    if (!field) return {};
    if (qobject_cast<QAbstractItemView*>(field)) {
        for (QWidget* p = field->parentWidget(); p && p != window; p = p->parentWidget())
            if (auto* frame = qobject_cast<QGroupBox*>(p); frame && !frame->title().isEmpty())
                return plainCaption(fromQt(frame->title()));
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && (buddy == field || field->isAncestorOf(buddy)) && !label->text().isEmpty())
            return plainCaption(fromQt(label->text())).remove(QLatin1Char(':'));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(field)) return plainCaption(fromQt(button->text()));
    return {};
}

QString ShownFile(const std::string& file) {
    QString text = toQt(file);
#ifndef _WIN32
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return text;
}

}  // namespace

CheckDialog::CheckDialog(Purpose purpose, std::function<void(const std::string&)> goTo, QWidget* parent)
    : QDialog(parent), purpose_(purpose), goTo_(std::move(goTo)), summary_(new QLabel), list_(new QTreeWidget), detail_(new QLabel) {
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(purpose == Purpose::Look ? QStringLiteral("Check") : QStringLiteral("Check before start"));
    summary_->setObjectName(QStringLiteral("CheckSummary"));
    summary_->setWordWrap(true);

    list_->setObjectName(QStringLiteral("CheckFindings"));
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Field"), QStringLiteral("What the server does")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(false);
    list_->setAlternatingRowColors(true);
    list_->header()->setStretchLastSection(true);
    list_->setToolTip(QStringLiteral("Double-click a finding, or press Enter on it, to go to its field"));
    // The whole message of the current finding, wrapped, under the list.
    detail_->setObjectName(QStringLiteral("CheckDetail"));
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detail_->setMinimumHeight(detail_->fontMetrics().lineSpacing() * 3);
    detail_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int row = item ? list_->indexOfTopLevelItem(item) : -1;
        detail_->setText(row < 0 ? QString()
                                 : toQt(check::FindingLine(findings_[static_cast<std::size_t>(row)])));
    });
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { activate(list_->indexOfTopLevelItem(item)); });

    auto* buttons = new QDialogButtonBox;
    if (purpose == Purpose::Look) {
        QPushButton* again = buttons->addButton(QStringLiteral("Check &Again"), QDialogButtonBox::ActionRole);
        again->setObjectName(QStringLiteral("CheckAgain"));
        connect(again, &QPushButton::clicked, this, [this] {
            if (recheck) setFindings(recheck());
        });
        QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    } else {
        QPushButton* start = buttons->addButton(QStringLiteral("&Start Anyway"), QDialogButtonBox::AcceptRole);
        start->setObjectName(QStringLiteral("CheckStartAnyway"));
        QPushButton* cancel = buttons->addButton(QStringLiteral("&Do Not Start"), QDialogButtonBox::RejectRole);
        cancel->setObjectName(QStringLiteral("CheckDoNotStart"));
        cancel->setDefault(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addWidget(detail_);
    layout->addWidget(buttons);
    resize(900, 420);
}

void CheckDialog::setFindings(const check::Findings& findings) {
    findings_ = findings;
    list_->clear();
    detail_->clear();
    for (const auto& f : findings) {
        // A field named by its control shows the caption on the page; a line number or a
        // description stays as the check gives it.
        QString field = toQt(f.field);
        if (f.field == f.control) {
            const QString caption = CaptionOfField(parentWidget(), f.control);
            if (!caption.isEmpty()) field = caption;
        }
        auto* item = new QTreeWidgetItem({ShownFile(f.file), field, toQt(f.message)});
        item->setToolTip(1, toQt(f.control));
        item->setToolTip(2, toQt(f.message));
        list_->addTopLevelItem(item);
    }
    for (int column : {0, 1}) {
        list_->resizeColumnToContents(column);
        list_->setColumnWidth(column, std::min(list_->columnWidth(column) + 12, 240));
    }
    if (!findings.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    // The whole message of the current finding shows under the list; with no finding there is
    // nothing to show, and no empty band is left for it.
    detail_->setVisible(!findings.empty());
    const QString count = findings.size() == 1 ? QStringLiteral("1 finding") : QStringLiteral("%1 findings").arg(findings.size());
    if (findings.empty())
        summary_->setText(QStringLiteral("Nothing found: the server will read the configuration as saved."));
    else if (purpose_ == Purpose::AskStart)
        summary_->setText(QStringLiteral("The server would misread the configuration (%1). "
                                         "Start the server anyway?").arg(count));
    else
        summary_->setText(QStringLiteral("The server would misread the configuration as it would be saved (%1). "
                                         "Saving is not blocked.").arg(count));
}

void CheckDialog::activate(int row) {
    if (row < 0 || row >= static_cast<int>(findings_.size())) return;
    const std::string& control = findings_[static_cast<std::size_t>(row)].control;
    if (control.empty() || !goTo_) return;
    // Going to a field means mending it: the window closes (asked before a start, the server
    // is not started) and the field takes the focus.
    reject();
    goTo_(control);
}

bool AskStartWithFindings(QWidget* parent, const check::Findings& findings,
                          std::function<void(const std::string&)> goTo) {
    CheckDialog dialog(CheckDialog::Purpose::AskStart, std::move(goTo), parent);
    dialog.setFindings(findings);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tolvane::ui
