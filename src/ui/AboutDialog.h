#pragma once
// The About window: the program's name and version and the About text of the main window.
#include "ui/QtSetup.h"  // first: see there

#include <QDialog>

#include "form/Controls.h"

namespace tolvane::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const form::Label& aboutBox, QWidget* parent = nullptr);
};

}  // namespace tolvane::ui
