#include "ui/QtDialogs.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QtGlobal>

#include "ui/Bindings.h"

namespace tolvane::ui {

namespace {

// Passes a close by the window frame, or by the Escape key, to the model, which decides whether
// the dialog goes.
class FrameCloseFilter : public QObject {
public:
    explicit FrameCloseFilter(platform::DialogModel& model) : model_(model) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            // Not the dialog's own reject, which would hide the window whatever the model says.
            if (model_.visible()) model_.closedByFrame();
            return true;
        }
        if (event->type() == QEvent::Close) {
            if (model_.visible()) model_.closedByFrame();
            if (model_.visible()) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    platform::DialogModel& model_;
};

}  // namespace

void QtDialogs::message(const std::string& text, const std::string& title) {
    // A two-part message is joined by a carriage return; Qt breaks lines at line feeds.
    QMessageBox box(QMessageBox::NoIcon, toQt(title), toQtLines(text), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<std::size_t> QtDialogs::ask(const std::string& text, const std::string& title,
                                          const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::NoIcon, toQt(title), toQtLines(text), QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> buttons;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        // The last choice is the one that leaves things as they are: Escape presses it.
        const auto role = i + 1 == choices.size() ? QMessageBox::RejectRole : QMessageBox::ActionRole;
        buttons.push_back(box.addButton(toQt(choices[i]), role));
    }
    // Enter and Escape both press it too: a key pressed in passing never overwrites a file.
    if (!buttons.empty()) {
        box.setDefaultButton(buttons.back());
        box.setEscapeButton(buttons.back());
    }
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return i;
    return std::nullopt;
}

int InputBoxWidth(const QWidget& box, const QString& prompt) {
    // Room for the frame's icon and buttons beside the title.
    constexpr int kFrameButtons = 160;
    const QFontMetrics metrics = box.fontMetrics();
    int promptWidth = 0;
    for (const QString& line : prompt.split(QLatin1Char('\n'))) promptWidth = std::max(promptWidth, metrics.horizontalAdvance(line));
    return std::max({320, metrics.horizontalAdvance(box.windowTitle()) + kFrameButtons, promptWidth + 40});
}

std::optional<std::string> QtDialogs::input(const std::string& prompt, const std::string& title,
                                            const std::string& proposed) {
    bool ok = false;
    // The prompt's label is the buddy of the answer box, so Qt would take an "&" in it (in a
    // configuration name) as a shortcut marker and hide it; doubled, it shows as itself.
    QString label = toQtLines(prompt);
    label.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QInputDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(toQt(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(label);
    dialog.setTextValue(toQt(proposed));
    // A window frame cuts a title wider than its window ("Add M... p List"): the box is made
    // wide enough for the whole title beside the frame's own buttons, and for its prompt.
    dialog.setMinimumWidth(InputBoxWidth(dialog, label));
    ok = dialog.exec() == QDialog::Accepted;
    const QString answer = dialog.textValue();
    if (!ok || answer.isEmpty()) return std::nullopt;
    return fromQt(answer);
}

void QtDialogs::showModal(platform::DialogModel& dialog) {
    dialog.show();
    const auto found = factories_.find(std::type_index(typeid(dialog)));
    if (found == factories_.end()) {
        qWarning("no window is registered for dialog model %s", typeid(dialog).name());
        dialog.closedByFrame();
        return;
    }
    std::unique_ptr<QDialog> window = found->second(dialog, parent_);
    if (window->windowTitle().isEmpty()) window->setWindowTitle(toQt(dialog.title()));
    FrameCloseFilter closeFilter(dialog);
    window->installEventFilter(&closeFilter);
    window->setModal(true);

    // The model hides itself from inside its button handlers; once every event of a pass has
    // been handled, a hidden model ends the modal loop.
    QDialog* w = window.get();
    auto* dispatcher = QAbstractEventDispatcher::instance();
    const auto watch = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, w, [w, &dialog] {
        if (!dialog.visible() && w->isVisible()) w->done(QDialog::Accepted);
    });
    if (dialog.visible()) window->exec();
    QObject::disconnect(watch);
    window->removeEventFilter(&closeFilter);
    if (dialog.visible()) dialog.closedByFrame();
}

}  // namespace tolvane::ui
