#pragma once
// The record of a started game server, tolvane-server.pid in the mod's directory: its process
// id and the program file it runs, so that a later "--stop" (from another editor run) finds it
// and can tell whether that process is still the server or a new process that got its id.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Process.h"

namespace tolvane::server {

struct ServerRecord {
    long long processId = 0;
    std::filesystem::path program;
};

std::filesystem::path ServerRecordPath(const std::filesystem::path& modDir);
std::filesystem::path ServerLogPath(const std::filesystem::path& modDir);

// Writes the record ("PID\nPROGRAM\n") under a temporary name and renames it into place.
bool WriteServerRecord(const std::filesystem::path& modDir, const ServerRecord& record, std::string& error);

// For the detached start: records what the launcher has just started.
bool RecordStartedServer(const std::filesystem::path& modDir, const platform::ProcessLauncher::Started& started,
                         std::string& error);

// The record, or nothing: with an empty error when there is no record, with the reason when it
// cannot be read.
std::optional<ServerRecord> ReadServerRecord(const std::filesystem::path& modDir, std::string& error);

// Removes the record if it is still the one of processId (a later start may have replaced
// it). False with the reason only when removing failed.
bool RemoveServerRecord(const std::filesystem::path& modDir, long long processId, std::string& error);

enum class ProcessMatch {
    Same,     // the process runs the recorded program
    Other,    // the id now belongs to another program
    Gone,     // no such process (or one that has ended and waits to be reaped)
    Unknown,  // the system does not tell (another user's process, no way to ask)
};
// Whether the recorded process still runs the recorded program; detail says what was found.
ProcessMatch CheckServerProcess(const ServerRecord& record, std::string& detail);

// Whether the process is there and has not ended.
bool ProcessAlive(long long processId);

// Asks the process to end (SIGTERM; on Windows, where a console program has no such request,
// it is terminated), waits up to grace for it, then kills it (SIGKILL) and waits up to as long
// again. False with the reason when it could not be signalled or did not end.
// killed is set when the kill was needed. This blocks: it is for the command line.
bool TerminateProcessAndWait(long long processId, std::chrono::milliseconds grace, bool& killed,
                             std::string& error);

}  // namespace tolvane::server
