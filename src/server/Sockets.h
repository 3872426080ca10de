#pragma once
// The little of the socket interfaces the status query and the port check need, the same on
// POSIX systems and on Windows (Winsock).
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#endif

namespace tolvane::server::net {

#ifdef _WIN32
using SocketHandle = SOCKET;
#else
using SocketHandle = int;
#endif

// An IPv4 UDP socket, closed with the object. valid() is false when it could not be made
// (error() says why).
class UdpSocket {
public:
    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool valid() const;
    SocketHandle handle() const { return handle_; }
    const std::string& error() const { return error_; }

private:
    SocketHandle handle_;
    std::string error_;
};

// The last socket call's failure, as a code and as text.
int LastErrorCode();
std::string ErrorText(int code);
bool IsAddressInUse(int code);
bool IsConnectionRefused(int code);

// "a.b.c.d" or a host name, as an IPv4 address with the port; false with the reason when the
// name does not resolve. The game servers listen on IPv4.
bool ResolveIPv4(const std::string& address, int port, sockaddr_in& out, std::string& error);

// "127.0.0.1:27910"
std::string Endpoint(const std::string& address, int port);

}  // namespace tolvane::server::net
