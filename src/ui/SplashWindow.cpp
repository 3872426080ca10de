#include "ui/SplashWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Editor.h"
#include "state/ShownPath.h"
#include "ui/Bindings.h"

namespace tolvane::ui {

SplashWindow::SplashWindow(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      face_(new QLabel(this)),
      progress_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Tolvane"));

    setFrameShape(QFrame::Box);
    setLineWidth(1);

    QFont faceFont = face_->font();
    faceFont.setPointSizeF(faceFont.pointSizeF() * 1.4);
    faceFont.setBold(true);
    face_->setFont(faceFont);
    face_->setText(QStringLiteral("Loading Tolvane v%1...").arg(toQt(app::VersionText())));
    face_->setAlignment(Qt::AlignCenter);
    face_->setTextFormat(Qt::PlainText);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setTextFormat(Qt::PlainText);
    progress_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 14, 24, 14);
    layout->setSpacing(6);
    layout->addWidget(face_);
    layout->addWidget(progress_);
    // A fixed width: a long progress line is shortened in its middle rather than widening the
    // window under the user's eyes.
    setFixedWidth(qMax(420, face_->sizeHint().width() + 48));
    progress_->setMinimumWidth(0);
    progress_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fitToContents();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::tick);
}

void SplashWindow::fitToContents() {
    layout()->activate();
    setFixedHeight(layout()->sizeHint().height());
}

void SplashWindow::showProgress(const QString& text) {
    progressFull_ = text;
    const int room = width() - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    progress_->setText(progress_->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    const bool appearing = progress_->isHidden();
    if (appearing) {
        progress_->show();
        fitToContents();
    }
    // The start-up does not return to the event loop until it is done: paint now. A reader
    // shows a line per archive, hundreds a second on a large install; painting each would cost
    // more than the reading, and no eye follows them. So the line is painted when it appears
    // and then at most every 40 ms, always with the latest text.
    if (!appearing && lastPaint_.isValid() && lastPaint_.elapsed() < 40) return;
    paintNow();
}

void SplashWindow::paintNow() {
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastPaint_.start();
}

void SplashWindow::hideProgress() {
    if (progress_->isHidden()) return;
    progress_->hide();
    fitToContents();
    paintNow();
}

bool SplashWindow::progressVisible() const { return !progress_->isHidden(); }

QString SplashWindow::progressText() const { return progressFull_; }

void SplashWindow::run(std::function<void()> startUp, QWidget* mainWindow) {
    startUp_ = std::move(startUp);
    mainWindow_ = mainWindow;
    // The reading begins as soon as the event loop has shown the splash; the timer then only
    // watches for the main window's end.
    QTimer::singleShot(0, this, &SplashWindow::tick);
    timer_.start(50);
}

void SplashWindow::tick() {
    // The progress display lets events through while the start-up runs; a tick that arrives
    // then must neither start it twice nor find the main window not yet shown.
    if (busy_) return;
    if (!started_) {
        busy_ = true;
        if (startUp_) startUp_();
        busy_ = false;
        started_ = true;
        hide();
        if (mainWindow_) mainWindow_->show();
        return;
    }
    if (!mainWindow_ || !mainWindow_->isVisible()) {
        timer_.stop();
        QCoreApplication::exit(0);
    }
}

// The reader names its paths as the Windows server does ("action\\maps\\*.bsp"); the line shows
// them as the host writes paths.
void SplashProgress::show(const std::string& text) { splash_.showProgress(toQt(ShownPath(text))); }

void SplashProgress::hide() { splash_.hideProgress(); }

}  // namespace tolvane::ui
