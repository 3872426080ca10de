#pragma once
// The numeric field as one widget: a right-aligned line edit and, beside it, a spinner that
// shows only its two arrows. The arrows step the model's spinner by its small change; the
// coupling between text and spinner runs in the core through the model's change signals, so the
// widget only forwards presses and mirrors the text.
#include "ui/QtSetup.h"  // first: see there

#include <QWidget>

#include "form/Controls.h"

class QLineEdit;
class QToolButton;

namespace tolvane::ui {

class Bindings;

class NumericFieldWidget : public QWidget {
    Q_OBJECT
public:
    explicit NumericFieldWidget(QWidget* parent = nullptr);

    // Binds the widget to a numeric field; label (the form row's caption) follows the field's
    // enabled and visible state.
    void bind(Bindings& b, form::NumericField& field, QWidget* label = nullptr);
    // A text box and a spinner that are not coupled (the arrows still step the spinner).
    void bind(Bindings& b, form::TextBox& box, form::Spinner& spinner, QWidget* label = nullptr);

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stepUp();
    void stepDown();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    form::Spinner* spinner_ = nullptr;
};

}  // namespace tolvane::ui
