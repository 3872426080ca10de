#pragma once
// Message boxes, input boxes and modal dialogs for the core, drawn by Qt.
#include "ui/QtSetup.h"  // first: see there

#include <functional>
#include <map>
#include <memory>
#include <typeindex>

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

class QDialog;

namespace tolvane::ui {

// The width an input box needs to show its whole title (beside a window frame's buttons) and
// its prompt.
int InputBoxWidth(const QWidget& box, const QString& prompt);

class QtDialogs : public platform::Dialogs {
public:
    // Builds the window of a dialog model; the window binds its widgets to the model.
    using Factory = std::function<std::unique_ptr<QDialog>(platform::DialogModel&, QWidget* parent)>;

    // Boxes are centred on parent (the main window, once it exists).
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;
    // A question box with one button per choice; Enter and Escape press the last (the choice
    // that leaves things as they are).
    std::optional<std::size_t> ask(const std::string& text, const std::string& title,
                                   const std::vector<std::string>& choices) override;
    // Runs the window registered for the model's type until the model hides itself. Closing the
    // window by its frame asks the model (closedByFrame) rather than closing outright.
    void showModal(platform::DialogModel& dialog) override;

    template <typename Model>
    void registerDialog(std::function<std::unique_ptr<QDialog>(Model&, QWidget*)> make) {
        factories_[std::type_index(typeid(Model))] = [make](platform::DialogModel& m, QWidget* parent) {
            return make(static_cast<Model&>(m), parent);
        };
    }

private:
    QPointer<QWidget> parent_;
    std::map<std::type_index, Factory> factories_;
};

}  // namespace tolvane::ui
