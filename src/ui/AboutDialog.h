#pragma once
// The About window: the program's name, version and purpose, its licence, and what a support
// request needs (the Qt version, the operating system, the Quake 2 directory in use). Its
// "System Information" button shows the same facts as text to copy into a report.
#include "ui/QtSetup.h"  // first: see there

#include <QDialog>
#include <QString>

#include "form/Controls.h"

namespace tolvane::ui {

// The facts a support request needs, one "Name: value" a line.
QString SystemInformationText(const QString& quake2Dir);

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const form::Label& aboutBox, const QString& quake2Dir, QWidget* parent = nullptr);

    // Opens the box with the system information (the "System Information" button).
    void showSystemInformation();

private:
    QString quake2Dir_;
};

}  // namespace tolvane::ui
