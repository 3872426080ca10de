// START SERVER: the save, the check, then the server itself. A server this editor still watches
// is restarted or left at the operator's word, and a port another program holds stops the start
// before anything runs.
#include "app/Editor.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "server/PortCheck.h"
#include "server/ServerProcess.h"
#include "server/ServerRecord.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::app {

namespace {

// Hosts without .exe programs run the Linux server build, "quake2", when there is no quake2.exe.
#ifdef _WIN32
constexpr const char* kServerProgramMissing = "there is no quake2.exe in";
#else
constexpr const char* kServerProgramMissing = "there is neither quake2.exe nor quake2 in";
#endif

}  // namespace

std::string Editor::ServerProgramName() const {
#ifdef _WIN32
    return "quake2.exe";
#else
    // The launcher runs quake2.exe when the directory holds one, else quake2: name that one.
    return FileExists(ctx.fs, "quake2.exe") || !FileExists(ctx.fs, "quake2") ? "quake2.exe" : "quake2";
#endif
}

bool Editor::ServerProgramPresent() const {
#ifdef _WIN32
    return FileExists(ctx.fs, "quake2.exe");
#else
    return FileExists(ctx.fs, "quake2.exe") || FileExists(ctx.fs, "quake2");
#endif
}

std::string Editor::ServerCommandLine() const {
    // The game directory in the command line is fixed text; it does not follow strModDir.
    return "quake2.exe " + main.CommandLine.text() + " +set game action +set ininame " +
           state.strActionIniFileName + " +set game action +set dedicated " +
           std::to_string(server.Dedicated.value()) + " +exec " + state.strServerCfgFileName;
}

std::string Editor::ServerAddress() const {
    // The engines bind the address their "ip" variable names; the command line is where an
    // operator sets it before the server opens its port.
    const std::vector<std::string> args = platform::SplitCommandLine(main.CommandLine.text());
    std::string address;
    for (std::size_t i = 0; i + 2 < args.size(); ++i)
        if ((args[i] == "+set" || args[i] == "set") && LowerCase(args[i + 1]) == "ip") address = args[i + 2];
    return address;
}

int Editor::ServerPort() const {
    // The Port field holds digits only, within the 16-bit range; an empty one is the default.
    const std::string& text = server.Port.box.text();
    if (text.empty()) return 27910;
    try {
        return std::stoi(text);
    } catch (...) {
        return 27910;
    }
}

std::filesystem::path Editor::ModDirOnDisk() const { return ctx.fs.resolve(state.strModDir); }

bool Editor::SettleRunningServer(const std::string& savedNote) {
    server::ServerProcess& watched = *supervisedServer;
    const std::string process = "process " + std::to_string(watched.processId());
    const auto answer = ctx.dialogs.ask("The server this editor started is still running (" + process + ").\r" +
                                            "Restart it with the saved settings, or leave it running?",
                                        kProgramName, {"Restart", "Leave it running"});
    if (!answer || *answer != 0) {
        SetResult(savedNote + "The server was not started: the one started before is still running (" + process + ")");
        return false;
    }
    // The new server needs the port the old one holds: wait for it to end (it is killed once
    // the grace period has passed), polling as the window's timer would.
    watched.requestStop();
    const auto until = std::chrono::steady_clock::now() + server::ServerProcess::kStopGrace + std::chrono::seconds(2);
    while (watched.running() && std::chrono::steady_clock::now() < until) {
        watched.poll();
        if (watched.running()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!watched.running()) return true;
    ctx.message("Cannot restart the server: " + process + " did not end.");
    SetResult(savedNote + "The server was not started: the one started before (" + process + ") did not end");
    return false;
}

bool Editor::ButtonStart_Click() {
    // The server is started even when a writer failed: each failure has been reported. The
    // status tells both what the save wrote and what was started.
    const DialogSave outcome = SaveThroughDialog([this] { return SaveAndReport(); });
    // Another editor still saving: its files are in flux, so the server is not started either;
    // the message has said why.
    if (outcome == DialogSave::Busy) {
        SetResult("Another save is running: nothing was written and the server was not started");
        return false;
    }
    if (outcome == DialogSave::Cancelled) {
        SetResult("Start cancelled: nothing was written and the server was not started");
        return false;
    }
    const bool saved = outcome == DialogSave::Saved;
    const std::string savedReport = lastResult_;
    const std::string savedNote = savedReport + ". ";
    // The check never stops the save; the operator decides whether to start with its findings.
    if (confirmStartWithFindings) {
        const check::Findings findings = Check();
        if (!findings.empty() && !confirmStartWithFindings(findings)) {
            SetResult(savedNote + "The server was not started: the check found " +
                      std::to_string(findings.size()) + " problem(s)");
            return false;
        }
    }
    // Only the Quake 2 directory's own server is started, never one found elsewhere.
    if (!ServerProgramPresent()) {
        std::error_code ec;
        const auto where = std::filesystem::absolute(ctx.fs.root(), ec).lexically_normal().string();
        const std::string reason = std::string(kServerProgramMissing) + " " + where;
        ctx.message("Cannot start the server: " + reason);
        SetResult(savedNote + "The server was not started: " + reason);
        return false;
    }
    if (supervisedServer && supervisedServer->running() && !SettleRunningServer(savedNote)) return false;
    // A second server on a port already taken would not open it: say so before it runs.
    std::string portProblem;
    if (!server::UdpPortFree(ServerAddress(), ServerPort(), portProblem)) {
        ctx.message("Cannot start the server: " + portProblem);
        SetResult(savedNote + "The server was not started: " + portProblem);
        return false;
    }
    std::string error;
    const std::string commandLine = ServerCommandLine();
    platform::ProcessLauncher::Started started;
    bool ok;
    if (supervisedServer) {
        ok = supervisedServer->start(commandLine, error);
        if (ok) started = {supervisedServer->program().string(), supervisedServer->processId()};
    } else {
        ok = launcher.start(commandLine, platform::WindowMode::Minimised, error);
        if (ok) started = launcher.lastStarted();
        // A server started and let go is recorded, so that --stop can end it later.
        std::string recordError;
        if (ok && started.processId > 0 && !started.program.empty() && !ModDirMissing() &&
            !server::RecordStartedServer(ModDirOnDisk(), started, recordError))
            ctx.message("The server was started, but its process id could not be kept: " + recordError);
    }
    if (!ok) {
        ctx.message("Cannot start the server program " + ServerProgramName() + ": " + error);
        SetResult(savedNote + "The server was not started: " + error);
        return false;
    }
    // What was started comes first, so that a narrow status line still shows it; the save's
    // report follows.
    const std::vector<std::string> args = platform::SplitCommandLine(commandLine);
    std::string text = "Server started";
    if (started.processId > 0) text += " (process " + std::to_string(started.processId) + ")";
    text += ": " + (started.program.empty() ? args.at(0) : started.program);
    for (std::size_t i = 1; i < args.size(); ++i) text += " " + args[i];
    SetResult(text + ". " + savedReport);
    return saved;
}

}  // namespace tolvane::app
