#pragma once
// A stand-in game server for the status query tests: a UDP socket on 127.0.0.1 with a port the
// system picks, served by a thread that answers every status request with a fixed datagram
// (or never answers). It stops and joins when it goes out of scope.
#include <atomic>
#include <string>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "server/Sockets.h"

namespace tolvane::test {

class UdpStandIn {
public:
    // answer: sent back as it is for each status request; nothing is sent when silent.
    explicit UdpStandIn(std::string answer, bool silent = false) : answer_(std::move(answer)), silent_(silent) {
        sockaddr_in local{};
        std::string error;
        server::net::ResolveIPv4("127.0.0.1", 1, local, error);
        local.sin_port = 0;
        ok_ = socket_.valid() &&
              ::bind(socket_.handle(), reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
        socklen_t size = sizeof local;
        ok_ = ok_ && ::getsockname(socket_.handle(), reinterpret_cast<sockaddr*>(&local), &size) == 0;
        port_ = ntohs(local.sin_port);
        if (ok_) thread_ = std::thread([this] { serve(); });
    }
    ~UdpStandIn() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    UdpStandIn(const UdpStandIn&) = delete;
    UdpStandIn& operator=(const UdpStandIn&) = delete;

    bool ok() const { return ok_; }
    int port() const { return port_; }
    int requests() const { return requests_; }

private:
    void serve() {
        while (!stop_) {
#ifdef _WIN32
            WSAPOLLFD pfd{socket_.handle(), POLLRDNORM, 0};
            if (::WSAPoll(&pfd, 1, 20) <= 0) continue;
#else
            pollfd pfd{socket_.handle(), POLLIN, 0};
            if (::poll(&pfd, 1, 20) <= 0) continue;
#endif
            char buffer[2048];
            sockaddr_in from{};
            socklen_t size = sizeof from;
            const auto got = ::recvfrom(socket_.handle(), buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
            if (got <= 0) continue;
            if (std::string(buffer, static_cast<std::size_t>(got)) != "\xff\xff\xff\xffstatus\n") continue;
            ++requests_;
            if (silent_) continue;
            ::sendto(socket_.handle(), answer_.data(), static_cast<int>(answer_.size()), 0,
                     reinterpret_cast<const sockaddr*>(&from), size);
        }
    }

    std::string answer_;
    bool silent_;
    server::net::UdpSocket socket_;
    bool ok_ = false;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace tolvane::test
