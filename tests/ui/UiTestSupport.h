#pragma once
// Helpers of the widget tests: typing and clicking as a user does, through real input events.
#include "ui/QtSetup.h"  // first: see there

#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStringList>
#include <QString>
#include <QWidget>

namespace tolvane::test {

// One key press and release on the widget, with the text the key produces.
inline void PressKey(QWidget* w, int key, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

// Types text into the widget one character at a time.
inline void Type(QWidget* w, const QString& text) {
    for (const QChar c : text) PressKey(w, c.isLetterOrNumber() ? c.toUpper().unicode() : 0, QString(c));
}

// The rows a list view shows, as its model gives them.
inline QStringList ShownRows(const QAbstractItemView* view) {
    QStringList rows;
    for (int i = 0; i < view->model()->rowCount(); ++i) rows << view->model()->index(i, 0).data().toString();
    return rows;
}

}  // namespace tolvane::test
