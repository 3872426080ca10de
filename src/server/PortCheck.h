#pragma once
// Whether the game server will be able to open its UDP port, asked before it is started.
#include <string>

namespace tolvane::server {

// Binds a UDP socket to address:port (an empty address means every address, as the server
// binds by default) and lets it go again. False when that fails: another program (most likely
// a server already running) holds the port, or the address is not one of this machine's; the
// reason names the address and the port either way.
bool UdpPortFree(const std::string& address, int port, std::string& reason);

}  // namespace tolvane::server
