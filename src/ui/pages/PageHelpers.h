#pragma once
// Widgets the tab pages share: form layouts, captioned rows, grids, lists and buttons, each
// made and bound to its model control in one call.
#include "ui/QtSetup.h"  // first: see there

#include <functional>
#include <initializer_list>
#include <string>

#include <QString>

#include "form/Controls.h"

class QAbstractButton;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QLabel;
class QListView;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tolvane::ui {

class Bindings;

// A two-column form: captions on the left, fields taking the rest of the width.
QFormLayout* NewForm();
// A row caption whose mnemonic moves the focus to buddy.
QLabel* RowLabel(const std::string& caption, QWidget* buddy);
// A form row with no caption: the widget stands in the field column.
void AddFieldOnly(QFormLayout* form, QWidget* field);

QListView* NewGrid(Bindings& b, form::Grid& grid);
// A grid under its caption; the caption's mnemonic reaches the grid.
QWidget* CaptionedGrid(Bindings& b, const QString& caption, form::Grid& grid);
// A grid in a frame titled title.
QGroupBox* GridGroup(Bindings& b, const QString& title, form::Grid& grid);
// The keys of a grid: Enter (or Return) and a double-click on a row run `open`, Delete presses
// `remove` and Insert presses `add`, as a click would (nothing while the button is greyed).
// Any of them may be empty.
void GridKeys(QListView* view, std::function<void()> open, QAbstractButton* remove, QAbstractButton* add = nullptr);
// The buttons between two lists (Maps, Scripts): a column at their natural width, centred in
// the height of the lists; an empty entry is a gap.
QVBoxLayout* MiddleButtons(std::initializer_list<QWidget*> buttons);
// A drop-down list; label (its row caption) follows the list's enabled and visible state.
QComboBox* NewCombo(Bindings& b, form::ComboList& list, QWidget* label = nullptr);
// A push button with its designed caption (mnemonic included); Enter never presses it.
QPushButton* NewButton(Bindings& b, const QString& designed, form::Button& model);
// A form row "caption: list" with the caption's mnemonic reaching the list.
QComboBox* AddComboRow(Bindings& b, QFormLayout* form, const QString& caption, form::ComboList& list);

// A password box that hides its text until the operator ticks "Show" beside it: the row holding
// both, for the field column of a form. The check box is named after the box plus "Show".
QWidget* HiddenUntilShown(QLineEdit* edit);

// The letter a caption's mnemonic marker ("&") stands before, upper-cased; null when none.
QChar MnemonicOf(const QString& caption);
// Gives every row caption of page (a label with a buddy) that has no mnemonic one of its own,
// and moves a repeated mnemonic of a caption, a button or a frame to a free letter, so that no
// two on the page, nor any of `taken` (the letters of the window's own buttons), share one.
// Letters that begin a word are preferred. A caption with no free letter is left as it is.
void GiveMnemonics(QWidget* page, const QString& taken);

// Sets the keyboard's tab order of page to the order of its layouts: column by column, top to
// bottom, as the eye reads it (widgets otherwise follow the order they were made in).
void TabInLayoutOrder(QWidget* page);

}  // namespace tolvane::ui
