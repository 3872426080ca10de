#include "ui/pages/PluginPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/NumericFieldWidget.h"

namespace tolvane::ui {

namespace {

QFormLayout* NewForm() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

QLabel* RowLabel(const form::Control& control, QWidget* buddy) {
    auto* label = new QLabel(toQt(control.caption()));
    label->setBuddy(buddy);
    return label;
}

void AddText(QFormLayout* form, form::TextBox& box) {
    auto* edit = new QLineEdit;
    edit->setObjectName(toQt(box.name()));
    edit->setMinimumWidth(240);
    QLabel* label = RowLabel(box, edit);
    bindTextBox(edit, box, label);
    form->addRow(label, edit);
}

void AddNumeric(QFormLayout* form, form::NumericField& field) {
    auto* widget = new NumericFieldWidget;
    widget->setObjectName(toQt(field.name()));
    QLabel* label = RowLabel(field.box, widget->lineEdit());
    widget->bind(field, label);
    form->addRow(label, widget);
}

void AddChoice(QFormLayout* form, form::ComboList& list) {
    auto* combo = new QComboBox;
    combo->setObjectName(toQt(list.name()));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QLabel* label = RowLabel(list, combo);
    bindComboList(combo, list, label);
    form->addRow(label, combo);
}

QCheckBox* NewCheck(form::CheckBox& box) {
    auto* check = new QCheckBox;
    check->setObjectName(toQt(box.name()));
    bindCheckBox(check, box);
    return check;
}

QGroupBox* CheckGroup(const char* title, std::initializer_list<form::CheckBox*> boxes) {
    auto* group = new QGroupBox(QString::fromLatin1(title));
    auto* layout = new QVBoxLayout(group);
    for (form::CheckBox* box : boxes) layout->addWidget(NewCheck(*box));
    return group;
}

// Fields on the left, frames on the right, the notice under both.
QWidget* Page(QLayout* left, QLayout* right, form::Label& notice) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout;
    auto* leftHolder = new QWidget;
    leftHolder->setLayout(left);
    leftHolder->setMaximumWidth(560);
    columns->addWidget(leftHolder, 1, Qt::AlignTop);
    columns->addSpacing(24);
    columns->addLayout(right, 1);
    layout->addLayout(columns);
    layout->addWidget(NoBWAdminNotice(notice));
    layout->addStretch(1);
    return page;
}

}  // namespace

QWidget* NoBWAdminNotice(form::Label& notice) {
    auto* label = new QLabel;
    label->setObjectName(toQt(notice.name()));
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    bindLabel(label, notice);
    return label;
}

QWidget* BuildBWAdmin1Page(plugin::PluginFields& f) {
    QFormLayout* form = NewForm();
    AddText(form, f.Admin);
    AddText(form, f.Super);
    AddChoice(form, f.Strict);
    AddChoice(form, f.Logging);
    for (form::CheckBox* box : {&f.Banner, &f.BotCheck, &f.BotKick, &f.Reload, &f.Reject_msg})
        form->addRow(NewCheck(*box));

    auto* right = new QVBoxLayout;
    right->addWidget(CheckGroup("Logging", {&f.Track_Connect, &f.Track_Disconnect, &f.Track_Renames, &f.Track_Refused}));
    right->addWidget(CheckGroup("WGet", {&f.Have_WGet, &f.Auto_Download, &f.Auto_Install, &f.Auto_Restart}));
    right->addStretch(1);
    return Page(form, right, f.NoBWAdmin[0]);
}

QWidget* BuildBWAdmin2Page(plugin::PluginFields& f) {
    QFormLayout* form = NewForm();
    AddText(form, f.DLL);
    AddText(form, f.MOTD);
    AddText(form, f.Stuff);
    for (form::NumericField* field : {&f.MaxFPS, &f.CapKick, &f.MaxRate, &f.MaxPing, &f.MinPing})
        AddNumeric(form, *field);

    auto* right = new QVBoxLayout;
    auto* flood = new QGroupBox(QStringLiteral("Flood"));
    QFormLayout* floodForm = NewForm();
    flood->setLayout(floodForm);
    for (form::NumericField* field : {&f.Flood_Lines, &f.Flood_Time, &f.Flood_Ban}) AddNumeric(floodForm, *field);
    right->addWidget(flood);
    right->addStretch(1);
    return Page(form, right, f.NoBWAdmin[1]);
}

}  // namespace tolvane::ui
