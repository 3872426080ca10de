// The main window on generated installs of 100,000 and 200,000 maps and on the demo. Each run
// starts a fresh process of its own and prints, as medians, the time from the launch to the
// first painted main window beside a bare Qt window's, the core start-up inside it, and the
// time of four actions: the tab switch to Maps, adding a map to the rotation, the check (to its
// window painted) and the save (from the save dialog's OK to the status line painted).
//
//   window_bench [RUNS] [--keep]
//
// Run it on a display (xvfb-run for one without a desktop); QT_QPA_PLATFORM=offscreen measures
// drawing into memory only. --keep leaves the generated installs for the next run.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "ChildOutput.h"
#include "GeneratedInstall.h"
#include "ui/GuiSession.h"
#include "ui/StatusLine.h"

namespace {

namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// The parent's clock reading at the launch, handed down in the environment (the steady clock is
// the system's monotonic clock, the same in every process).
Clock::time_point LaunchTime() {
    const char* ns = std::getenv("TOLVANE_BENCH_LAUNCH_NS");
    return Clock::time_point(std::chrono::nanoseconds(ns ? std::atoll(ns) : 0));
}

// Calls `then` once, after the first paint of `window` has been drawn and flushed.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, std::function<void()> then) : window_(window), then_(std::move(then)) {
        window_->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint && then_) {
            auto then = std::move(then_);
            then_ = nullptr;
            QTimer::singleShot(0, window_, then);
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> then_;
};

// Runs `act` in the next dialog the program opens once it is painted (the check window, the
// save dialog), from that dialog's event loop.
class NextDialog : public QObject {
public:
    explicit NextDialog(std::function<void(QDialog*)> act) : act_(std::move(act)) { qApp->installEventFilter(this); }
    ~NextDialog() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && event->type() == QEvent::Paint && act_) {
            auto act = std::move(act_);
            act_ = nullptr;
            QTimer::singleShot(0, dialog, [act, dialog] { act(dialog); });
        }
        return false;
    }

private:
    std::function<void(QDialog*)> act_;
};

// Lets every posted event run: layouts, then the paints they ask for.
void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

int BareWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(1000, 700);
    FirstPaint painted(&window, [&] {
        std::printf("first-paint %.2f\n", MsSince(LaunchTime()));
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}

// The program's own window on `dir`, then the four actions one after the other.
int MainWindowRun(int argc, char** argv, const std::string& dir) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tolvane::ui::GuiSession session(dir);
    tolvane::app::Editor& editor = session.editor();
    tolvane::ui::MainWindow& window = session.window();
    FirstPaint painted(&window, [&] {
        std::printf("first-paint %.2f\n", MsSince(LaunchTime()));
        std::printf("core-start-up %.2f\n",
                    std::chrono::duration<double, std::milli>(session.startUpTime()).count());
        std::printf("available-maps %d\n", editor.mapFields.MapDir.rowCount());

        QTabWidget* tabs = window.tabs();
        const int mapsTab = tabs->indexOf(window.findChild<QWidget*>(QStringLiteral("Maps")));
        auto t = Clock::now();
        tabs->setCurrentIndex(mapsTab);
        Settle();
        std::printf("tab-to-maps %.2f\n", MsSince(t));

        editor.mapFields.MapDir.setCurrentRow(editor.mapFields.MapDir.rowCount() / 2);
        Settle();
        auto* add = window.findChild<QPushButton*>(QStringLiteral("ButtonAdd"));
        t = Clock::now();
        add->click();
        Settle();
        std::printf("add-map %.2f\n", MsSince(t));

        {
            t = Clock::now();
            NextDialog close([&](QDialog* d) {
                std::printf("check %.2f\n", MsSince(t));
                d->reject();
            });
            window.findChild<QPushButton*>(QStringLiteral("ButtonCheck"))->click();
        }
        Settle();

        {
            Clock::time_point ok;
            NextDialog confirm([&](QDialog*) {
                ok = Clock::now();
                editor.frmSave.ButtonSave.click();
            });
            window.findChild<QPushButton*>(QStringLiteral("ButtonSave"))->click();
            Settle();
            std::printf("save %.2f\n", MsSince(ok));
        }
        std::printf("result %s\n", editor.lastResult().c_str());
        QCoreApplication::exit(0);
    });
    session.start();
    return QApplication::exec();
}

// One fresh process: this program again, in the given mode; its figures come back on a pipe as
// "name value" lines.
std::map<std::string, std::string> RunChild(const char* self, const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0) std::exit(1);
    const auto launch = Clock::now().time_since_epoch();
    const std::string ns = std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(launch).count());
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        ::setenv("TOLVANE_BENCH_LAUNCH_NS", ns.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(self)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(self, argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    const std::string text = tolvane::bench::ReadToEnd(fds[0]);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "window_bench: the child run failed:\n%s\n", text.c_str());
        std::exit(1);
    }
    std::map<std::string, std::string> figures;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) figures[line.substr(0, space)] = line.substr(space + 1);
        at = end + 1;
    }
    return figures;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--bare") return BareWindow(argc, argv);
    if (argc > 2 && std::string(argv[1]) == "--window") return MainWindowRun(argc, argv, argv[2]);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
    const char* self = argv[0];
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform: %s; medians of %d runs, each in a fresh process\n", platform ? platform : "(default)", runs);
    std::printf("%-10s %-9s %-11s %-11s %-11s %-9s %-9s %-9s %-9s\n", "install", "maps", "bare (ms)", "window (ms)",
                "core (ms)", "tab (ms)", "add (ms)", "check(ms)", "save (ms)");

    struct Target {
        std::string label;
        stdfs::path root;
        int scale;  // 0: the demo
    };
    const stdfs::path temp = stdfs::temp_directory_path();
    const std::vector<Target> targets{{"demo", temp / "tolvane-window-bench-demo", 0},
                                      {"100,000", temp / "tolvane-window-bench-1", 1},
                                      {"200,000", temp / "tolvane-window-bench-2", 2}};
    for (const Target& target : targets) {
        if (target.scale == 0) {
            stdfs::remove_all(target.root);
            stdfs::copy(stdfs::path(TOLVANE_SOURCE_DIR) / "demo/quake2", target.root, stdfs::copy_options::recursive);
        } else {
            const bool reuse = keep && stdfs::exists(target.root / "generated");
            if (!reuse) {
                stdfs::remove_all(target.root);
                tolvane::bench::Generate(target.root, target.scale, true);
                tolvane::bench::Write(target.root / "generated", "");
            }
        }
        std::map<std::string, std::vector<double>> figures;
        std::string maps, result;
        for (int r = 0; r < runs; ++r) {
            figures["bare"].push_back(std::stod(RunChild(self, {"--bare"})["first-paint"]));
            auto run = RunChild(self, {"--window", target.root.string()});
            for (const char* name : {"first-paint", "core-start-up", "tab-to-maps", "add-map", "check", "save"})
                figures[name].push_back(std::stod(run[name]));
            maps = run["available-maps"];
            result = run["result"];
        }
        std::printf("%-10s %-9s %-11.1f %-11.1f %-11.1f %-9.1f %-9.1f %-9.1f %-9.1f\n", target.label.c_str(), maps.c_str(),
                    Median(figures["bare"]), Median(figures["first-paint"]), Median(figures["core-start-up"]),
                    Median(figures["tab-to-maps"]), Median(figures["add-map"]), Median(figures["check"]),
                    Median(figures["save"]));
        std::printf("    the save said: %s\n", result.c_str());
        if (!keep || target.scale == 0) stdfs::remove_all(target.root);
    }
    std::printf("(window: launch to the main window's first paint; core: the directory's reading inside it; the\n"
                " actions run one after the other in that window, each until its paint is done)\n");
    return 0;
}
