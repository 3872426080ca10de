#include "server/ServerCommands.h"

#include <algorithm>
#include <iomanip>
#include <system_error>

#include "server/ServerRecord.h"
#include "server/StatusQuery.h"

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {

constexpr auto kStatusTimeout = std::chrono::seconds(1);

void removeRecord(const fs::path& modDir, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    const fs::path p = ServerRecordPath(modDir);
    if (fs::remove(p, ec)) out << "Removed " << p.string() << "\n";
    else if (ec) err << "cannot remove " << p.string() << ": " << ec.message() << "\n";
}

}  // namespace

int PrintServerStatus(const std::string& address, int port, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto status = QueryStatus(address, port, kStatusTimeout, error);
    if (!status) {
        err << error << "\n";
        return 1;
    }
    const std::string host = address.empty() ? "127.0.0.1" : address;
    out << "Server " << host << ":" << port;
    if (const auto name = status->value("hostname")) out << ": " << PlainName(*name);
    out << "\n";
    out << "Map: " << (status->mapName.empty() ? "(none given)" : PlainName(status->mapName)) << "\n";
    out << "Players: " << status->players.size();
    if (const auto max = status->value("maxclients")) out << " of " << PlainName(*max);
    out << "\n";
    if (!status->players.empty()) {
        std::size_t width = 4;
        for (const auto& p : status->players) width = std::max(width, PlainName(p.name).size());
        out << "  " << std::left << std::setw(static_cast<int>(width)) << "Name" << std::right << std::setw(7)
            << "Score" << std::setw(6) << "Ping" << "\n";
        for (const auto& p : status->players)
            out << "  " << std::left << std::setw(static_cast<int>(width)) << PlainName(p.name) << std::right
                << std::setw(7) << p.score << std::setw(6) << p.ping << "\n";
    }
    for (const auto& line : status->unreadLines) out << "  (unread line: " << PlainName(line) << ")\n";
    if (status->truncated) out << "The answer was cut short (" << status->truncation << "): the list may be incomplete\n";
    return 0;
}

int StopRecordedServer(const fs::path& modDir, std::ostream& out, std::ostream& err, std::chrono::milliseconds grace) {
    std::string error;
    const auto record = ReadServerRecord(modDir, error);
    if (!record) {
        if (error.empty()) err << "No server to stop: " << ServerRecordPath(modDir).string() << " does not exist\n";
        else err << "No server to stop: " << error << "\n";
        return 1;
    }
    const std::string id = std::to_string(record->processId);
    std::string detail;
    switch (CheckServerProcess(*record, detail)) {
        case ProcessMatch::Gone:
            err << "No server to stop: " << detail << "\n";
            removeRecord(modDir, out, err);
            return 1;
        case ProcessMatch::Other:
            // The id was given to another program after the server ended: that process is
            // never signalled.
            err << "Not stopped: " << detail << ", not the recorded server " << record->program.string()
                << " (the server has ended and its process id is in use again)\n";
            removeRecord(modDir, out, err);
            return 1;
        case ProcessMatch::Unknown:
            err << "Not stopped: " << detail << "\n";
            return 1;
        case ProcessMatch::Same:
            break;
    }
    out << "Stopping the server " << record->program.string() << " (process " << id << ")\n";
    bool killed = false;
    if (!TerminateProcessAndWait(record->processId, grace, killed, error)) {
        err << "Not stopped: " << error << "\n";
        return 1;
    }
    if (killed) out << "It did not end within " << DurationText(grace) << " of being asked to: killed\n";
    out << "Server process " << id << " has ended\n";
    removeRecord(modDir, out, err);
    return 0;
}

}  // namespace tolvane::server
