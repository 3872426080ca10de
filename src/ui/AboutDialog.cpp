#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Editor.h"
#include "ui/Bindings.h"

namespace tolvane::ui {

AboutDialog::AboutDialog(const form::Label& aboutBox, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tolvane"));

    const QString heading = QStringLiteral("Tolvane v%1").arg(toQt(app::VersionText()));
    auto* name = new QLabel(heading, this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setTextFormat(Qt::PlainText);

    auto* purpose = new QLabel(QStringLiteral("The Quickest Configuration Editor for Action Quake"), this);
    purpose->setTextFormat(Qt::PlainText);

    // The About text opens with the name and version, which the heading already shows.
    QString text = toQtLines(fromQt(plainCaption(aboutBox.caption()))).trimmed();
    if (text.startsWith(heading)) text = text.mid(heading.size()).trimmed();
    auto* body = new QLabel(text, this);
    body->setTextFormat(Qt::PlainText);
    body->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(name);
    layout->addWidget(purpose);
    layout->addWidget(body);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tolvane::ui
