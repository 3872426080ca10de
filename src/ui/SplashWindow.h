#pragma once
// The splash window shown while the editor reads the Quake 2 directory: a face line with the
// program's name and version and, below it, the progress line of the reader at work. The
// start-up runs once the event loop has shown it; a 50 ms timer then ends the program once the
// main window is gone.
#include "ui/QtSetup.h"  // first: see there

#include <functional>

#include <QElapsedTimer>
#include <QFrame>
#include <QTimer>

#include "platform/Dialogs.h"

class QLabel;

namespace tolvane::ui {

class SplashWindow : public QFrame {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // The progress line: shown (the window grows to hold it) and painted at once, since the
    // start-up runs without returning to the event loop.
    void showProgress(const QString& text);
    void hideProgress();
    bool progressVisible() const;
    QString progressText() const;

    // startUp runs as soon as the event loop runs, while the splash is up; afterwards the splash
    // hides and mainWindow is shown. Later ticks of the timer quit the application when
    // mainWindow is no longer visible.
    void run(std::function<void()> startUp, QWidget* mainWindow);

private:
    void tick();
    void fitToContents();
    void paintNow();

    QLabel* face_;
    QLabel* progress_;
    QString progressFull_;
    QTimer timer_;
    QElapsedTimer lastPaint_;  // when the progress line was last painted
    std::function<void()> startUp_;
    QWidget* mainWindow_ = nullptr;
    bool started_ = false;
    bool busy_ = false;
};

// The core's progress display, drawn on the splash window.
class SplashProgress : public platform::Progress {
public:
    explicit SplashProgress(SplashWindow& splash) : splash_(splash) {}
    void show(const std::string& text) override;
    void hide() override;

private:
    SplashWindow& splash_;
};

}  // namespace tolvane::ui
