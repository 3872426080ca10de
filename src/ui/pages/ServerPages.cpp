#include "ui/pages/ServerPages.h"

#include <algorithm>
#include <variant>
#include <vector>

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/NumericFieldWidget.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

namespace {

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

// A settings tab built from the layout table: fields without a frame in a form on the left,
// framed groups on the right (or, when every field is framed, the first frame on the left).
class SettingsPage {
public:
    SettingsPage() : page_(new QWidget), columns_(new QHBoxLayout(page_)), left_(new QVBoxLayout) {
        columns_->addLayout(left_, 1);
    }

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

    // The finished page. One column of fields keeps to a readable width at the left of the tab.
    QWidget* finish() {
        for (QVBoxLayout* column : {left_, right_}) {
            if (column && std::find(stretched_.begin(), stretched_.end(), column) == stretched_.end())
                column->addStretch(1);
        }
        if (right_) return page_;
        auto* placed = new QWidget;
        auto* holder = new QHBoxLayout(placed);
        holder->setContentsMargins(0, 0, 0, 0);
        page_->setMaximumWidth(620);
        holder->addWidget(page_, 1);
        holder->addStretch(0);
        return placed;
    }

private:
    QWidget* page_;
    QHBoxLayout* columns_;
    QVBoxLayout* left_;
    QVBoxLayout* right_ = nullptr;
    std::map<std::string, QFormLayout*> sections_;
    std::map<std::string, QGroupBox*> boxes_;
    std::vector<QVBoxLayout*> stretched_;
};

// Lays out one control of the table in form; lastRow is the row of the previous numeric field,
// for the check boxes that join it.
void AddControl(Bindings& b, QFormLayout* form, const std::string& name, const ServerControl& control, QHBoxLayout*& lastRow) {
    if (auto* const* box = std::get_if<form::TextBox*>(&control)) {
        auto* edit = new QLineEdit;
        edit->setObjectName(toQt(name));
        edit->setMinimumWidth(260);
        if ((*box)->caption().empty()) {
            bindTextBox(b, edit, **box);
            AddFieldOnly(form, edit);
        } else if (name == "Password") {
            QLabel* label = RowLabel((*box)->caption(), edit);
            bindTextBox(b, edit, **box, label);
            form->addRow(label, HiddenUntilShown(edit));
        } else {
            QLabel* label = RowLabel((*box)->caption(), edit);
            bindTextBox(b, edit, **box, label);
            form->addRow(label, edit);
        }
        lastRow = nullptr;
    } else if (auto* const* numeric = std::get_if<form::NumericField*>(&control)) {
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto* widget = new NumericFieldWidget;
        widget->setObjectName(toQt(name));
        rowLayout->addWidget(widget);
        rowLayout->addStretch(1);
        QLabel* label = RowLabel((*numeric)->box.caption(), widget->lineEdit());
        widget->bind(b, **numeric, label);
        form->addRow(label, row);
        lastRow = rowLayout;
    } else if (const auto* pair = std::get_if<LoosePair>(&control)) {
        auto* widget = new NumericFieldWidget;
        widget->setObjectName(toQt(name));
        if (pair->box->caption().empty()) {
            widget->bind(b, *pair->box, *pair->spinner);
            AddFieldOnly(form, widget);
        } else {
            auto* row = new QWidget;
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            rowLayout->addWidget(widget);
            rowLayout->addStretch(1);
            QLabel* label = RowLabel(pair->box->caption(), widget->lineEdit());
            label->setToolTip(toQt(pair->box->toolTip()));
            widget->bind(b, *pair->box, *pair->spinner, label);
            form->addRow(label, row);
        }
        lastRow = nullptr;
    } else if (auto* const* check = std::get_if<form::CheckBox*>(&control)) {
        auto* widget = new QCheckBox;
        widget->setObjectName(toQt(name));
        bindCheckBox(b, widget, **check);
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

QPlainTextEdit* NewMotdBox(Bindings& b, form::TextBox& motd) {
    auto* box = new QPlainTextEdit;
    box->setObjectName(QStringLiteral("MOTDText"));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    QFont fixed = box->font();
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFamily(QStringLiteral("monospace"));
    box->setFont(fixed);
    box->setMinimumSize(320, 180);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bindTextBox(b, box, motd);
    return box;
}

}  // namespace

std::map<std::string, QWidget*> BuildServerPages(Bindings& b, settings::ServerFields& fields, form::TextBox& commandLine,
                                                 form::TextBox& motd) {
    const auto controls = ServerControls(fields);
    const auto& places = settings::ServerFieldPlaces();

    std::map<std::string, SettingsPage> pages;
    std::map<std::string, bool> ungrouped;
    for (const auto& place : places)
        if (std::string(place.group).empty()) ungrouped[place.tab] = true;

    QHBoxLayout* lastRow = nullptr;
    QFormLayout* lastForm = nullptr;
    for (const auto& place : places) {
        const auto control = controls.find(place.name);
        if (control == controls.end()) {
            qWarning("no control called %s to lay out", place.name);
            continue;
        }
        QFormLayout* form = pages[place.tab].section(place.group, ungrouped[place.tab]);
        if (form != lastForm) lastRow = nullptr;
        lastForm = form;
        AddControl(b, form, place.name, control->second, lastRow);
    }

    if (auto found = pages.find("Server 1"); found != pages.end()) {
        QFormLayout* form = found->second.section("", true);
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("CommandLine"));
        QLabel* label = RowLabel("Command Line Options", edit);
        bindTextBox(b, edit, commandLine, label);
        form->addRow(label, edit);
    }
    if (auto found = pages.find("Server 3"); found != pages.end()) {
        const std::string group = "Message of the Day";
        found->second.section(group, false)->addRow(NewMotdBox(b, motd));
        found->second.stretch(group);
    }

    std::map<std::string, QWidget*> built;
    for (auto& [tab, page] : pages) built[tab] = page.finish();
    return built;
}

}  // namespace tolvane::ui
