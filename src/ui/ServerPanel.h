#pragma once
// The server panel under the tabs: the server START SERVER started and the editor watches, its
// program and arguments, process id, running time and state, what it prints, and what it says
// of itself when asked (map, players). STOP SERVER ends it. The panel appears with the first
// start; Hide puts it away (the server keeps running).
#include "ui/QtSetup.h"  // first: see there

#include <cstdint>
#include <future>
#include <optional>
#include <string>

#include <QWidget>

#include "app/Editor.h"
#include "server/ServerProcess.h"
#include "server/StatusQuery.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tolvane::ui {

class ElidingLabel;

class ServerPanel : public QWidget {
    Q_OBJECT
public:
    ServerPanel(app::Editor& editor, QWidget* parent = nullptr);
    ~ServerPanel() override;

    // Watches process (which outlives the panel): START SERVER goes through it from now on.
    void watch(server::ServerProcess* process);
    // One round of the timer: reads the output, notices the end, takes a status answer.
    void poll();
    // Sends the status query now (at most one at a time); the answer arrives in a later poll().
    void askStatus();
    // STOP SERVER: asks first when the last status answer had players on the server.
    void stopServer();

    QLabel* stateLabel() const { return state_; }
    QLabel* statusLabel() const { return status_; }
    QPlainTextEdit* logView() const { return log_; }
    QPushButton* stopButton() const { return stop_; }

    // How often the running server is asked for its status, and how long an answer may take.
    static constexpr int kStatusEveryMs = 5000;
    static constexpr std::chrono::milliseconds kStatusTimeout{1000};

private:
    void showState();
    void takeStatus();
    void started();

    app::Editor& editor_;
    server::ServerProcess* process_ = nullptr;
    QLabel* state_;
    ElidingLabel* command_;
    QLabel* status_;
    QPlainTextEdit* log_;
    QPushButton* stop_;
    QTimer* ticker_;
    QTimer* asker_;
    long long shownProcess_ = 0;      // the process the panel shows
    std::uint64_t shownLines_ = 0;    // the log lines of it shown so far
    std::string address_;             // where the shown process listens
    int port_ = 0;
    std::future<std::optional<server::ServerStatus>> pending_;
    std::string pendingError_;
    int lastPlayers_ = 0;
};

}  // namespace tolvane::ui
