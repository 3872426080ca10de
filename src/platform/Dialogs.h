#pragma once
// What the core asks of the user interface: message boxes, one-line input boxes, modal
// dialogs run over a dialog model, and the progress line of the splash window.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tolvane::platform {

// A modal dialog's model. The dialog stays up until the model hides itself.
class DialogModel {
public:
    virtual ~DialogModel() = default;
    bool visible() const { return visible_; }
    void show() { visible_ = true; }
    void hide() { visible_ = false; }
    // Called when the user closes the dialog by its window frame.
    virtual void closedByFrame() { hide(); }
    // Presses the dialog's confirming button (used by runs without a window).
    virtual void confirm() { hide(); }
    // The dialog's window title.
    virtual std::string title() const { return {}; }

private:
    bool visible_ = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal OK-only message box without an icon.
    virtual void message(const std::string& text, const std::string& title) = 0;
    // A one-line input box; nothing when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& proposed) = 0;
    // Shows the dialog modally; returns when the model is hidden.
    virtual void showModal(DialogModel& dialog) = 0;
    // A question with a button for each choice; the index of the button pressed, nothing when
    // the box was closed or there is nobody to ask. Runs without a window ask nobody, so a
    // choice that would risk an operator's file is never made for them.
    virtual std::optional<std::size_t> ask(const std::string& text, const std::string& title,
                                           const std::vector<std::string>& choices) {
        (void)text;
        (void)title;
        (void)choices;
        return std::nullopt;
    }
};

class Progress {
public:
    virtual ~Progress() = default;
    virtual void show(const std::string& text) = 0;
    virtual void hide() = 0;
};

// A progress display that shows nothing (headless runs).
class NullProgress : public Progress {
public:
    void show(const std::string&) override {}
    void hide() override {}
};

}  // namespace tolvane::platform
