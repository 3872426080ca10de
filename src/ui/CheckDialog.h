#pragma once
// The "Check" window: what the server would misread in the configuration as it would be saved,
// one finding a row (file, field, what the server does and how to fix it). Activating a row
// (double click or Enter) closes the window and goes to the field it names. Opened from the window's "Check" button
// to look, or by START SERVER to ask whether to start anyway.
#include "ui/QtSetup.h"  // first: see there

#include <functional>
#include <string>

#include <QDialog>

#include "check/Finding.h"

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

namespace tolvane::ui {

class CheckDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { Look, AskStart };
    // goTo: shows the control of a finding (by its name) in the main window.
    CheckDialog(Purpose purpose, std::function<void(const std::string&)> goTo, QWidget* parent = nullptr);

    void setFindings(const check::Findings& findings);
    // Runs the check again and shows its findings (the "Check Again" button).
    std::function<check::Findings()> recheck;

    QTreeWidget* list() const { return list_; }

private:
    void activate(int row);

    Purpose purpose_;
    std::function<void(const std::string&)> goTo_;
    check::Findings findings_;
    QLabel* summary_;
    QTreeWidget* list_;
    QLabel* detail_;
};

// Shows the findings once and asks whether to start the server anyway; true starts it.
bool AskStartWithFindings(QWidget* parent, const check::Findings& findings,
                          std::function<void(const std::string&)> goTo);

}  // namespace tolvane::ui
