#pragma once
// Loopback helpers for the socket tests: a listener on a port the system picks, and a host lookup that knows
// only this machine's own names, so no test asks a name server.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

#include "engine/tcp_socket.h"

namespace kestrova::testing {

inline constexpr uint32_t kLoopback = 0x7F000001;

inline int LocalPort(const TcpSocket& socket) {
    sockaddr_in local{};
    socklen_t size = sizeof(local);
    getsockname(socket.Handle(), reinterpret_cast<sockaddr*>(&local), &size);
    return ntohs(local.sin_port);
}

inline void InstallLoopbackLookup() {
    char own[256] = {};
    gethostname(own, sizeof(own) - 1);
    SetHostLookup([ownName = std::string(own)](const std::string& name) -> uint32_t {
        return name == "localhost" || name == ownName ? kLoopback : 0;
    });
}

// A listening socket on 127.0.0.1 and the port it got.
struct LoopbackListener {
    LoopbackListener() {
        socket.Create();
        listening = socket.Listen(0, "127.0.0.1") == 1;
        port = LocalPort(socket);
    }
    // The server side of the next connection.
    std::unique_ptr<TcpSocket> AcceptOne() {
        TcpSocket* client = nullptr;
        return std::unique_ptr<TcpSocket>(socket.Accept(&client, nullptr) == 1 ? client : nullptr);
    }
    TcpSocket socket;
    bool listening = false;
    int port = 0;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace kestrova::testing
