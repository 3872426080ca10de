#pragma once
// The server commands of the command line, run without the window: a status query of a
// running server, and stopping the server a start has recorded.
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>

namespace tolvane::server {

// Asks address:port (empty: 127.0.0.1) for its status and prints the map, the player count and
// each player's name, score and ping. 1 when no server answers within a second.
int PrintServerStatus(const std::string& address, int port, std::ostream& out, std::ostream& err);

// Stops the server recorded in modDir's tolvane-server.pid: checks that the process still runs
// the recorded program, asks it to end, kills it when it has not within grace, and removes the
// record. Prints what happened. 1 when there is no server to stop or it could not be stopped.
int StopRecordedServer(const std::filesystem::path& modDir, std::ostream& out, std::ostream& err,
                       std::chrono::milliseconds grace = std::chrono::seconds(5));

}  // namespace tolvane::server
