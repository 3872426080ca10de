#pragma once
// The plug-in's tabs "BW Admin 1" and "BW Admin 2", with the notice shown on them when the
// plug-in's settings file was not found.
#include "ui/QtSetup.h"  // first: see there

#include "app/MainFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildBWAdmin1Page(Bindings& b, app::MainFields& plugin);
QWidget* BuildBWAdmin2Page(Bindings& b, app::MainFields& plugin);
// The bold notice that the plug-in's files will not be saved, shown while its model is visible.
QWidget* NoBWAdminNotice(Bindings& b, form::Label& notice);

}  // namespace tolvane::ui
