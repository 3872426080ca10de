#include "ui/MainWindow.h"

#include <map>
#include <string>

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "plugin/BanEditing.h"
#include "ui/Bindings.h"
#include "ui/ChangesDialog.h"
#include "ui/CheckDialog.h"
#include "ui/ServerPanel.h"
#include "ui/StatusLine.h"
#include "ui/pages/BansPage.h"
#include "ui/pages/MapsPage.h"
#include "ui/pages/PageHelpers.h"
#include "ui/pages/PluginPages.h"
#include "ui/pages/ScriptsPage.h"
#include "ui/pages/ServerPages.h"
#include "ui/pages/TeamsPage.h"

namespace tolvane::ui {

MainWindow::MainWindow(app::Editor& editor, QWidget* parent) : QWidget(parent), editor_(editor), tabs_(new QTabWidget) {
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Tolvane"));

    buildTabs();
    tabs_->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    serverPanel_ = new ServerPanel(editor_);
    layout->addWidget(serverPanel_);
    QWidget* buttonRow = buildButtonRow();
    layout->addWidget(buttonRow);
    // Every page's captions get letters of their own, clear of the buttons under the tabs.
    QString rowLetters;
    for (auto* button : buttonRow->findChildren<QPushButton*>()) rowLetters += MnemonicOf(button->text());
    for (auto* button : serverPanel_->findChildren<QPushButton*>()) rowLetters += MnemonicOf(button->text());
    for (int i = 0; i < tabs_->count(); ++i) GiveMnemonics(tabs_->widget(i), rowLetters);
    status_ = new StatusLine(editor_, bindings_);
    layout->addWidget(status_);

    // Open at a size that shows every tab whole, inside a small laptop screen.
    QSize size = sizeHint().expandedTo(QSize(900, 600));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() - QSize(40, 60);
        size = size.boundedTo(room);
    }
    resize(size);
    syncWindowState();
    addShortcuts();

    // START SERVER with findings asks once whether to start anyway.
    QPointer<MainWindow> self(this);
    editor_.confirmStartWithFindings = [self](const check::Findings& findings) {
        if (!self) return true;
        return AskStartWithFindings(self, findings, [self](const std::string& name) {
            if (self) self->goToControl(name);
        });
    };
}

// Keys of the whole window: Ctrl+S saves, F1 opens the About window, Ctrl+D the Changes
// window, Ctrl+PageDown and Ctrl+PageUp step through the tabs that are in use.
void MainWindow::addShortcuts() {
    auto press = [this](const QKeySequence& keys, QPushButton* button) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    };
    press(QKeySequence::Save, save_);
    press(QKeySequence(Qt::Key_F1), about_);
    press(QKeySequence(Qt::CTRL | Qt::Key_D), changes_);
    auto step = [this](const QKeySequence& keys, int by) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, by] { stepTab(by); });
    };
    step(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    step(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

void MainWindow::stepTab(int by) {
    const int count = tabs_->count();
    int i = tabs_->currentIndex();
    for (int n = 0; n < count; ++n) {
        i = (i + by + count) % count;
        if (tabs_->isTabEnabled(i)) {
            tabs_->setCurrentIndex(i);
            return;
        }
    }
}

void MainWindow::showCheck() {
    CheckDialog dialog(CheckDialog::Purpose::Look, [this](const std::string& name) { goToControl(name); }, this);
    dialog.recheck = [this] { return editor_.Check(); };
    dialog.setFindings(editor_.Check());
    dialog.exec();
}

void MainWindow::showChanges() {
    ChangesDialog dialog([this] { return editor_.PreviewChanges(); }, this);
    dialog.exec();
}

bool MainWindow::goToControl(const std::string& name) {
    auto* widget = tabs_->findChild<QWidget*>(toQt(name));
    if (!widget) return false;
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->widget(i)->isAncestorOf(widget)) {
            tabs_->setCurrentIndex(i);
            break;
        }
    }
    activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    return true;
}

void MainWindow::syncWindowState() {
    if (!editor_.main.windowTitle.empty()) setWindowTitle(toQt(editor_.main.windowTitle));
    tabs_->setTabEnabled(kBWAdmin1Tab, editor_.main.bwAdmin1TabEnabled);
    // A greyed tab says why.
    QString why;
    if (!editor_.main.bwAdmin1TabEnabled)
        why = editor_.plugin.NoBWAdmin[0].visible()
                  ? QStringLiteral("Switched off: no bw-admin.cfg was found in %1 or the Quake 2 directory, so the "
                                   "BW-Admin plug-in is not installed here").arg(toQt(editor_.state.strModDir))
                  : QStringLiteral("Switched off in this editor: its settings are still read from bw-admin.cfg and "
                                   "saved to it unchanged");
    tabs_->setTabToolTip(kBWAdmin1Tab, why);
    status_->refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Turning the wheel over the list while working elsewhere in the window must not switch
    // configuration; once the operator has clicked or tabbed into the list, the wheel picks.
    if (watched == configs_ && event->type() == QEvent::Wheel && !configs_->hasFocus()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    editor_.mainWindowVisible = true;
}

void MainWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    editor_.mainWindowVisible = false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) onClosed();
}

// The eleven tabs in their order. Each page is built by its own file from the fields of the
// subsystem it shows.
void MainWindow::buildTabs() {
    app::Editor& e = editor_;
    Bindings& b = bindings_;
    std::map<std::string, QWidget*> server = BuildServerPages(b, e.server, e.main.CommandLine, e.main.MOTDText);
    auto serverPage = [&server](const char* tab) -> QWidget* {
        auto found = server.find(tab);
        return found != server.end() ? found->second : new QWidget;
    };
    const std::pair<const char*, QWidget*> pages[] = {
        {"Server 1", serverPage("Server 1")},
        {"Server 2", serverPage("Server 2")},
        {"Server 3", serverPage("Server 3")},
        {"Maps", BuildMapsPage(b, e.mapFields)},
        {"Scripts", BuildScriptsPage(b, e.scripts)},
        {"Game Spy", serverPage("Game Spy")},
        {"Teams 1", serverPage("Teams 1")},
        {"Team 2", BuildTeamPage(b, e.teams)},
        {"BW Admin 1", BuildBWAdmin1Page(b, e.plugin)},
        {"BW Admin 2", BuildBWAdmin2Page(b, e.plugin, e.scripts)},
        {"BW Bans", BuildBansPage(b, e.plugin, [&e](form::Grid& grid) {
             plugin::EditCurrentBan(e.ctx, e.plugin, e.frmBans, grid);
         })},
    };
    for (const auto& [name, page] : pages) {
        page->setObjectName(QString::fromLatin1(name));
        TabInLayoutOrder(page);
        tabs_->addTab(page, QString::fromLatin1(name));
    }
}

QWidget* MainWindow::buildButtonRow() {
    app::MainFields& m = editor_.main;
    Bindings& b = bindings_;
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Configuration"));
    configs_ = NewCombo(b, m.ConfigNameList, caption);
    caption->setBuddy(configs_);
    configs_->setMinimumContentsLength(20);
    configs_->setFocusPolicy(Qt::StrongFocus);  // the wheel alone does not take the focus
    configs_->installEventFilter(this);
    layout->addWidget(caption);
    layout->addWidget(configs_);
    layout->addStretch(1);
    layout->addWidget(NewButton(b, QStringLiteral("&NEW CONFIG"), m.ButtonLoad));
    save_ = NewButton(b, QStringLiteral("&SAVE SETTINGS"), m.ButtonSave);
    layout->addWidget(save_);
    layout->addWidget(NewButton(b, QStringLiteral("S&TART SERVER"), m.ButtonStart));
    auto* check = new QPushButton(QStringLiteral("Chec&k"));
    check->setObjectName(QStringLiteral("ButtonCheck"));
    check->setToolTip(QStringLiteral("List what the server would misread in the configuration as it would be saved"));
    check->setAutoDefault(false);
    connect(check, &QPushButton::clicked, this, &MainWindow::showCheck);
    layout->addWidget(check);
    changes_ = new QPushButton(QStringLiteral("Chan&ges"));
    changes_->setObjectName(QStringLiteral("ButtonChanges"));
    changes_->setToolTip(QStringLiteral("Show what SAVE SETTINGS would change in each file, without writing anything (Ctrl+D)"));
    changes_->setAutoDefault(false);
    connect(changes_, &QPushButton::clicked, this, &MainWindow::showChanges);
    layout->addWidget(changes_);
    layout->addWidget(NewButton(b, QStringLiteral("&CANCEL CONFIG"), m.ButtonCancel));
    about_ = NewButton(b, QStringLiteral("&About"), m.ButtonAbout);
    layout->addWidget(about_);
    return row;
}

}  // namespace tolvane::ui
