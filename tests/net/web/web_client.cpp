#include "tests/net/web/web_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace kestrova::webtest {
namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

using Steady = std::chrono::steady_clock;

int MsLeft(Steady::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    return left < 0 ? 0 : int(left);
}

}  // namespace

int FreeLoopbackPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string Curl(const std::string& arguments) {
    return RunCommand("curl --silent --noproxy '*' --max-time 10 " + arguments);
}

RawClient::RawClient(int port, bool smallReceiveBuffer) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (smallReceiveBuffer) {
        int size = 4096;
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    sockaddr_in address = Loopback(port);
    if (fd_ >= 0 && connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

RawClient::~RawClient() {
    if (fd_ >= 0) close(fd_);
}

bool RawClient::Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
}

std::string RawClient::ReadReply(int timeoutMs) {
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    std::string reply;
    for (;;) {
        size_t headEnd = reply.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            size_t at = reply.find("Content-Length: ");
            if (at != std::string::npos && at < headEnd) {
                size_t length = std::strtoul(reply.c_str() + at + 16, nullptr, 10);
                if (reply.size() >= headEnd + 4 + length) return reply;
            }
        }
        pollfd entry{fd_, POLLIN, 0};
        if (poll(&entry, 1, MsLeft(deadline)) <= 0) return {};
        char buffer[65536];
        ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) return {};
        reply.append(buffer, size_t(n));
    }
}

bool RawClient::ClosedWithoutReply(int timeoutMs) {
    return DrainUntilClosed(timeoutMs) == 0;
}

bool RawClient::AwaitData(int timeoutMs) {
    pollfd entry{fd_, POLLIN, 0};
    return poll(&entry, 1, timeoutMs) == 1;
}

long RawClient::DrainUntilClosed(int timeoutMs) {
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    long total = 0;
    for (;;) {
        pollfd entry{fd_, POLLIN, 0};
        if (poll(&entry, 1, MsLeft(deadline)) <= 0) return -1;
        char buffer[65536];
        ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n == 0) return total;
        if (n < 0) return errno == ECONNRESET ? total : -1;
        total += n;
    }
}

}  // namespace kestrova::webtest
