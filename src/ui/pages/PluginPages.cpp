#include "ui/pages/PluginPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/NumericFieldWidget.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

namespace {

void AddText(Bindings& b, QFormLayout* form, form::TextBox& box, bool password = false, QWidget* after = nullptr) {
    auto* edit = new QLineEdit;
    edit->setObjectName(toQt(box.name()));
    edit->setMinimumWidth(240);
    QLabel* label = RowLabel(box.caption(), edit);
    bindTextBox(b, edit, box, label);
    // The plug-in's passwords stay hidden until the operator asks to see them.
    QWidget* field = password ? HiddenUntilShown(edit) : edit;
    if (after) {
        // A button that acts on the field stands beside it.
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(field, 1);
        layout->addWidget(after);
        field = row;
    }
    form->addRow(label, field);
}

void AddNumeric(Bindings& b, QFormLayout* form, form::NumericField& field) {
    auto* widget = new NumericFieldWidget;
    widget->setObjectName(toQt(field.name()));
    QLabel* label = RowLabel(field.box.caption(), widget->lineEdit());
    widget->bind(b, field, label);
    form->addRow(label, widget);
}

void AddChoice(Bindings& b, QFormLayout* form, form::ComboList& list) {
    auto* combo = new QComboBox;
    combo->setObjectName(toQt(list.name()));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QLabel* label = RowLabel(list.caption(), combo);
    bindComboList(b, combo, list, label);
    form->addRow(label, combo);
}

QCheckBox* NewCheck(Bindings& b, form::CheckBox& box) {
    auto* check = new QCheckBox;
    check->setObjectName(toQt(box.name()));
    bindCheckBox(b, check, box);
    return check;
}

QGroupBox* CheckGroup(Bindings& b, const char* title, std::initializer_list<form::CheckBox*> boxes) {
    auto* group = new QGroupBox(QString::fromLatin1(title));
    auto* layout = new QVBoxLayout(group);
    for (form::CheckBox* box : boxes) layout->addWidget(NewCheck(b, *box));
    return group;
}

// Fields on the left, frames on the right, the notice under both.
QWidget* Page(Bindings& b, QLayout* left, QLayout* right, form::Label& notice) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout;
    auto* leftHolder = new QWidget;
    // The holder adds no margin of its own: the fields line up with the other tabs'.
    left->setContentsMargins(0, 0, 0, 0);
    leftHolder->setLayout(left);
    leftHolder->setMaximumWidth(560);
    columns->addWidget(leftHolder, 1, Qt::AlignTop);
    columns->addSpacing(24);
    columns->addLayout(right, 1);
    layout->addLayout(columns);
    layout->addWidget(NoBWAdminNotice(b, notice));
    layout->addStretch(1);
    return page;
}

}  // namespace

QWidget* NoBWAdminNotice(Bindings& b, form::Label& notice) {
    auto* label = new QLabel;
    label->setObjectName(toQt(notice.name()));
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    bindLabel(b, label, notice);
    return label;
}

QWidget* BuildBWAdmin1Page(Bindings& b, plugin::PluginFields& f) {
    QFormLayout* form = NewForm();
    AddText(b, form, f.Admin, true);
    AddText(b, form, f.Super, true);
    AddChoice(b, form, f.Strict);
    AddChoice(b, form, f.Logging);
    for (form::CheckBox* box : {&f.Banner, &f.BotCheck, &f.BotKick, &f.Reload, &f.Reject_msg})
        form->addRow(NewCheck(b, *box));

    auto* right = new QVBoxLayout;
    right->addWidget(CheckGroup(b, "Logging", {&f.Track_Connect, &f.Track_Disconnect, &f.Track_Renames, &f.Track_Refused}));
    right->addWidget(CheckGroup(b, "WGet", {&f.Have_WGet, &f.Auto_Download, &f.Auto_Install, &f.Auto_Restart}));
    right->addStretch(1);
    return Page(b, form, right, f.NoBWAdmin[0]);
}

QWidget* BuildBWAdmin2Page(Bindings& b, plugin::PluginFields& f, scripts::ScriptFields& editors) {
    QFormLayout* form = NewForm();
    AddText(b, form, f.DLL);
    AddText(b, form, f.MOTD, false, NewButton(b, QStringLiteral("Edit MOT&D"), editors.ButtonEditMOTD));
    AddText(b, form, f.Stuff, false, NewButton(b, QStringLiteral("Edit Scr&ipt"), editors.ButtonEditStuff));
    for (form::NumericField* field : {&f.MaxFPS, &f.CapKick, &f.MaxRate, &f.MaxPing, &f.MinPing})
        AddNumeric(b, form, *field);

    auto* right = new QVBoxLayout;
    auto* flood = new QGroupBox(QStringLiteral("Flood"));
    QFormLayout* floodForm = NewForm();
    flood->setLayout(floodForm);
    for (form::NumericField* field : {&f.Flood_Lines, &f.Flood_Time, &f.Flood_Ban}) AddNumeric(b, floodForm, *field);
    right->addWidget(flood);
    right->addStretch(1);
    return Page(b, form, right, f.NoBWAdmin[1]);
}

}  // namespace tolvane::ui
