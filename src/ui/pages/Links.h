#pragma once
// Link labels: a line of text that opens its web page in the system browser when clicked or,
// once it has the keyboard focus, when Enter is pressed.
#include "ui/QtSetup.h"  // first: see there

class QLabel;
class QString;
class QWidget;

namespace tolvane::ui {

// A link label named name ("HTTP" and its target) showing text and opening url.
QLabel* NewLink(const QString& name, const QString& text, const QString& url);

// The links of the "Team 2" tab, in a row.
QWidget* TeamLinks();

}  // namespace tolvane::ui
