#include "ui/pages/PageHelpers.h"

#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"

namespace tolvane::ui {

QFormLayout* NewForm() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

QLabel* RowLabel(const std::string& caption, QWidget* buddy) {
    auto* label = new QLabel(toQt(caption));
    label->setBuddy(buddy);
    return label;
}

void AddFieldOnly(QFormLayout* form, QWidget* field) {
    const int row = form->rowCount();
    form->setWidget(row, QFormLayout::FieldRole, field);
}

QListView* NewGrid(Bindings& b, form::Grid& grid) {
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(140);
    bindGrid(b, view, grid);
    return view;
}

QWidget* CaptionedGrid(Bindings& b, const QString& caption, form::Grid& grid) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    layout->addWidget(label);
    QListView* view = NewGrid(b, grid);
    label->setBuddy(view);
    layout->addWidget(view, 1);
    return box;
}

QGroupBox* GridGroup(Bindings& b, const QString& title, form::Grid& grid) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(NewGrid(b, grid));
    return group;
}

QComboBox* NewCombo(Bindings& b, form::ComboList& list, QWidget* label) {
    auto* combo = new QComboBox;
    combo->setObjectName(toQt(list.name()));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(16);
    bindComboList(b, combo, list, label);
    return combo;
}

QPushButton* NewButton(Bindings& b, const QString& designed, form::Button& model) {
    auto* button = new QPushButton(designed);
    button->setObjectName(toQt(model.name()));
    button->setAutoDefault(false);
    bindButton(b, button, model);
    return button;
}

QComboBox* AddComboRow(Bindings& b, QFormLayout* form, const QString& caption, form::ComboList& list) {
    auto* label = new QLabel(caption);
    QComboBox* combo = NewCombo(b, list, label);
    label->setBuddy(combo);
    form->addRow(label, combo);
    return combo;
}

QWidget* HiddenUntilShown(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    auto* show = new QCheckBox(QStringLiteral("Show"));
    show->setObjectName(edit->objectName() + QStringLiteral("Show"));
    show->setToolTip(QStringLiteral("Show the password"));
    QObject::connect(show, &QCheckBox::toggled, edit, [edit](bool on) {
        edit->setEchoMode(on ? QLineEdit::Normal : QLineEdit::Password);
    });
    layout->addWidget(show);
    return row;
}

namespace {

void CollectFocusable(QLayout* layout, std::vector<QWidget*>& out) {
    if (!layout) return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            CollectFocusable(inner, out);
        } else if (QWidget* w = item->widget()) {
            if (w->focusPolicy() & Qt::TabFocus) out.push_back(w);
            else CollectFocusable(w->layout(), out);
        }
    }
}

}  // namespace

void TabInLayoutOrder(QWidget* page) {
    std::vector<QWidget*> order;
    CollectFocusable(page->layout(), order);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace tolvane::ui
