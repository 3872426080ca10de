#pragma once
// The main window: eleven tabs of settings over the configuration list and the five command
// buttons. Every widget is bound to its model control in the editor; the window keeps no value
// of its own.
#include "ui/QtSetup.h"  // first: see there

#include <functional>
#include <string>

#include <QWidget>

#include "app/Editor.h"
#include "ui/Bindings.h"

class QComboBox;
class QPushButton;
class QTabWidget;

namespace tolvane::ui {

class ServerPanel;
class StatusLine;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(app::Editor& editor, QWidget* parent = nullptr);

    // Takes the window-level state that start-up decides: the title and the tab that is off.
    void syncWindowState();

    QTabWidget* tabs() const { return tabs_; }
    StatusLine* statusLine() const { return status_; }
    // The panel of the server START SERVER started; hidden until there is one.
    ServerPanel* serverPanel() const { return serverPanel_; }
    // The model connections of every widget of the window; they go with the window.
    const Bindings& bindings() const { return bindings_; }

    // Called when the window is closed by its frame; the program ends at once, without asking.
    std::function<void()> onClosed;

    static constexpr int kBWAdmin1Tab = 8;

    // Opens the "Check" window on the configuration as it would be saved.
    void showCheck();
    // Opens the "Changes" window: what SAVE SETTINGS would write now.
    void showChanges();
    // Shows the tab holding the control named `name` and gives the control the focus; false
    // when the window has no such control.
    bool goToControl(const std::string& name);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The editor treats selections of the configuration list as the user's only while the
    // window is on screen.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Keeps the wheel off the configuration list unless the list has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs();
    void addShortcuts();
    // Shows the next tab in use after the current one (by 1) or before it (by -1), wrapping.
    void stepTab(int by);
    QWidget* buildButtonRow();

    app::Editor& editor_;
    Bindings bindings_;
    QTabWidget* tabs_;
    QComboBox* configs_ = nullptr;
    StatusLine* status_ = nullptr;
    ServerPanel* serverPanel_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* about_ = nullptr;
    QPushButton* changes_ = nullptr;
};

}  // namespace tolvane::ui
