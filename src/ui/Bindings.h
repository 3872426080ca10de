#pragma once
// Binding of Qt widgets to the control model. The model holds every value; a widget only shows
// it. A change of the model, by the user or by the program, repaints the widget; a user's edit
// of the widget sets the model through the same setters the program uses, so every change
// handler of the core runs exactly as it would for a reader.
//
// One guard breaks every feedback loop: while a binding writes a model value into a widget, the
// widget's own change signals are not passed back to the model.
//
// The widget must outlive nothing: a binding holds the widget by QPointer and goes quiet once
// the widget is destroyed. Every handler a binding puts on a model is kept in the Bindings of
// the window it belongs to, and taken off when those are destroyed with the window, so a
// dialog opened many times leaves no handlers behind. The model must outlive the Bindings.
#include "ui/QtSetup.h"  // first: see there

#include <string>
#include <vector>

#include <QString>

#include "form/Controls.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QObject;
class QWidget;

namespace tolvane::ui {

// The model connections made by the bindings of one window.
class Bindings {
public:
    Bindings() = default;
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    void keep(form::Connection connection) { connections_.push_back(std::move(connection)); }
    std::size_t size() const { return connections_.size(); }

private:
    std::vector<form::Connection> connections_;
};

// The Bindings that live as long as owner (a dialog made on the fly, say): made on first use,
// destroyed with owner.
Bindings& BindingsOf(QObject* owner);

// Set while a binding copies model state into widgets. Widget change signals seen while it is
// set come from the program, not the user, and are not passed back to the model.
class ModelUpdate {
public:
    ModelUpdate() { ++depth_; }
    ~ModelUpdate() { --depth_; }
    ModelUpdate(const ModelUpdate&) = delete;
    ModelUpdate& operator=(const ModelUpdate&) = delete;
    static bool active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};

// 8-bit text of the model <-> Qt text. Latin-1 maps every byte to one character and back.
QString toQt(const std::string& bytes);
std::string fromQt(const QString& text);

// A caption as the windows write it ("&" marks the mnemonic, "&&" is one "&") turned into
// the plain text a label without a buddy shows.
QString plainCaption(const std::string& caption);
// Multi-line text of the model (lines ended by CR LF, a lone CR or LF) for a Qt widget, and back
// (lines ended by CR LF, as the windows' text boxes keep them).
QString toQtLines(const std::string& bytes);
std::string fromQtLines(const QString& text);

// The widget mirrors the control's enabled and visible state and its tool tip. Companions (the
// label of a form row, say) follow its enabled and visible state as well.
void bindAppearance(Bindings& b, QWidget* widget, form::Control& control, QWidget* companion = nullptr);

// Single-line text box: the text, the selection and focus requests from the model; the user's
// typing to the model. With refuseAsTyped, a keystroke the box's typing rules refuse is dropped
// and the reason told by TellRefusal, before the model sees it.
void bindTextBox(Bindings& b, QLineEdit* edit, form::TextBox& box, QWidget* label = nullptr, bool refuseAsTyped = true);

// How long a refusal stays in the status line and beside its field.
inline constexpr int kRefusalShownMs = 8000;
// Says why an input was refused: in the status line of the field's window, and in a tip under
// the field. Line breaks of a two-part message become blanks.
void TellRefusal(QWidget* field, const QString& reason);
// Multi-line text box (line ends converted both ways).
void bindTextBox(Bindings& b, QPlainTextEdit* edit, form::TextBox& box, QWidget* label = nullptr);

// Check box: 0 clear, 1 ticked, 2 greyed. The greyed state is shown only while the model holds
// it; a click on a greyed box ticks it and the user cannot grey it again.
void bindCheckBox(Bindings& b, QCheckBox* check, form::CheckBox& box);

// Drop-down list: the items and the selection from the model; the user's choice selects in
// the model (which fires its selection handlers, as a click does).
void bindComboList(Bindings& b, QComboBox* combo, form::ComboList& list, QWidget* label = nullptr);

// One-column grid: the rows and the current row both ways. The binding gives the view its
// item model, which reads the rows from the grid. With pickSeveral, rows picked together in the
// view are the grid's picked rows. A filter box narrows what the view shows to the rows holding
// its text (ignoring case); the grid keeps every row.
struct GridViewOptions {
    bool pickSeveral = false;
    QLineEdit* filter = nullptr;
};
void bindGrid(Bindings& b, QListView* view, form::Grid& grid, QWidget* label = nullptr, GridViewOptions options = {});

// Labels and buttons: caption, enabled, visible and tool tip; a button click presses the
// model's button. A model caption that equals the widget's own caption less its mnemonic
// marker keeps the widget's mnemonic ("SAVE SETTINGS" shows as "&SAVE SETTINGS").
void bindLabel(Bindings& b, QLabel* label, form::Label& model);
void bindButton(Bindings& b, QAbstractButton* button, form::Button& model);

}  // namespace tolvane::ui
