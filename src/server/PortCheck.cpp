#include "server/PortCheck.h"

#include "server/Sockets.h"

#ifndef _WIN32
#include <sys/socket.h>
#endif

namespace tolvane::server {

bool UdpPortFree(const std::string& address, int port, std::string& reason) {
    const std::string where =
        address.empty() ? "UDP port " + std::to_string(port) + " on all addresses" : "UDP " + net::Endpoint(address, port);
    sockaddr_in local{};
    if (!net::ResolveIPv4(address.empty() ? "0.0.0.0" : address, port, local, reason)) {
        reason = "cannot check " + where + ": " + reason;
        return false;
    }
    net::UdpSocket socket;
    if (!socket.valid()) {
        reason = "cannot check " + where + ": " + socket.error();
        return false;
    }
    // No address reuse is asked for (the servers ask none either), so the bind fails whenever
    // another socket holds the port. Windows would otherwise let a bind to all addresses share
    // a port that a socket holds on one of them.
#ifdef _WIN32
    BOOL exclusive = TRUE;
    ::setsockopt(socket.handle(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                 sizeof exclusive);
#endif
    if (::bind(socket.handle(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        const int code = net::LastErrorCode();
        reason = net::IsAddressInUse(code) ? where + " is in use by another program (is a server already running?)"
                                           : "cannot open " + where + ": " + net::ErrorText(code);
        return false;
    }
    reason = where + " is free";
    return true;
}

}  // namespace tolvane::server
