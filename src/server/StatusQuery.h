#pragma once
// Asking a running Quake 2 server how it is: the connectionless "status" query over UDP.
//
// The request is four 0xFF bytes and "status\n". The engines answer four 0xFF bytes, "print\n",
// the server info as one line "\key\value\key\value..." (hostname, mapname, maxclients and
// every other server info variable), then one line per player: `SCORE PING "NAME"`.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvane::server {

constexpr int kDefaultServerPort = 27910;

struct StatusPlayer {
    int score = 0;
    int ping = 0;
    std::string name;
};

struct ServerStatus {
    // The server info pairs in the order the server sent them.
    std::vector<std::pair<std::string, std::string>> info;
    std::string mapName;
    std::vector<StatusPlayer> players;
    // The answer ended in the middle of a line: what came before it is kept, the cut line is
    // not. truncation says where it was cut.
    bool truncated = false;
    std::string truncation;
    // Player lines that do not read as `SCORE PING "NAME"`, kept as received.
    std::vector<std::string> unreadLines;

    // The value of a server info key (its case ignored), nothing when the server sent none.
    std::optional<std::string> value(std::string_view key) const;
};

// Reads a status answer as received (the four 0xFF bytes included). Nothing, with the reason
// in `reason`, when it is not a status answer at all.
std::optional<ServerStatus> ParseStatusReply(std::string_view reply, std::string& reason);

// The request datagram.
std::string StatusRequest();

// Sends the status query to address:port (an empty address asks 127.0.0.1) and waits up to
// timeout for the answer. Nothing, with an error naming the address and port, when no status
// answer came in time.
std::optional<ServerStatus> QueryStatus(const std::string& address, int port, std::chrono::milliseconds timeout,
                                        std::string& error);

// A name as the game's font shows it: the high bit (the coloured half of the font) dropped and
// control characters as '.'.
std::string PlainName(std::string_view name);

// "1 s", "250 ms": a duration as error messages give it.
std::string DurationText(std::chrono::milliseconds d);

}  // namespace tolvane::server
