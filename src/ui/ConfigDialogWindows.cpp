#include "ui/ConfigDialogWindows.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "registry/ConfigDialogs.h"
#include "ui/Bindings.h"

namespace tolvane::ui {

namespace {

QLineEdit* AddField(Bindings& b, QFormLayout* form, const QString& label, form::TextBox& box) {
    auto* edit = new QLineEdit;
    // Room for a long configuration or file name.
    edit->setMinimumWidth(300);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    bindTextBox(b, edit, box, caption);
    return edit;
}

QPushButton* AddButton(Bindings& b, QHBoxLayout* row, const QString& caption, form::Button& model) {
    auto* button = new QPushButton(caption);
    row->addWidget(button);
    bindButton(b, button, model);
    return button;
}

// The confirm and cancel buttons at the foot of a dialog; Enter presses the confirm button.
void AddButtonRow(Bindings& b, QVBoxLayout* layout, const QString& confirmCaption, form::Button& confirm,
                  const QString& cancelCaption, form::Button& cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    AddButton(b, row, confirmCaption, confirm)->setDefault(true);
    AddButton(b, row, cancelCaption, cancel);
    layout->addLayout(row);
}

std::unique_ptr<QDialog> MakeDialog(const std::string& title, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(toQt(title));
    // Wide enough that a window frame shows the whole title (with room for its buttons).
    dialog->setMinimumWidth(dialog->fontMetrics().horizontalAdvance(dialog->windowTitle()) + 160);
    // Escape and the window frame go through the model (see QtDialogs), which answers as the
    // cancel button.
    return dialog;
}

std::unique_ptr<QDialog> MakeLoadWindow(registry::LoadDialog& model, QWidget* parent) {
    auto dialog = MakeDialog(model.title(), parent);
    Bindings& b = BindingsOf(dialog.get());
    auto* layout = new QVBoxLayout(dialog.get());
    auto* form = new QFormLayout;
    layout->addLayout(form);
    // The proposed name has the focus, selected (see the model), so typing replaces it.
    AddField(b, form, "&Configuration", model.ConfigName)->setFocus();
    AddField(b, form, "C&FG FILE", model.ServerCfg);
    AddField(b, form, "&INI FILE", model.ActionIni);
    AddButtonRow(b, layout, "&LOAD SETTINGS", model.ButtonLoad, "C&ANCEL LOAD", model.ButtonCancel);
    return dialog;
}

std::unique_ptr<QDialog> MakeSaveWindow(registry::SaveDialog& model, QWidget* parent) {
    auto dialog = MakeDialog(model.title(), parent);
    Bindings& b = BindingsOf(dialog.get());
    auto* layout = new QVBoxLayout(dialog.get());
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* nameRow = new QHBoxLayout;
    // The configuration's name is data, shown exactly: an "&" in it is no shortcut marker.
    auto* name = new QLabel;
    name->setTextFormat(Qt::PlainText);
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPointer<QLabel> shown(name);
    auto showName = [shown, &model] {
        if (shown) shown->setText(toQt(model.ConfigName.caption()));
    };
    showName();
    b.keep(model.ConfigName.appearanceChanged.connect(showName));
    bindAppearance(b, name, model.ConfigName);
    nameRow->addWidget(name, 1);
    auto* rename = new QPushButton("&Rename");
    // Enter confirms the dialog; it never renames.
    rename->setAutoDefault(false);
    bindButton(b, rename, model.ButtonRename);
    nameRow->addWidget(rename);
    form->addRow(new QLabel("Configuration"), nameRow);
    AddField(b, form, "C&FG FILE", model.ServerCfg)->setFocus();
    AddField(b, form, "&INI FILE", model.ActionIni);
    AddButtonRow(b, layout, "&SAVE SETTINGS", model.ButtonSave, "&CANCEL SAVE", model.ButtonCancel);
    return dialog;
}

}  // namespace

void RegisterConfigDialogs(QtDialogs& dialogs) {
    dialogs.registerDialog<registry::LoadDialog>(MakeLoadWindow);
    dialogs.registerDialog<registry::SaveDialog>(MakeSaveWindow);
}

}  // namespace tolvane::ui
