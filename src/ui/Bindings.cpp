#include "ui/Bindings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QToolTip>
#include <QValidator>

namespace tolvane::ui {

namespace {

// Holds the Bindings of an object that has no place for them: a child, destroyed with it.
class BindingsHolder : public QObject {
public:
    explicit BindingsHolder(QObject* owner) : QObject(owner) {}
    Bindings bindings;
};

}  // namespace

Bindings& BindingsOf(QObject* owner) {
    for (QObject* child : owner->children())
        if (auto* holder = dynamic_cast<BindingsHolder*>(child)) return holder->bindings;
    return (new BindingsHolder(owner))->bindings;
}

QString toQt(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string fromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString plainCaption(const std::string& caption) {
    QString out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            // "&&" is a literal ampersand; a single "&" only marks the mnemonic.
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += QLatin1Char(caption[i]);
    }
    return out;
}

QString toQtLines(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            out += QLatin1Char('\n');
        } else {
            out += QLatin1Char(c);
        }
    }
    return out;
}

std::string fromQtLines(const QString& text) {
    const std::string flat = fromQt(text);
    std::string out;
    out.reserve(flat.size());
    for (const char c : flat) {
        if (c == '\n') out += "\r\n";
        else out += c;
    }
    return out;
}

namespace {

// Shows a widget again only when a binding (or the program) hid it: a child that was never
// hidden is shown with its parent, and a widget without a parent must not pop up as a window.
void applyVisible(QWidget* w, bool visible) {
    if (!visible) {
        w->hide();
    } else if (w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->parentWidget()) {
        w->show();
    }
}

// The caption a widget shows for a model caption: the widget's designed caption when the two
// differ only by the mnemonic marker, so that keyboard access survives the model's plain text.
QString captionWithMnemonic(const QString& current, const std::string& modelCaption) {
    const QString wanted = toQt(modelCaption);
    if (current != wanted && plainCaption(fromQt(current)) == plainCaption(modelCaption) &&
        !wanted.contains(QLatin1Char('&')))
        return current;
    return wanted;
}

}  // namespace

void bindAppearance(Bindings& b, QWidget* widget, form::Control& control, QWidget* companion) {
    QPointer<QWidget> w(widget);
    QPointer<QWidget> c(companion);
    auto apply = [w, c, &control] {
        if (!w) return;
        ModelUpdate guard;
        w->setEnabled(control.enabled());
        applyVisible(w, control.visible());
        if (!control.toolTip().empty()) w->setToolTip(toQt(control.toolTip()));
        if (c) {
            c->setEnabled(control.enabled());
            applyVisible(c, control.visible());
            if (!control.toolTip().empty()) c->setToolTip(toQt(control.toolTip()));
        }
    };
    apply();
    b.keep(control.appearanceChanged.connect(apply));
}

namespace {

// Refuses, as it is typed, a text the box's own rules refuse, so no message box breaks into the
// typing: the keystroke is dropped and the reason shows in the status line and beside the field.
class TypingRuleValidator : public QValidator {
public:
    TypingRuleValidator(QLineEdit* edit, form::TextBox& box) : QValidator(edit), edit_(edit), box_(box) {}

    State validate(QString& input, int&) const override {
        const std::string typed = fromQt(input);
        if (typed == box_.text()) return Acceptable;
        const std::string reason = box_.typingRefusal(typed);
        if (reason.empty()) return Acceptable;
        TellRefusal(edit_, toQt(reason));
        return Invalid;
    }

private:
    QLineEdit* edit_;
    form::TextBox& box_;
};

}  // namespace

void TellRefusal(QWidget* field, const QString& reason) {
    QString line = reason;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (auto* status = field->window()->findChild<QStatusBar*>()) status->showMessage(line, kRefusalShownMs);
    if (field->isVisible())
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), line, field, QRect(), kRefusalShownMs);
}

void bindTextBox(Bindings& b, QLineEdit* edit, form::TextBox& box, QWidget* label, bool refuseAsTyped) {
    if (refuseAsTyped) edit->setValidator(new TypingRuleValidator(edit, box));
    QPointer<QLineEdit> w(edit);
    auto showText = [w, &box] {
        if (!w) return;
        const QString text = toQt(box.text());
        if (w->text() == text) return;
        ModelUpdate guard;
        w->setText(text);
        w->setCursorPosition(0);  // a new text puts the caret at the start
    };
    auto showSelection = [w, &box] {
        if (!w) return;
        ModelUpdate guard;
        if (box.selLength() > 0) w->setSelection(box.selStart(), box.selLength());
        else w->setCursorPosition(box.selStart());
    };
    showText();
    if (box.selLength() > 0) showSelection();  // a selection the program made before the window
    b.keep(box.changed.connect(showText));
    b.keep(box.selectionChanged.connect(showSelection));
    b.keep(box.focusRequested.connect([w] {
        if (w) w->setFocus(Qt::OtherFocusReason);
    }));
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&box](const QString& text) {
        if (ModelUpdate::active()) return;
        box.setText(fromQt(text));
    });
    bindAppearance(b, edit, box, label);
}

void bindTextBox(Bindings& b, QPlainTextEdit* edit, form::TextBox& box, QWidget* label) {
    QPointer<QPlainTextEdit> w(edit);
    auto showText = [w, &box] {
        if (!w) return;
        const QString text = toQtLines(box.text());
        if (w->toPlainText() == text) return;
        ModelUpdate guard;
        w->setPlainText(text);
    };
    showText();
    b.keep(box.changed.connect(showText));
    b.keep(box.focusRequested.connect([w] {
        if (w) w->setFocus(Qt::OtherFocusReason);
    }));
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, &box] {
        if (ModelUpdate::active()) return;
        box.setText(fromQtLines(edit->toPlainText()));
    });
    bindAppearance(b, edit, box, label);
}

void bindCheckBox(Bindings& b, QCheckBox* check, form::CheckBox& box) {
    QPointer<QCheckBox> w(check);
    auto show = [w, &box] {
        if (!w) return;
        ModelUpdate guard;
        switch (box.value()) {
        case 0:
            w->setCheckState(Qt::Unchecked);
            w->setTristate(false);
            break;
        case 1:
            w->setCheckState(Qt::Checked);
            w->setTristate(false);
            break;
        default:
            w->setTristate(true);
            w->setCheckState(Qt::PartiallyChecked);
            break;
        }
    };
    auto showCaption = [w, &box] {
        if (w && !box.caption().empty()) w->setText(captionWithMnemonic(w->text(), box.caption()));
    };
    show();
    showCaption();
    b.keep(box.changed.connect(show));
    b.keep(box.appearanceChanged.connect(showCaption));
    QObject::connect(check, &QCheckBox::stateChanged, check, [&box](int state) {
        if (ModelUpdate::active()) return;
        box.setValue(state == Qt::Checked ? 1 : state == Qt::Unchecked ? 0 : 2);
    });
    bindAppearance(b, check, box);
}

void bindComboList(Bindings& b, QComboBox* combo, form::ComboList& list, QWidget* label) {
    QPointer<QComboBox> w(combo);
    auto showSelection = [w, &list] {
        if (!w) return;
        ModelUpdate guard;
        w->setCurrentIndex(list.selectedIndex());
    };
    auto showItems = [w, &list, showSelection] {
        if (!w) return;
        {
            ModelUpdate guard;
            w->clear();
            for (const auto& item : list.items()) w->addItem(toQt(item));
        }
        showSelection();
    };
    showItems();
    b.keep(list.changed.connect(showItems));
    b.keep(list.selected.connect(showSelection));
    // Only a user's choice: the program's selections arrive through the model.
    QObject::connect(combo, &QComboBox::activated, combo, [&list](int index) {
        if (ModelUpdate::active()) return;
        list.setSelectedIndex(index);
    });
    bindAppearance(b, combo, list, label);
}

void bindLabel(Bindings& b, QLabel* label, form::Label& model) {
    QPointer<QLabel> w(label);
    label->setTextFormat(Qt::PlainText);
    auto show = [w, &model] {
        if (!w || model.caption().empty()) return;
        // A label with a buddy handles mnemonics itself; one without shows text as it is.
        if (w->buddy()) w->setText(captionWithMnemonic(w->text(), model.caption()));
        else w->setText(toQtLines(fromQt(plainCaption(model.caption()))));
    };
    show();
    b.keep(model.appearanceChanged.connect(show));
    bindAppearance(b, label, model);
}

void bindButton(Bindings& b, QAbstractButton* button, form::Button& model) {
    QPointer<QAbstractButton> w(button);
    auto show = [w, &model] {
        if (w && !model.caption().empty()) w->setText(captionWithMnemonic(w->text(), model.caption()));
    };
    show();
    b.keep(model.appearanceChanged.connect(show));
    QObject::connect(button, &QAbstractButton::clicked, button, [&model] {
        if (ModelUpdate::active()) return;
        model.click();
    });
    bindAppearance(b, button, model);
}

}  // namespace tolvane::ui
