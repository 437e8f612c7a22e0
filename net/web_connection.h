#pragma once
// One client connection of the web server: requests are read and answered one after the other until the
// client closes, asks to close ("Connection: close"), stays silent for 5 seconds, sends something that is not
// a request head, or the server's connection pool lets the connection go to make room for a new client.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/tcp_socket.h"

namespace kestrova {

inline constexpr int32_t kWebConnectionTimeoutSeconds = 5;

// What every connection of one server start serves with: a copy of the server's values, so that a
// connection keeps them after its server is stopped or replaced.
struct WebConnectionSettings {
    int32_t publishedCount = 0;
    std::string password;
    std::wstring frameFolder;
    std::vector<uint8_t> serverDb;  // read once per server start; empty for none
};

class WebConnectionPool;

// Answers the requests that arrive on `socket`, one after the other, until the connection is to end; the
// caller then closes the socket. `pool` hears when each request begins and ends.
void ServeWebConnection(TcpSocket& socket, const WebConnectionSettings& settings, WebConnectionPool& pool);

// Sends all of `data`, each wait for room bounded by `timeoutSeconds`; false when the peer stopped taking
// data or the send failed.
bool SendAll(TcpSocket& socket, const std::string& data, int32_t timeoutSeconds);

}  // namespace kestrova
