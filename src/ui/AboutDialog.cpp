#include "ui/AboutDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include "app/Editor.h"
#include "ui/Bindings.h"

namespace tolvane::ui {

namespace {

// No licence has been granted for the program: the statement says so rather than name one.
constexpr const char* kLicence = "All rights reserved by the Tolvane developers.";
constexpr const char* kDescription =
    "Edits, in one window, the files an Action Quake 2 server and its BW-Admin plug-in read at "
    "start-up (server.cfg, action.ini, maps.lst, bw-admin.cfg, server_bans.txt and the message of "
    "the day) and starts the server with them.";

QString QtVersionText() {
    const QString running = QString::fromLatin1(qVersion());
    const QString built = QStringLiteral(QT_VERSION_STR);
    return running == built ? running : QStringLiteral("%1 (built with %2)").arg(running, built);
}

QString OperatingSystemText() { return QSysInfo::prettyProductName(); }

QString KernelText() {
    return QStringLiteral("%1 %2 (%3)").arg(QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                                            QSysInfo::currentCpuArchitecture());
}

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QString SystemInformationText(const QString& quake2Dir) {
    return QStringLiteral("Program: Tolvane %1\n").arg(toQt(app::VersionText())) +
           QStringLiteral("Qt: %1\n").arg(QtVersionText()) +
           QStringLiteral("Operating system: %1\n").arg(OperatingSystemText()) +
           QStringLiteral("Kernel: %1\n").arg(KernelText()) +
           QStringLiteral("Quake 2 directory: %1\n").arg(QDir::toNativeSeparators(QDir(quake2Dir).absolutePath()));
}

AboutDialog::AboutDialog(const form::Label& aboutBox, const QString& quake2Dir, QWidget* parent)
    : QDialog(parent), quake2Dir_(QDir(quake2Dir).absolutePath()) {
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
    QFont purposeFont = purpose->font();
    purposeFont.setItalic(true);
    purpose->setFont(purposeFont);

    // The About text opens with the name and version, which the heading already shows.
    QString text = toQtLines(fromQt(plainCaption(aboutBox.caption()))).trimmed();
    if (text.startsWith(heading)) text = text.mid(heading.size()).trimmed();

    auto* support = new QGroupBox(QStringLiteral("For a support request"), this);
    auto* facts = new QFormLayout(support);
    facts->addRow(QStringLiteral("Qt version:"), PlainLabel(QtVersionText(), support));
    facts->addRow(QStringLiteral("Operating system:"), PlainLabel(OperatingSystemText(), support));
    facts->addRow(QStringLiteral("Kernel:"), PlainLabel(KernelText(), support));
    auto* directory = PlainLabel(QDir::toNativeSeparators(quake2Dir_), support);
    directory->setObjectName(QStringLiteral("Quake2Directory"));
    facts->addRow(QStringLiteral("Quake 2 directory:"), directory);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* info = buttons->addButton(QStringLiteral("&System Information"), QDialogButtonBox::ActionRole);
    info->setObjectName(QStringLiteral("ButtonSysInfo"));
    info->setToolTip(QStringLiteral("Show the system information as text to copy into a report"));
    info->setAutoDefault(false);
    connect(info, &QPushButton::clicked, this, &AboutDialog::showSystemInformation);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(name);
    layout->addWidget(purpose);
    layout->addWidget(PlainLabel(QString::fromLatin1(kDescription), this));
    if (!text.isEmpty()) layout->addWidget(PlainLabel(text, this));
    auto* licence = PlainLabel(QString::fromLatin1(kLicence), this);
    licence->setObjectName(QStringLiteral("Licence"));
    layout->addWidget(licence);
    layout->addWidget(support);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    // A fixed width, so that the wrapped texts know their height; the height follows them.
    setFixedWidth(600);
    setFixedHeight(heightForWidth(600) > 0 ? heightForWidth(600) : sizeHint().height());
}

void AboutDialog::showSystemInformation() {
    QDialog box(this);
    box.setObjectName(QStringLiteral("SystemInformation"));
    box.setWindowTitle(QStringLiteral("System Information"));
    auto* text = new QPlainTextEdit(SystemInformationText(quake2Dir_), &box);
    text->setObjectName(QStringLiteral("SystemInformationText"));
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &box);
    auto* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("ButtonCopy"));
    connect(copy, &QPushButton::clicked, &box, [text] {
        if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text->toPlainText());
    });
    connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    box.resize(560, 220);
    text->setFocus();
    box.exec();
}

}  // namespace tolvane::ui
