#include "ui/pages/PluginPages.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

QWidget* NoBWAdminNotice(Bindings& b, form::Label& model) {
    auto* notice = new QLabel;
    notice->setObjectName(QStringLiteral("NoBWAdmin"));
    notice->setWordWrap(true);
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    bindLabel(b, notice, model);
    return notice;
}

QWidget* BuildBWAdmin1Page(Bindings& b, app::MainFields& plugin) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QFormLayout* form = NewForm();
    AddComboRow(b, form, QStringLiteral("Strict Checking"), plugin.Strict);
    AddComboRow(b, form, QStringLiteral("ZBot Logging"), plugin.Logging);
    auto* fields = new QWidget;
    fields->setLayout(form);
    fields->setMaximumWidth(620);
    layout->addWidget(fields);
    layout->addWidget(NoBWAdminNotice(b, plugin.NoBWAdmin0));
    layout->addStretch(1);
    return page;
}

QWidget* BuildBWAdmin2Page(Bindings& b, app::MainFields& plugin) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NoBWAdminNotice(b, plugin.NoBWAdmin0));
    layout->addStretch(1);
    return page;
}

}  // namespace tolvane::ui
