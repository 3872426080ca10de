#include "ui/NumericFieldWidget.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"

namespace tolvane::ui {

NumericFieldWidget::NumericFieldWidget(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for a five-digit value and a little more; the value is a 16-bit number.
    edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 8 + 16);
    edit_->installEventFilter(this);

    // Half the height of the line edit each, so the pair stands as tall as the text.
    const int half = (edit_->sizeHint().height() + 1) / 2;
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);  // the keyboard steps through the line edit's arrow keys
        b->setAutoRepeat(true);
        b->setFixedSize(half + 4, half);
        b->setIconSize(QSize(half - 6, half - 6));
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &NumericFieldWidget::stepUp);
    connect(down_, &QToolButton::clicked, this, &NumericFieldWidget::stepDown);

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    setFocusProxy(edit_);
}

void NumericFieldWidget::bind(Bindings& b, form::NumericField& field, QWidget* label) {
    bind(b, field.box, field.scroll, label);
}

void NumericFieldWidget::bind(Bindings& b, form::TextBox& box, form::Spinner& spinner, QWidget* label) {
    spinner_ = &spinner;
    // A number over the limit keeps its message box, with the system's text.
    bindTextBox(b, edit_, box, label, false);
    bindAppearance(b, up_, spinner);
    bindAppearance(b, down_, spinner);
}

void NumericFieldWidget::stepUp() {
    if (spinner_ && !ModelUpdate::active()) spinner_->stepUp();
}

void NumericFieldWidget::stepDown() {
    if (spinner_ && !ModelUpdate::active()) spinner_->stepDown();
}

bool NumericFieldWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress && spinner_ && spinner_->enabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tolvane::ui
