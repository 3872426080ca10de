#pragma once
// A one-line label that ends its text with an ellipsis when the text is wider than the label,
// and keeps the whole text in its tool tip.
#include "ui/QtSetup.h"  // first: see there

#include <QLabel>
#include <QResizeEvent>

namespace tolvane::ui {

class ElidingLabel : public QLabel {
public:
    ElidingLabel() {
        setTextFormat(Qt::PlainText);
        // The label gives way to its neighbours; the ellipsis says there is more.
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    void setFullText(const QString& text) {
        full_ = text;
        setToolTip(text);
        fit();
    }
    const QString& fullText() const { return full_; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit() {
        // Line breaks of a two-part message read as one line.
        QString line = full_;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        setText(fontMetrics().elidedText(line, Qt::ElideRight, qMax(0, contentsRect().width())));
    }
    QString full_;
};

}  // namespace tolvane::ui
