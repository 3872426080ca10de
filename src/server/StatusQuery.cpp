#include "server/StatusQuery.h"

#include <cctype>
#include <charconv>
#include <string>

#include "server/Sockets.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <sys/socket.h>
#endif

namespace tolvane::server {

namespace {

constexpr std::string_view kOutOfBand = "\xff\xff\xff\xff";
constexpr std::string_view kPrint = "print\n";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A quoted, shortened copy of received text for an error message.
std::string shown(std::string_view text) {
    std::string s = PlainName(text.substr(0, 40));
    return "\"" + s + (text.size() > 40 ? "...\"" : "\"");
}

// "\key\value\key\value": the pairs in order; a key without a value gets an empty one. In a
// line that was cut short the text after the last backslash may be incomplete: it is dropped,
// and with it a key left without its value.
void readInfo(std::string_view line, bool cut, ServerStatus& status) {
    std::vector<std::string_view> fields;
    std::size_t start = 1;  // after the leading backslash
    while (start <= line.size()) {
        std::size_t end = line.find('\\', start);
        if (end == std::string_view::npos) end = line.size();
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (cut) {
        fields.pop_back();
        if (fields.size() % 2 != 0) fields.pop_back();
    }
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const std::string_view value = i + 1 < fields.size() ? fields[i + 1] : std::string_view();
        if (fields[i].empty() && value.empty()) continue;
        status.info.emplace_back(std::string(fields[i]), std::string(value));
    }
}

bool readNumber(std::string_view& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(p - text.data()));
    return true;
}

// `SCORE PING "NAME"`: the name is everything between the first and the last quote.
std::optional<StatusPlayer> readPlayer(std::string_view line) {
    StatusPlayer player;
    if (!readNumber(line, player.score) || line.empty() || line.front() != ' ') return std::nullopt;
    line.remove_prefix(1);
    if (!readNumber(line, player.ping) || line.size() < 3 || line.substr(0, 2) != " \"") return std::nullopt;
    line.remove_prefix(2);
    const std::size_t close = line.rfind('"');
    if (close == std::string_view::npos) return std::nullopt;
    player.name = std::string(line.substr(0, close));
    return player;
}

}  // namespace

std::optional<std::string> ServerStatus::value(std::string_view key) const {
    for (const auto& [k, v] : info)
        if (equalsIgnoringCase(k, key)) return v;
    return std::nullopt;
}

std::string StatusRequest() { return std::string(kOutOfBand) + "status\n"; }

std::optional<ServerStatus> ParseStatusReply(std::string_view reply, std::string& reason) {
    // Some engines end the datagram with the string's terminating zero.
    while (!reply.empty() && reply.back() == '\0') reply.remove_suffix(1);
    if (reply.size() < kOutOfBand.size() || reply.substr(0, kOutOfBand.size()) != kOutOfBand) {
        reason = "not a connectionless answer (it does not begin with four 0xFF bytes)";
        return std::nullopt;
    }
    reply.remove_prefix(kOutOfBand.size());
    if (reply.substr(0, kPrint.size()) != kPrint) {
        reason = reply.size() < kPrint.size() && kPrint.substr(0, reply.size()) == reply
                     ? "the answer ends before its first line"
                     : "not a status answer: it begins " + shown(reply);
        return std::nullopt;
    }
    reply.remove_prefix(kPrint.size());
    if (reply.empty()) {
        reason = "the answer ends before the server info";
        return std::nullopt;
    }
    if (reply.front() != '\\') {
        reason = "the answer holds no server info: " + shown(reply.substr(0, reply.find('\n')));
        return std::nullopt;
    }

    ServerStatus status;
    const std::size_t infoEnd = reply.find('\n');
    if (infoEnd == std::string_view::npos) {
        readInfo(reply, true, status);
        status.truncated = true;
        status.truncation = "the answer ends inside the server info";
        reply = {};
    } else {
        std::string_view line = reply.substr(0, infoEnd);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        readInfo(line, false, status);
        reply.remove_prefix(infoEnd + 1);
    }
    if (const auto map = status.value("mapname")) status.mapName = *map;

    while (!reply.empty()) {
        const std::size_t end = reply.find('\n');
        if (end == std::string_view::npos) {
            status.truncated = true;
            status.truncation = "the answer ends inside player " + std::to_string(status.players.size() + 1) +
                                "'s line";
            break;
        }
        std::string_view line = reply.substr(0, end);
        reply.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (auto player = readPlayer(line)) status.players.push_back(std::move(*player));
        else status.unreadLines.emplace_back(line);
    }
    return status;
}

std::string PlainName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto low = static_cast<unsigned char>(static_cast<unsigned char>(c) & 0x7F);
        out += low < 0x20 || low == 0x7F ? '.' : static_cast<char>(low);
    }
    return out;
}

std::string DurationText(std::chrono::milliseconds d) {
    const auto ms = d.count();
    if (ms >= 1000 && ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

std::optional<ServerStatus> QueryStatus(const std::string& address, int port, std::chrono::milliseconds timeout,
                                        std::string& error) {
    const std::string host = address.empty() ? "127.0.0.1" : address;
    const std::string where = net::Endpoint(host, port);
    sockaddr_in target{};
    if (!net::ResolveIPv4(host, port, target, error)) return std::nullopt;
    net::UdpSocket socket;
    if (!socket.valid()) {
        error = socket.error();
        return std::nullopt;
    }
    // Connected, so that only the server's own answers arrive, and a port nothing listens on
    // is told at once (as "connection refused") where the system reports it.
    if (::connect(socket.handle(), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        error = "cannot reach " + where + ": " + net::ErrorText(net::LastErrorCode());
        return std::nullopt;
    }
    const std::string request = StatusRequest();
    if (::send(socket.handle(), request.data(), static_cast<int>(request.size()), 0) < 0) {
        error = "cannot send the status query to " + where + ": " + net::ErrorText(net::LastErrorCode());
        return std::nullopt;
    }

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string lastReason;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        // Rounded up, so that the wait never ends before the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
#ifdef _WIN32
        WSAPOLLFD pfd{socket.handle(), POLLRDNORM, 0};
        const int ready = ::WSAPoll(&pfd, 1, static_cast<INT>(left.count()));
#else
        pollfd pfd{socket.handle(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
#endif
        if (ready < 0) {
            const int code = net::LastErrorCode();
#ifndef _WIN32
            if (code == EINTR) continue;
#endif
            error = "cannot wait for an answer from " + where + ": " + net::ErrorText(code);
            return std::nullopt;
        }
        if (ready == 0) break;
        // Larger than any datagram, so that a cut answer is the server's doing.
        std::string buffer(65536, '\0');
        const auto got = ::recv(socket.handle(), buffer.data(), static_cast<int>(buffer.size()), 0);
        if (got < 0) {
            const int code = net::LastErrorCode();
            if (net::IsConnectionRefused(code)) {
                error = "no answer from " + where + ": nothing listens on that port";
                return std::nullopt;
            }
#ifndef _WIN32
            if (code == EINTR || code == EAGAIN) continue;
#endif
            error = "cannot read the answer from " + where + ": " + net::ErrorText(code);
            return std::nullopt;
        }
        buffer.resize(static_cast<std::size_t>(got));
        std::string reason;
        if (auto status = ParseStatusReply(buffer, reason)) return status;
        // Something else from the same address (an answer to an earlier query of another
        // kind): waited past, but named if nothing better comes.
        lastReason = reason;
    }
    error = "no answer from " + where + " within " + DurationText(timeout);
    if (!lastReason.empty()) error += " (it sent something else: " + lastReason + ")";
    return std::nullopt;
}

}  // namespace tolvane::server
