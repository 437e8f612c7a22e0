#include "tests/peers/fakecam/loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace kestrova::testing {

LoopbackListener ListenOnLoopback(const std::string& address, int backlog, const std::string& peer) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 || (ntohl(local.sin_addr.s_addr) >> 24) != 127)
        throw std::invalid_argument(peer + " listens on loopback addresses only");
    LoopbackListener listener;
    listener.socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    setsockopt(listener.socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    socklen_t size = sizeof(local);
    if (listener.socket < 0 || bind(listener.socket, reinterpret_cast<sockaddr*>(&local), size) != 0 ||
        listen(listener.socket, backlog) != 0 ||
        getsockname(listener.socket, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        if (listener.socket >= 0) close(listener.socket);
        throw std::runtime_error(peer + " cannot listen");
    }
    listener.port = ntohs(local.sin_port);
    return listener;
}

}  // namespace kestrova::testing
