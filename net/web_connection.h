#pragma once
// One client connection of the web server: requests are read and answered one after the other until the
// client closes, stays silent for 5 seconds, or sends something that is not a request head.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/tcp_socket.h"

namespace kestrova {

inline constexpr int32_t kWebConnectionTimeoutSeconds = 5;

// What the listener hands to a connection: a copy of the values of the server that accepted it, so that the
// connection keeps them after that server is stopped or replaced.
struct WebConnection {
    std::unique_ptr<TcpSocket> socket;
    int32_t publishedCount = 0;
    std::string password;
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    std::wstring frameFolder;
};

// Serves the connection to its end, then shuts the socket down and closes it.
void ServeWebConnection(WebConnection& connection);

// Sends all of `data`, each wait for room bounded by `timeoutSeconds`; false when the peer stopped taking
// data or the send failed.
bool SendAll(TcpSocket& socket, const std::string& data, int32_t timeoutSeconds);

}  // namespace kestrova
