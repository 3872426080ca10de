#include "server/Sockets.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tolvane::server::net {

namespace {
#ifdef _WIN32
// Winsock is started once for the whole program and left running until it exits.
bool startWinsock(std::string& error) {
    static const int rc = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (rc != 0) error = "cannot start Windows sockets: " + ErrorText(rc);
    return rc == 0;
}
#endif
}  // namespace

UdpSocket::UdpSocket() {
#ifdef _WIN32
    handle_ = INVALID_SOCKET;
    if (!startWinsock(error_)) return;
    handle_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (handle_ == INVALID_SOCKET) error_ = "cannot open a UDP socket: " + ErrorText(LastErrorCode());
#else
    handle_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (handle_ < 0) error_ = "cannot open a UDP socket: " + ErrorText(LastErrorCode());
#endif
}

UdpSocket::~UdpSocket() {
    if (!valid()) return;
#ifdef _WIN32
    ::closesocket(handle_);
#else
    ::close(handle_);
#endif
}

bool UdpSocket::valid() const {
#ifdef _WIN32
    return handle_ != INVALID_SOCKET;
#else
    return handle_ >= 0;
#endif
}

int LastErrorCode() {
#ifdef _WIN32
    return WSAGetLastError();
#else
    return errno;
#endif
}

std::string ErrorText(int code) {
#ifdef _WIN32
    return std::system_category().message(code);
#else
    return std::generic_category().message(code);
#endif
}

bool IsAddressInUse(int code) {
#ifdef _WIN32
    return code == WSAEADDRINUSE || code == WSAEACCES;
#else
    return code == EADDRINUSE;
#endif
}

bool IsConnectionRefused(int code) {
#ifdef _WIN32
    return code == WSAECONNRESET || code == WSAECONNREFUSED;
#else
    return code == ECONNREFUSED;
#endif
}

bool ResolveIPv4(const std::string& address, int port, sockaddr_in& out, std::string& error) {
    if (port < 1 || port > 65535) {
        error = "port " + std::to_string(port) + " is not a UDP port (1 to 65535)";
        return false;
    }
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<unsigned short>(port));
    if (::inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1) return true;
#ifdef _WIN32
    std::string ignored;
    if (!startWinsock(ignored)) {
        error = ignored;
        return false;
    }
#endif
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(address.c_str(), nullptr, &hints, &found);
    if (rc != 0 || !found) {
#ifdef _WIN32
        error = "cannot find the address of " + address + ": " + ErrorText(rc);
#else
        error = "cannot find the address of " + address + ": " + ::gai_strerror(rc);
#endif
        if (found) ::freeaddrinfo(found);
        return false;
    }
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

std::string Endpoint(const std::string& address, int port) { return address + ":" + std::to_string(port); }

}  // namespace tolvane::server::net
