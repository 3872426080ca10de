#pragma once
// The main window: eleven tabs of settings over the configuration list and the five command
// buttons. Every widget is bound to its model control in the editor; the window keeps no value
// of its own.
#include "ui/QtSetup.h"  // first: see there

#include <functional>

#include <QWidget>

#include "app/Editor.h"

class QTabWidget;
class QFormLayout;

namespace tolvane::ui {

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(app::Editor& editor, QWidget* parent = nullptr);

    // Takes the window-level state that start-up decides: the title and the tab that is off.
    void syncWindowState();

    QTabWidget* tabs() const { return tabs_; }

    // Called when the window is closed by its frame; the program ends at once, without asking.
    std::function<void()> onClosed;

    static constexpr int kBWAdmin1Tab = 8;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The editor treats selections of the configuration list as the user's only while the
    // window is on screen.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildSettingsTabs();
    QWidget* buildScriptsTab();
    QWidget* buildTeamTab();
    QWidget* buildBWAdmin1Tab();
    QWidget* buildBWAdmin2Tab();
    QWidget* buildBansTab();
    QWidget* buildButtonRow();
    QWidget* noBWAdminNotice(QWidget* parent);

    app::Editor& editor_;
    QTabWidget* tabs_;
};

}  // namespace tolvane::ui
