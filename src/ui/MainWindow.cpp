#include "ui/MainWindow.h"

#include <algorithm>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include <QCheckBox>
#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/NumericFieldWidget.h"
#include "ui/pages/MapsPage.h"

namespace tolvane::ui {

namespace {

const char* const kTabNames[] = {"Server 1", "Server 2", "Server 3", "Maps",      "Scripts", "Game Spy",
                                 "Teams 1",  "Team 2",   "BW Admin 1", "BW Admin 2", "BW Bans"};

// A text box and a spinner that sit together without being coupled.
struct LoosePair {
    form::TextBox* box;
    form::Spinner* spinner;
};
using ServerControl = std::variant<form::TextBox*, form::CheckBox*, form::NumericField*, LoosePair>;

// The server settings by the names the layout table uses.
std::map<std::string, ServerControl> ServerControls(settings::ServerFields& f) {
    std::map<std::string, ServerControl> m;
    for (form::TextBox* t : {&f.HostName, &f.Password, &f.MasterServer1, &f.MasterServer2, &f.MasterServer3,
                             &f.MasterServer4, &f.AdminName, &f.WebSite, &f.Location, &f.Email})
        m.emplace(t->name(), t);
    for (form::CheckBox* c :
         {&f.PublicServer, &f.RotateMaps, &f.Dedicated, &f.RadioLog, &f.ShowHUD, &f.CheckUseVoice, &f.GrenadesStay,
          &f.FallDamage, &f.SameMap, &f.FriendlyFire, &f.SpawnFarthest, &f.ForceRespawn, &f.Check1, &f.SkipMOTD,
          &f.Shells, &f.AllowDownload, &f.AllowDownloadMaps, &f.AllowDownloadPlayers, &f.AllowDownloadModels,
          &f.AllowDownloadSounds, &f.AllWeapons, &f.AllItems, &f.Infrared, &f.TeamPlay, &f.Scores})
        m.emplace(c->name(), c);
    for (form::NumericField* n : f.numericFields()) m.emplace(n->name(), n);
    m.emplace("Text1", LoosePair{&f.Text1, &f.VScroll1});
    m.emplace("Text2", LoosePair{&f.Text2, &f.VScroll2});
    m.emplace("Text3", LoosePair{&f.Text3, &f.VScroll3});
    return m;
}

// Check boxes that share the row of the field before them ("All" beside a maximum), and check
// boxes that depend on the one above them and sit indented under it.
bool SharesRowWithPrevious(const std::string& name) { return name == "AllWeapons" || name == "AllItems"; }
bool IndentedUnderPrevious(const std::string& name) { return name.rfind("AllowDownload", 0) == 0 && name != "AllowDownload"; }

QFormLayout* NewForm() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    return form;
}

QLabel* RowLabel(const std::string& caption, QWidget* buddy) {
    auto* label = new QLabel(toQt(caption));
    label->setBuddy(buddy);
    return label;
}

// A form row with no label: the widget stands in the field column.
void AddFieldOnly(QFormLayout* form, QWidget* field) {
    const int row = form->rowCount();
    form->setWidget(row, QFormLayout::FieldRole, field);
}

QListView* NewGrid(form::Grid& grid) {
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(140);
    bindGrid(view, grid);
    return view;
}

// A grid under its caption; the caption's mnemonic reaches the grid.
QWidget* CaptionedGrid(const QString& caption, form::Grid& grid) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    layout->addWidget(label);
    QListView* view = NewGrid(grid);
    label->setBuddy(view);
    layout->addWidget(view, 1);
    return box;
}

QGroupBox* GridGroup(const QString& title, form::Grid& grid) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(NewGrid(grid));
    return group;
}

QComboBox* NewCombo(form::ComboList& list, QWidget* label = nullptr) {
    auto* combo = new QComboBox;
    combo->setObjectName(toQt(list.name()));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(16);
    bindComboList(combo, list, label);
    return combo;
}

QPushButton* NewButton(const QString& designed, form::Button& model) {
    auto* button = new QPushButton(designed);
    button->setObjectName(toQt(model.name()));
    button->setAutoDefault(false);
    bindButton(button, model);
    return button;
}

// A settings tab built from the layout table: fields without a frame in a form on the left,
// framed groups on the right (or, when every field is framed, the first frame on the left).
class SettingsPage {
public:
    SettingsPage() : page_(new QWidget), columns_(new QHBoxLayout(page_)), left_(new QVBoxLayout) {
        columns_->addLayout(left_, 1);
    }

    QWidget* page() const { return page_; }

    QFormLayout* section(const std::string& group, bool anyUngrouped) {
        auto found = sections_.find(group);
        if (found != sections_.end()) return found->second;
        QFormLayout* form = NewForm();
        if (group.empty()) {
            left_->addLayout(form);
        } else {
            auto* box = new QGroupBox(toQt(group));
            box->setLayout(form);
            const bool onLeft = !anyUngrouped && sections_.empty();
            if (!onLeft && !right_) {
                right_ = new QVBoxLayout;
                columns_->addLayout(right_, 1);
            }
            (onLeft ? left_ : right_)->addWidget(box);
            boxes_[group] = box;
        }
        sections_[group] = form;
        return form;
    }

    // A frame whose content takes the extra room of its column.
    void stretch(const std::string& group) {
        if (auto found = boxes_.find(group); found != boxes_.end()) {
            QVBoxLayout* column = left_->indexOf(found->second) >= 0 ? left_ : right_;
            column->setStretchFactor(found->second, 1);
            stretched_.push_back(column);
        }
    }

    void finish() {
        for (QVBoxLayout* column : {left_, right_}) {
            if (column && std::find(stretched_.begin(), stretched_.end(), column) == stretched_.end())
                column->addStretch(1);
        }
    }

    bool singleColumn() const { return right_ == nullptr; }

private:
    QWidget* page_;
    QHBoxLayout* columns_;
    QVBoxLayout* left_;
    QVBoxLayout* right_ = nullptr;
    std::map<std::string, QFormLayout*> sections_;
    std::map<std::string, QGroupBox*> boxes_;
    std::vector<QVBoxLayout*> stretched_;
};

}  // namespace

MainWindow::MainWindow(app::Editor& editor, QWidget* parent) : QWidget(parent), editor_(editor), tabs_(new QTabWidget) {
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Tolvane"));

    for (const char* name : kTabNames) {
        auto* placeholder = new QWidget;
        placeholder->setObjectName(QString::fromLatin1(name));
        tabs_->addTab(placeholder, QString::fromLatin1(name));
    }
    buildSettingsTabs();
    auto replace = [this](int index, QWidget* page) {
        QWidget* old = tabs_->widget(index);
        const QString title = tabs_->tabText(index);
        page->setObjectName(old->objectName());
        tabs_->removeTab(index);
        delete old;
        tabs_->insertTab(index, page, title);
    };
    replace(3, BuildMapsPage(editor_.mapFields));
    replace(4, buildScriptsTab());
    replace(7, buildTeamTab());
    replace(8, buildBWAdmin1Tab());
    replace(9, buildBWAdmin2Tab());
    replace(10, buildBansTab());
    tabs_->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buildButtonRow());

    // Open at a size that shows every tab whole, inside a small laptop screen.
    QSize size = sizeHint().expandedTo(QSize(900, 600));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() - QSize(40, 60);
        size = size.boundedTo(room);
    }
    resize(size);
    syncWindowState();
}

void MainWindow::syncWindowState() {
    if (!editor_.main.windowTitle.empty()) setWindowTitle(toQt(editor_.main.windowTitle));
    tabs_->setTabEnabled(kBWAdmin1Tab, editor_.main.bwAdmin1TabEnabled);
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

void MainWindow::buildSettingsTabs() {
    settings::ServerFields& fields = editor_.server;
    const auto controls = ServerControls(fields);
    const auto& places = settings::ServerFieldPlaces();

    std::map<std::string, SettingsPage> pages;
    std::map<std::string, bool> ungrouped;
    for (const auto& place : places)
        if (std::string(place.group).empty()) ungrouped[place.tab] = true;

    // The previous field's row, for the check boxes that join it.
    QHBoxLayout* lastRow = nullptr;
    QFormLayout* lastForm = nullptr;
    for (const auto& place : places) {
        const std::string name = place.name;
        const auto control = controls.find(name);
        if (control == controls.end()) {
            qWarning("no control called %s to lay out", place.name);
            continue;
        }
        SettingsPage& page = pages[place.tab];
        QFormLayout* form = page.section(place.group, ungrouped[place.tab]);
        if (form != lastForm) lastRow = nullptr;
        lastForm = form;

        if (auto* const* box = std::get_if<form::TextBox*>(&control->second)) {
            auto* edit = new QLineEdit;
            edit->setObjectName(toQt(name));
            edit->setMinimumWidth(260);
            if ((*box)->caption().empty()) {
                bindTextBox(edit, **box);
                AddFieldOnly(form, edit);
            } else {
                QLabel* label = RowLabel((*box)->caption(), edit);
                bindTextBox(edit, **box, label);
                form->addRow(label, edit);
            }
            lastRow = nullptr;
        } else if (auto* const* numeric = std::get_if<form::NumericField*>(&control->second)) {
            auto* row = new QWidget;
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            auto* widget = new NumericFieldWidget;
            widget->setObjectName(toQt(name));
            rowLayout->addWidget(widget);
            rowLayout->addStretch(1);
            QLabel* label = RowLabel((*numeric)->box.caption(), widget->lineEdit());
            widget->bind(**numeric, label);
            form->addRow(label, row);
            lastRow = rowLayout;
        } else if (const auto* pair = std::get_if<LoosePair>(&control->second)) {
            auto* widget = new NumericFieldWidget;
            widget->setObjectName(toQt(name));
            widget->bind(*pair->box, *pair->spinner);
            AddFieldOnly(form, widget);
            lastRow = nullptr;
        } else if (auto* const* check = std::get_if<form::CheckBox*>(&control->second)) {
            auto* widget = new QCheckBox;
            widget->setObjectName(toQt(name));
            bindCheckBox(widget, **check);
            if (SharesRowWithPrevious(name) && lastRow) {
                // Beside the field, before the row's free room.
                lastRow->insertWidget(lastRow->count() - 1, widget);
            } else if (IndentedUnderPrevious(name)) {
                auto* holder = new QWidget;
                auto* indent = new QHBoxLayout(holder);
                indent->setContentsMargins(22, 0, 0, 0);
                indent->addWidget(widget);
                form->addRow(holder);
                lastRow = nullptr;
            } else {
                form->addRow(widget);
                lastRow = nullptr;
            }
        }
    }

    // Controls of the application shell that live on these tabs.
    if (auto found = pages.find("Server 1"); found != pages.end()) {
        QFormLayout* form = found->second.section("", true);
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("CommandLine"));
        QLabel* label = RowLabel("Command Line Options", edit);
        bindTextBox(edit, editor_.main.CommandLine, label);
        form->addRow(label, edit);
    }
    if (auto found = pages.find("Server 3"); found != pages.end()) {
        const std::string group = "Message of the Day";
        QFormLayout* form = found->second.section(group, false);
        auto* motd = new QPlainTextEdit;
        motd->setObjectName(QStringLiteral("MOTDText"));
        motd->setLineWrapMode(QPlainTextEdit::NoWrap);
        motd->setTabChangesFocus(true);
        QFont fixed = motd->font();
        fixed.setStyleHint(QFont::Monospace);
        fixed.setFamily(QStringLiteral("monospace"));
        motd->setFont(fixed);
        motd->setMinimumSize(320, 180);
        motd->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        bindTextBox(motd, editor_.main.MOTDText);
        form->addRow(motd);
        found->second.stretch(group);
    }

    for (int index = 0; index < tabs_->count(); ++index) {
        const std::string tab = kTabNames[index];
        auto found = pages.find(tab);
        if (found == pages.end()) continue;
        SettingsPage& page = found->second;
        page.finish();
        QWidget* content = page.page();
        QWidget* placed = content;
        if (page.singleColumn()) {
            // One column of fields: keep it to a readable width at the left of the tab.
            placed = new QWidget;
            auto* holder = new QHBoxLayout(placed);
            holder->setContentsMargins(0, 0, 0, 0);
            content->setMaximumWidth(620);
            holder->addWidget(content, 1);
            holder->addStretch(0);
        }
        QWidget* old = tabs_->widget(index);
        placed->setObjectName(old->objectName());
        tabs_->removeTab(index);
        delete old;
        tabs_->insertTab(index, placed, toQt(tab));
    }
}

QWidget* MainWindow::buildScriptsTab() {
    app::MainFields& m = editor_.main;
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* scripting = new QGroupBox(QStringLiteral("Advanced Scripting"));
    auto* grids = new QHBoxLayout(scripting);
    QWidget* run = CaptionedGrid(QStringLiteral("Scripts to Execute"), m.ScriptList);
    QWidget* available = CaptionedGrid(QStringLiteral("Scripts Available"), m.ScriptDir);
    run->setToolTip(QStringLiteral("Scripts to execute prior to the server.cfg to set up other options"));
    available->setToolTip(
        QStringLiteral("Scripts available to be able to execute within the action directory"));
    grids->addWidget(run, 1);
    grids->addWidget(available, 1);
    layout->addWidget(scripting, 1);
    return page;
}

QWidget* MainWindow::buildTeamTab() {
    app::MainFields& m = editor_.main;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* teams = new QHBoxLayout;
    form::ComboList* models[] = {&m.Team1Model, &m.Team2Model, &m.Team3Model};
    form::Button* viewers[] = {&m.Team1Viewer, &m.Team2Viewer, &m.Team3Viewer};
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(QStringLiteral("Team #%1").arg(i + 1));
        QFormLayout* form = NewForm();
        group->setLayout(form);
        auto* label = new QLabel(QStringLiteral("Model"));
        QComboBox* combo = NewCombo(*models[i], label);
        label->setBuddy(combo);
        form->addRow(label, combo);
        QPushButton* viewer = NewButton(QString(), *viewers[i]);
        form->addRow(QString(), viewer);
        teams->addWidget(group, 1);
    }
    layout->addLayout(teams);
    auto* help = new QLabel;
    help->setObjectName(QStringLiteral("SkinViewHelp"));
    help->setWordWrap(true);
    bindLabel(help, m.SkinViewHelp);
    layout->addWidget(help);
    layout->addStretch(1);
    return page;
}

QWidget* MainWindow::noBWAdminNotice(QWidget* parent) {
    auto* notice = new QLabel(parent);
    notice->setObjectName(QStringLiteral("NoBWAdmin"));
    notice->setWordWrap(true);
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    bindLabel(notice, editor_.main.NoBWAdmin0);
    return notice;
}

QWidget* MainWindow::buildBWAdmin1Tab() {
    app::MainFields& m = editor_.main;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QFormLayout* form = NewForm();
    auto* strictLabel = new QLabel(QStringLiteral("Strict Checking"));
    QComboBox* strict = NewCombo(m.Strict, strictLabel);
    strictLabel->setBuddy(strict);
    form->addRow(strictLabel, strict);
    auto* loggingLabel = new QLabel(QStringLiteral("ZBot Logging"));
    QComboBox* logging = NewCombo(m.Logging, loggingLabel);
    loggingLabel->setBuddy(logging);
    form->addRow(loggingLabel, logging);
    auto* fields = new QWidget;
    fields->setLayout(form);
    fields->setMaximumWidth(620);
    layout->addWidget(fields);
    layout->addWidget(noBWAdminNotice(page));
    layout->addStretch(1);
    return page;
}

QWidget* MainWindow::buildBWAdmin2Tab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(noBWAdminNotice(page));
    layout->addStretch(1);
    return page;
}

QWidget* MainWindow::buildBansTab() {
    app::MainFields& m = editor_.main;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->addWidget(GridGroup(QStringLiteral("IP Bans"), m.IPBans), 0, 0);
    grid->addWidget(GridGroup(QStringLiteral("Name Bans"), m.NameBans), 0, 1);
    grid->addWidget(GridGroup(QStringLiteral("Filtered Text"), m.FilterBans), 1, 0);
    grid->addWidget(GridGroup(QStringLiteral("Name @IP Bans"), m.AliasBans), 1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(noBWAdminNotice(page));
    return page;
}

QWidget* MainWindow::buildButtonRow() {
    app::MainFields& m = editor_.main;
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QComboBox* configs = NewCombo(m.ConfigNameList);
    configs->setMinimumContentsLength(20);
    layout->addWidget(configs);
    layout->addStretch(1);
    layout->addWidget(NewButton(QStringLiteral("&NEW CONFIG"), m.ButtonLoad));
    layout->addWidget(NewButton(QStringLiteral("&SAVE SETTINGS"), m.ButtonSave));
    layout->addWidget(NewButton(QStringLiteral("S&TART SERVER"), m.ButtonStart));
    layout->addWidget(NewButton(QStringLiteral("&CANCEL CONFIG"), m.ButtonCancel));
    layout->addWidget(NewButton(QStringLiteral("&About"), m.ButtonAbout));
    return row;
}

}  // namespace tolvane::ui
