#include "ui/pages/PageHelpers.h"

#include <map>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"

namespace tolvane::ui {

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

void AddFieldOnly(QFormLayout* form, QWidget* field) {
    const int row = form->rowCount();
    form->setWidget(row, QFormLayout::FieldRole, field);
}

QListView* NewGrid(Bindings& b, form::Grid& grid) {
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(140);
    bindGrid(b, view, grid);
    return view;
}

QWidget* CaptionedGrid(Bindings& b, const QString& caption, form::Grid& grid) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    layout->addWidget(label);
    QListView* view = NewGrid(b, grid);
    label->setBuddy(view);
    layout->addWidget(view, 1);
    return box;
}

QGroupBox* GridGroup(Bindings& b, const QString& title, form::Grid& grid) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(NewGrid(b, grid));
    return group;
}

namespace {

class GridKeyFilter : public QObject {
public:
    GridKeyFilter(QListView* view, std::function<void()> open, QAbstractButton* remove, QAbstractButton* add)
        : QObject(view), view_(view), open_(std::move(open)), remove_(remove), add_(add) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != view_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!open_ || !view_->currentIndex().isValid()) return false;
            open_();
            return true;
        case Qt::Key_Delete:
            return press(remove_);
        case Qt::Key_Insert:
            return press(add_);
        default:
            return false;
        }
    }

private:
    static bool press(QAbstractButton* button) {
        if (!button) return false;
        button->click();  // does nothing while the button is greyed
        return true;
    }

    QListView* view_;
    std::function<void()> open_;
    QPointer<QAbstractButton> remove_;
    QPointer<QAbstractButton> add_;
};

}  // namespace

void GridKeys(QListView* view, std::function<void()> open, QAbstractButton* remove, QAbstractButton* add) {
    view->installEventFilter(new GridKeyFilter(view, open, remove, add));
    if (open)
        QObject::connect(view, &QAbstractItemView::doubleClicked, view, [open](const QModelIndex& index) {
            if (index.isValid()) open();
        });
}

QVBoxLayout* MiddleButtons(std::initializer_list<QWidget*> buttons) {
    auto* column = new QVBoxLayout;
    column->addStretch(1);
    for (QWidget* w : buttons) {
        if (w) column->addWidget(w);
        else column->addSpacing(12);
    }
    column->addStretch(1);
    return column;
}

QComboBox* NewCombo(Bindings& b, form::ComboList& list, QWidget* label) {
    auto* combo = new QComboBox;
    combo->setObjectName(toQt(list.name()));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(16);
    bindComboList(b, combo, list, label);
    return combo;
}

QPushButton* NewButton(Bindings& b, const QString& designed, form::Button& model) {
    auto* button = new QPushButton(designed);
    button->setObjectName(toQt(model.name()));
    button->setAutoDefault(false);
    bindButton(b, button, model);
    return button;
}

QComboBox* AddComboRow(Bindings& b, QFormLayout* form, const QString& caption, form::ComboList& list) {
    auto* label = new QLabel(caption);
    QComboBox* combo = NewCombo(b, list, label);
    label->setBuddy(combo);
    form->addRow(label, combo);
    return combo;
}

QWidget* HiddenUntilShown(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    auto* show = new QCheckBox(QStringLiteral("Show"));
    show->setObjectName(edit->objectName() + QStringLiteral("Show"));
    show->setToolTip(QStringLiteral("Show the password"));
    QObject::connect(show, &QCheckBox::toggled, edit, [edit](bool on) {
        edit->setEchoMode(on ? QLineEdit::Normal : QLineEdit::Password);
    });
    layout->addWidget(show);
    return row;
}

namespace {

void CollectFocusable(QLayout* layout, std::vector<QWidget*>& out) {
    if (!layout) return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            CollectFocusable(inner, out);
        } else if (QWidget* w = item->widget()) {
            if (w->focusPolicy() & Qt::TabFocus) out.push_back(w);
            else CollectFocusable(w->layout(), out);
        }
    }
}

}  // namespace

QChar MnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

namespace {

// The caption without its mnemonic marker ("&&" stays).
QString WithoutMnemonic(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            out += caption[i];
            if (caption[i + 1] == QLatin1Char('&')) out += caption[++i];
            else out.chop(1);
            continue;
        }
        out += caption[i];
    }
    return out;
}

// The letters of a caption that could carry its mnemonic, upper-cased: those that begin a word,
// or all of them.
QString MnemonicCandidates(const QString& caption, bool wordStartsOnly) {
    const QString bare = WithoutMnemonic(caption);
    QString out;
    for (const bool wordStart : {true, false}) {
        if (!wordStart && wordStartsOnly) break;
        for (qsizetype i = 0; i < bare.size(); ++i) {
            const QChar c = bare[i];
            const bool starts = i == 0 || !bare[i - 1].isLetterOrNumber();
            if (c.isLetterOrNumber() && starts == wordStart && !out.contains(c.toUpper())) out += c.toUpper();
        }
    }
    return out;
}

// The caption with its mnemonic on letter, at a word start where the letter begins one.
QString WithMnemonicOn(const QString& caption, QChar letter) {
    const QString bare = WithoutMnemonic(caption);
    qsizetype at = -1;
    for (qsizetype i = 0; i < bare.size(); ++i) {
        if (bare[i].toUpper() != letter) continue;
        const bool starts = i == 0 || !bare[i - 1].isLetterOrNumber();
        if (at < 0 || starts) at = i;
        if (starts) break;
    }
    return bare.left(at) + QLatin1Char('&') + bare.mid(at);
}

struct CaptionedWidget {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
    bool needsOne;  // a row caption: it must have a mnemonic
};

}  // namespace

void GiveMnemonics(QWidget* page, const QString& takenByWindow) {
    std::vector<CaptionedWidget> all;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) {
            all.push_back({[label] { return label->text(); }, [label](const QString& t) { label->setText(t); }, true});
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
            all.push_back({[button] { return button->text(); }, [button](const QString& t) { button->setText(t); }, false});
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            all.push_back({[group] { return group->title(); }, [group](const QString& t) { group->setTitle(t); }, false});
        }
    }
    QString taken = takenByWindow.toUpper();
    std::vector<CaptionedWidget*> toLetter;
    for (CaptionedWidget& c : all) {
        const QChar m = MnemonicOf(c.get());
        if (m.isNull()) {
            if (c.needsOne) toLetter.push_back(&c);
        } else if (taken.contains(m)) {
            toLetter.push_back(&c);
        } else {
            taken += m;
        }
    }
    // Letters for the rest, matched so that as many as possible get one: a caption whose letters
    // are all spoken for takes one from a caption that has another choice.
    // Word starts first for every caption; the other letters only for those still without one.
    std::vector<QString> choices(toLetter.size());
    std::map<QChar, std::size_t> owner;
    std::function<bool(std::size_t, QString&)> place = [&](std::size_t w, QString& tried) {
        for (const QChar l : choices[w]) {
            if (tried.contains(l)) continue;
            tried += l;
            const auto held = owner.find(l);
            if (held == owner.end() || place(held->second, tried)) {
                owner[l] = w;
                return true;
            }
        }
        return false;
    };
    std::vector<bool> placed(toLetter.size(), false);
    for (const bool wordStartsOnly : {true, false}) {
        for (std::size_t w = 0; w < toLetter.size(); ++w) {
            choices[w].clear();
            for (const QChar l : MnemonicCandidates(toLetter[w]->get(), wordStartsOnly))
                if (!taken.contains(l)) choices[w] += l;
        }
        for (std::size_t w = 0; w < toLetter.size(); ++w) {
            if (placed[w]) continue;
            QString tried;
            placed[w] = place(w, tried);
        }
    }
    for (const auto& [letter, w] : owner) toLetter[w]->set(WithMnemonicOn(toLetter[w]->get(), letter));
}

void TabInLayoutOrder(QWidget* page) {
    std::vector<QWidget*> order;
    CollectFocusable(page->layout(), order);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace tolvane::ui
