#include "ui/pages/Links.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QString>

#include "ui/Links.h"

namespace tolvane::ui {

QLabel* NewLink(const QString& name, const QString& text, const QString& url) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), text.toHtmlEscaped()));
    label->setToolTip(url);
    // Qt hands the address to the desktop's browser.
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

QWidget* TeamLinks() {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("TeamLinks"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(NewLink(QStringLiteral("HTTPThreeTeams"), QString::fromLatin1(links::kThreeTeamsText),
                              QString::fromLatin1(links::kThreeTeams)));
    layout->addStretch(1);
    return row;
}

}  // namespace tolvane::ui
