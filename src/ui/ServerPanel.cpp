#include "ui/ServerPanel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/ElidingLabel.h"

namespace tolvane::ui {

namespace {

constexpr int kPollMs = 100;

// "Map: harbor; 2 of 16 players: Alice (score 12, ping 50), Bob (score 3, ping 80)"
std::string StatusText(const server::ServerStatus& s) {
    std::string text = "Map: " + (s.mapName.empty() ? std::string("(none)") : s.mapName) + "; ";
    const std::string max = s.value("maxclients").value_or("");
    text += std::to_string(s.players.size()) + (max.empty() ? "" : " of " + max) +
            (s.players.size() == 1 && max.empty() ? " player" : " players");
    for (std::size_t i = 0; i < s.players.size(); ++i) {
        const auto& p = s.players[i];
        text += (i == 0 ? ": " : ", ") + server::PlainName(p.name) + " (score " + std::to_string(p.score) +
                ", ping " + std::to_string(p.ping) + ")";
    }
    if (s.truncated) text += " (the answer was cut short)";
    return text;
}

}  // namespace

ServerPanel::ServerPanel(app::Editor& editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      state_(new QLabel),
      command_(new ElidingLabel),
      status_(new QLabel),
      log_(new QPlainTextEdit),
      // Alt+V, kept off every tab's captions as the window's buttons are.
      stop_(new QPushButton(QStringLiteral("STOP SER&VER"))),
      ticker_(new QTimer(this)),
      asker_(new QTimer(this)) {
    setObjectName(QStringLiteral("ServerPanel"));
    state_->setObjectName(QStringLiteral("ServerState"));
    command_->setObjectName(QStringLiteral("ServerCommand"));
    status_->setObjectName(QStringLiteral("ServerStatus"));
    log_->setObjectName(QStringLiteral("ServerLog"));
    stop_->setObjectName(QStringLiteral("ButtonStop"));
    stop_->setAutoDefault(false);
    stop_->setToolTip(QStringLiteral("End the server this editor started (it is asked to end, and stopped "
                                     "outright if it has not within 5 seconds)"));
    auto* hide = new QPushButton(QStringLiteral("Hide"));
    hide->setObjectName(QStringLiteral("ServerPanelHide"));
    hide->setAutoDefault(false);
    hide->setToolTip(QStringLiteral("Put the panel away; the server keeps running"));

    QFont bold = state_->font();
    bold.setBold(true);
    state_->setFont(bold);
    state_->setTextFormat(Qt::PlainText);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(static_cast<int>(server::ServerLog::kDefaultMaxLines));
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setFixedHeight(log_->fontMetrics().lineSpacing() * 8 + 12);

    auto* header = new QHBoxLayout;
    header->addWidget(state_);
    header->addWidget(command_, 1);
    header->addWidget(stop_);
    header->addWidget(hide);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(header);
    layout->addWidget(status_);
    layout->addWidget(log_);

    connect(stop_, &QPushButton::clicked, this, &ServerPanel::stopServer);
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
    connect(ticker_, &QTimer::timeout, this, &ServerPanel::poll);
    connect(asker_, &QTimer::timeout, this, &ServerPanel::askStatus);
    setVisible(false);
}

ServerPanel::~ServerPanel() {
    // A status query still out takes at most its timeout to come back.
    if (pending_.valid()) pending_.wait();
}

void ServerPanel::watch(server::ServerProcess* process) {
    process_ = process;
    editor_.supervisedServer = process;
    ticker_->start(kPollMs);
    asker_->start(kStatusEveryMs);
    if (!server::ServerProcess::capturesOutput())
        log_->setPlaceholderText(QStringLiteral("quake2.exe shows what it prints in its own console window."));
}

void ServerPanel::started() {
    // The log goes on across restarts: the process puts a line of its own between two runs.
    shownProcess_ = process_->processId();
    // The program file that runs and the arguments it was given after its own name; the port
    // and address are those of the configuration at the start.
    const std::vector<std::string> args = platform::SplitCommandLine(editor_.ServerCommandLine());
    std::string command = process_->program().string();
    for (std::size_t i = 1; i < args.size(); ++i) command += " " + args[i];
    command_->setFullText(toQt(command));
    address_ = editor_.ServerAddress();
    port_ = editor_.ServerPort();
    lastPlayers_ = 0;
    status_->setText(QStringLiteral("Asking the server for its status..."));
    show();
    askStatus();
}

void ServerPanel::poll() {
    if (!process_) return;
    process_->poll();
    if (process_->processId() != shownProcess_ && process_->processId() > 0) started();
    // The lines that came since the last round (all of the last ones kept, after a burst).
    const server::ServerLog& log = process_->log();
    const std::uint64_t fresh = log.lineCount() - shownLines_;
    if (fresh > 0) {
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(fresh, log.lines().size()));
        QScrollBar* bar = log_->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        for (std::size_t i = log.lines().size() - take; i < log.lines().size(); ++i) log_->appendPlainText(toQt(log.lines()[i]));
        shownLines_ = log.lineCount();
        // Follows the output unless the operator has scrolled back to read.
        if (atEnd) bar->setValue(bar->maximum());
    }
    takeStatus();
    showState();
}

void ServerPanel::showState() {
    if (!process_ || process_->state() == server::ServerState::NotStarted) return;
    state_->setText(toQt(process_->stateText()));
    stop_->setEnabled(process_->running());
    if (!process_->running()) asker_->stop();
}

void ServerPanel::askStatus() {
    if (!process_ || !process_->running() || !isVisible() || pending_.valid()) return;
    const std::string address = address_;
    const int port = port_;
    pending_ = std::async(std::launch::async, [address, port, this] {
        std::string error;
        auto answer = server::QueryStatus(address, port, kStatusTimeout, error);
        // Read only once the future is ready, by the thread that made it.
        pendingError_ = error;
        return answer;
    });
    if (!asker_->isActive()) asker_->start(kStatusEveryMs);
}

void ServerPanel::takeStatus() {
    if (!pending_.valid() || pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    const std::optional<server::ServerStatus> answer = pending_.get();
    if (answer) {
        lastPlayers_ = static_cast<int>(answer->players.size());
        status_->setText(toQt(StatusText(*answer)));
    } else {
        status_->setText(toQt(pendingError_.empty() ? std::string("No status answer") : pendingError_));
    }
}

void ServerPanel::stopServer() {
    if (!process_ || !process_->running()) return;
    if (lastPlayers_ > 0) {
        const std::string who = lastPlayers_ == 1 ? "1 player is" : std::to_string(lastPlayers_) + " players are";
        const auto answer = editor_.ctx.dialogs.ask(who + " on the server. Stop it anyway?", kProgramName,
                                                    {"Stop the server", "Keep it running"});
        if (!answer || *answer != 0) return;
    }
    process_->requestStop();
    poll();
}

}  // namespace tolvane::ui
